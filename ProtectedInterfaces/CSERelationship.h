/// \file
/// CSERelationship: the record of one parent-child use in an assembly ("relationship"), and its vectors.
#ifndef CSERELATIONSHIP_H
#define CSERELATIONSHIP_H

#include "CSEAttribute.h"
#include "CSEObjectInfo.h"
#include "CSERecordVector.h"
#include "CSEString.h"
#include "DVKListVal.h"

/// userText1 and userText2 are free texts for the caller's own use; no command reads or writes them.
class CSERelationship
{
public:
    CSERelationship();
    CSERelationship(const CSERelationship& other);
    CSERelationship& operator=(const CSERelationship& other);
    virtual ~CSERelationship();

    /// Every field: texts exactly, attributes and both object records by value.
    bool operator==(const CSERelationship& other) const;
    bool operator!=(const CSERelationship& other) const;

    CSEString userText1;
    CSEAttributeVector attributes;
    CSEString cadRelationship;
    CSEString rid;
    CSEString structureView;
    CSEString parentFullPath;
    CSEString childFullPath;
    CSEString parentCadId;
    CSEString childCadId;
    CSEString topNode{u"dpt"};
    CSEString modificationStatus;
    CSEString relativeXform;
    CSEString componentId;
    CSEString newTransform;
    CSEString renamedFrom;
    CSEString qxId;
    CSEString childName;
    CSEObjectInfo parent;
    CSEObjectInfo child;
    CSEString newComponentId;
    CSEString uuid;
    int quantity = 1;
    CSEString userText2;
};

class CSERelationshipVector : public CSERecordVector<CSERelationship>
{
};

class DVKListValCSERelationship : public DVKListVal<CSERelationship>
{
};

#endif
