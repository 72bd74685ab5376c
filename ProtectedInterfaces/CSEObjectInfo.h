/// \file
/// CSEObjectInfo: the record of one CAD file or design object ("cadobject"), and its vectors.
#ifndef CSEOBJECTINFO_H
#define CSEOBJECTINFO_H

#include "CSEAttribute.h"
#include "CSERecordVector.h"
#include "CSEString.h"
#include "DVKListPtrCSEString.h"
#include "DVKListVal.h"

/// The userText fields are free texts for the caller's own use; no command reads or writes them
/// (userText1 and userText2 carry user name and password for "loginEx").
/// The three string lists own their strings: append heap strings (new CSEString); the record deletes
/// them and copies them deeply.
class CSEObjectInfo
{
public:
    CSEObjectInfo();
    /// Copies every field; the string lists deeply.
    CSEObjectInfo(const CSEObjectInfo& other);
    /// Copies every field, the string lists deeply; returns this record.
    CSEObjectInfo& operator=(const CSEObjectInfo& other);
    virtual ~CSEObjectInfo();

    /// Every field: texts exactly, string lists by their texts, attribute vectors by value.
    bool operator==(const CSEObjectInfo& other) const;
    /// True when any field differs (see operator==).
    bool operator!=(const CSEObjectInfo& other) const;

    CSEString userText1;  ///< Caller's text (the user name for "loginEx").
    CSEString userText2;  ///< Caller's text (the password for "loginEx").
    CSEString userText3;  ///< Caller's text; no command reads or writes it.
    CSEString userText4;  ///< Caller's text; no command reads or writes it.
    CSEString userText5;  ///< Caller's text; no command reads or writes it.
    CSEString userText6;  ///< Caller's text; no command reads or writes it.
    CSEString fileName;  ///< "filename": the file's name, without folder (formats joined by "|").
    CSEString dirName;  ///< "dirname": the folder of the file.
    CSEString name;  ///< "name": the design name.
    CSEString cadId;  ///< "cadid": the object's identifier within a request.
    CSEString type;  ///< "type": the CAD type ("assembly", "part", "drawing", ...).
    CSEString tool{u"designtool"};  ///< "tool": the tool that made the object.
    CSEString renamedFrom;  ///< "renamedfrom": the earlier name of a renamed object.
    CSEString userText7;  ///< Caller's text; no command reads or writes it.
    CSEString fullFileName;  ///< "filenamewithpath": folder and file name.
    int formatCount = 0;  ///< The number of file formats of the design.
    CSEString familyName;  ///< "familyname": the family of a family member.
    CSEString userText8;  ///< Caller's text; no command reads or writes it.
    CSEString familyId;  ///< The identifier of its family.
    CSEString modified{u"false"};  ///< "modified": "true" when changed in the session.
    DVKListPtrCSEString modifiedCadAttributes;  ///< Names of the CAD attributes changed in the session (owned).
    int hasRenamedChild = 0;  ///< 1 when a child was renamed.
    CSEString selected;  ///< "selected": "true" for an object chosen (a top-level object in answers).
    CSEString selectable{u"true"};  ///< "selectable": whether the user may choose it.
    CSEString load;  ///< "load": whether the host loads it.
    CSEString lock;  ///< "lock": "true" to lock it, or its lock state.
    CSEString isPrevLocked;  ///< Whether it was locked before the command.
    CSEString selDepDoc;  ///< "seldepdoc": a dependent document selected with it.
    CSEString manualSelDepDoc;  ///< "manualseldepdoc": a dependent document the user selected.
    CSEString parentId;  ///< "parentid": the cadid of its parent.
    CSEString detailBusType;  ///< Server type of its detail object.
    CSEString detailBusName;  ///< Name of its detail object.
    CSEString detailBusRevision;  ///< Revision of its detail object.
    CSEString parentFullPath;  ///< Full file name of its parent.
    CSEString parentFileName;  ///< File name of its parent.
    CSEString designStatus;  ///< "designstatus": "new", "checkedin", ...
    CSEString qxVersion;  ///< "qxversion": the stored version number.
    CSEString busType;  ///< "qxtype" (or "bustype"): the server type.
    CSEString busName;  ///< "busname": the name on the server.
    CSEString downloadedPath;  ///< Where its file was downloaded.
    CSEString modificationStatus;  ///< "modificationstatus" of the object.
    CSEString design;  ///< "design": the design it belongs to.
    CSEString versionText;  ///< The version as shown to the user.
    CSEString clonedFrom;  ///< The object it was copied from.
    CSEString busRevision;  ///< "busrevision": the revision on the server.
    CSEString success;  ///< "success": outcome for this object.
    CSEString message;  ///< "message": the server's message for this object.
    CSEString expandAll;  ///< "expandall": whether all levels below are taken.
    CSEString expandLevel;  ///< "expandlevel": how many levels below are taken.
    CSEString typeList;  ///< "typelist": the CAD types it may have.
    CSEAttributeVector attributes;  ///< Its "attribute" name/value pairs.
    CSEAttributeVector attributes2;  ///< Further attribute pairs (the answer's, where a command keeps both).
    int isTopLevel = 0;  ///< 1 for a top-level object of the answer.
    CSEString localCheckout;  ///< Whether it was checked out locally.
    CSEString modificationStatus2;  ///< "modificationstatus" as the checkout answer gives it.
    CSEString qxTypeInStructure;  ///< Server type as placed in the structure.
    CSEString renameTo;  ///< "renameto": its new name.
    DVKListPtrCSEString parentCadIds;  ///< cadids of its parents (owned).
    DVKListPtrCSEString ownerCadIds;  ///< cadids of its owners (owned).
    CSEString isLocked;  ///< Whether it is locked.
    CSEString locker;  ///< The user who holds the lock.
    CSEString userText9;  ///< Caller's text; no command reads or writes it.
    CSEString checkinAccess;  ///< Whether the user may check it in.
    CSEString userText10;  ///< Caller's text; no command reads or writes it.
    CSEString uuid;  ///< "uuid": its universal identifier.

private:
    void CopyFields(const CSEObjectInfo& other);
};

class CSEObjectInfoVector : public CSERecordVector<CSEObjectInfo>
{
};

class DVKListValCSEObjectInfo : public DVKListVal<CSEObjectInfo>
{
};

#endif
