/// \file
/// CUserExit: the site's own user-exit library, loaded once per process from the installation
/// folder, and one hook per event that the plug-in reports to it.
#ifndef CUSEREXIT_H
#define CUSEREXIT_H

#include "CSEString.h"
#include "cad_part_struct.h"

/// Every hook returns 0 to go on and -1 to stop: the site's entry point refused (where its answer
/// counts), is missing, or failed. A message that the site hands back is put into message and
/// shown to the user.
class CUserExit
{
public:
    /// The instance, loading "UserExits.so" and calling its "Init" on the first call; null (after
    /// telling the user) while the installation folder or the library file is missing. A library
    /// that does not load, or that another user could replace (it or a folder above it owned by
    /// someone other than the user or root, or writable by group or others), leaves an instance
    /// whose hooks all answer -1.
    static CUserExit* GetInstance();

    /// Shares the loaded library with other.
    CUserExit(const CUserExit&) = default;
    /// Shares the loaded library with other; returns this instance.
    CUserExit& operator=(const CUserExit&) = default;
    virtual ~CUserExit();

    /// \name Hooks without a part record
    /// Each calls the site's entry point of its event ("UE_" + the hook's name): 0 to go on, -1 to
    /// stop; a missing or failed entry point puts its message into message (ConnectPre,
    /// CheckinDialogPre) or shows it (ConnectPost, whose answer is not used).
    ///@{
    /// Calls the site's "UE_ConnectPre"; returns 0 to go on, -1 to stop.
    int ConnectPre(CSEString& message);
    /// Calls the site's "UE_ConnectPost"; returns 0 to go on, -1 to stop.
    int ConnectPost();
    /// Calls the site's "UE_CheckinDialogPre"; returns 0 to go on, -1 to stop.
    int CheckinDialogPre(CSEString& message);
    ///@}

    /// \name Hooks with a part record
    /// Each calls the site's entry point of its event ("UE_" + the hook's name) with a copy of the
    /// part record: 0 to go on, -1 to stop; the answers of the Post hooks and of OpenPartPre are not
    /// used.
    ///@{
    /// Calls the site's "UE_CheckinFileUploadStart"; returns 0 to go on, -1 to stop.
    int CheckinFileUploadStart(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_CheckinPartCreatePre"; returns 0 to go on, -1 to stop.
    int CheckinPartCreatePre(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_CheckinPartPost"; returns 0 to go on, -1 to stop.
    int CheckinPartPost(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_CheckoutPartPre"; returns 0 to go on, -1 to stop.
    int CheckoutPartPre(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_CheckoutPartPost"; returns 0 to go on, -1 to stop.
    int CheckoutPartPost(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_OpenPartPre" with text; returns 0 to go on, -1 to stop.
    int OpenPartPre(cad_part_struct part, char* text, CSEString& message);
    /// Calls the site's "UE_OpenPartPost"; returns 0 to go on, -1 to stop.
    int OpenPartPost(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_ModifyLockPartPre" with value; returns 0 to go on, -1 to stop.
    int ModifyLockPartPre(cad_part_struct part, int value, CSEString& message);
    /// Calls the site's "UE_ModifyLockPartPost" with value; returns 0 to go on, -1 to stop.
    int ModifyLockPartPost(cad_part_struct part, int value, CSEString& message);
    /// Calls the site's "UE_UpdateAttributesInLedgraPre"; returns 0 to go on, -1 to stop.
    int UpdateAttributesInLedgraPre(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_UpdateAttributesInLedgraPost"; returns 0 to go on, -1 to stop.
    int UpdateAttributesInLedgraPost(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_UpdateAttributesInCadPre"; returns 0 to go on, -1 to stop.
    int UpdateAttributesInCadPre(cad_part_struct part, CSEString& message);
    /// Calls the site's "UE_UpdateAttributesInCadPost"; returns 0 to go on, -1 to stop.
    int UpdateAttributesInCadPost(cad_part_struct part, CSEString& message);
    ///@}

    /// out := the message of that number with "%s" replaced by text, and a line end; shown.
    void FormatErrorMsgString(cad_part_struct part, unsigned int number, const CSEString& text,
                              CSEString& out);
    /// Appends a line with the part's server type, file name and server version to out.
    void FormatErrorMsgStringForPartInfo(cad_part_struct part, CSEString& out);

private:
    CUserExit();
    unsigned char Initialize();

    void* m_hUserExitLib;  ///< null when the library could not be loaded
};

#endif
