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
    CSEObjectInfo(const CSEObjectInfo& other);
    CSEObjectInfo& operator=(const CSEObjectInfo& other);
    virtual ~CSEObjectInfo();

    /// Every field: texts exactly, string lists by their texts, attribute vectors by value.
    bool operator==(const CSEObjectInfo& other) const;
    bool operator!=(const CSEObjectInfo& other) const;

    CSEString userText1;
    CSEString userText2;
    CSEString userText3;
    CSEString userText4;
    CSEString userText5;
    CSEString userText6;
    CSEString fileName;
    CSEString dirName;
    CSEString name;
    CSEString cadId;
    CSEString type;
    CSEString tool{u"designtool"};
    CSEString renamedFrom;
    CSEString userText7;
    CSEString fullFileName;
    int formatCount = 0;
    CSEString familyName;
    CSEString userText8;
    CSEString familyId;
    CSEString modified{u"false"};
    DVKListPtrCSEString modifiedCadAttributes;
    int hasRenamedChild = 0;
    CSEString selected;
    CSEString selectable{u"true"};
    CSEString load;
    CSEString lock;
    CSEString isPrevLocked;
    CSEString selDepDoc;
    CSEString manualSelDepDoc;
    CSEString parentId;
    CSEString detailBusType;
    CSEString detailBusName;
    CSEString detailBusRevision;
    CSEString parentFullPath;
    CSEString parentFileName;
    CSEString designStatus;
    CSEString qxVersion;
    CSEString busType;
    CSEString busName;
    CSEString downloadedPath;
    CSEString modificationStatus;
    CSEString design;
    CSEString versionText;
    CSEString clonedFrom;
    CSEString busRevision;
    CSEString success;
    CSEString message;
    CSEString expandAll;
    CSEString expandLevel;
    CSEString typeList;
    CSEAttributeVector attributes;
    CSEAttributeVector attributes2;
    int isTopLevel = 0;
    CSEString localCheckout;
    CSEString modificationStatus2;
    CSEString qxTypeInStructure;
    CSEString renameTo;
    DVKListPtrCSEString parentCadIds;
    DVKListPtrCSEString ownerCadIds;
    CSEString isLocked;
    CSEString locker;
    CSEString userText9;
    CSEString checkinAccess;
    CSEString userText10;
    CSEString uuid;

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
