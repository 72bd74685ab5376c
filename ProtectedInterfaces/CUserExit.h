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

    CUserExit(const CUserExit&) = default;
    CUserExit& operator=(const CUserExit&) = default;
    virtual ~CUserExit();

    /// Without a part record: a missing or failed entry point puts its message into message
    /// (ConnectPre, CheckinDialogPre) or shows it (ConnectPost, whose answer is not used).
    int ConnectPre(CSEString& message);
    int ConnectPost();
    int CheckinDialogPre(CSEString& message);

    /// With a copy of the part record. The answers of the Post hooks and of OpenPartPre are not
    /// used.
    int CheckinFileUploadStart(cad_part_struct part, CSEString& message);
    int CheckinPartCreatePre(cad_part_struct part, CSEString& message);
    int CheckinPartPost(cad_part_struct part, CSEString& message);
    int CheckoutPartPre(cad_part_struct part, CSEString& message);
    int CheckoutPartPost(cad_part_struct part, CSEString& message);
    int OpenPartPre(cad_part_struct part, char* text, CSEString& message);
    int OpenPartPost(cad_part_struct part, CSEString& message);
    int ModifyLockPartPre(cad_part_struct part, int value, CSEString& message);
    int ModifyLockPartPost(cad_part_struct part, int value, CSEString& message);
    int UpdateAttributesInLedgraPre(cad_part_struct part, CSEString& message);
    int UpdateAttributesInLedgraPost(cad_part_struct part, CSEString& message);
    int UpdateAttributesInCadPre(cad_part_struct part, CSEString& message);
    int UpdateAttributesInCadPost(cad_part_struct part, CSEString& message);

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
