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
    /// Copies every field.
    CSERelationship(const CSERelationship& other);
    /// Copies every field; returns this record.
    CSERelationship& operator=(const CSERelationship& other);
    virtual ~CSERelationship();

    /// Every field: texts exactly, attributes and both object records by value.
    bool operator==(const CSERelationship& other) const;
    /// True when any field differs (see operator==).
    bool operator!=(const CSERelationship& other) const;

    CSEString userText1;  ///< Caller's text; no command reads or writes it.
    CSEAttributeVector attributes;  ///< Its "attribute" name/value pairs (e.g. "componentID").
    CSEString cadRelationship;  ///< "cadrelationship": the kind of use ("assembly", ...).
    CSEString rid;  ///< "rid": the relationship's identifier within a request.
    CSEString structureView;  ///< "structureview" of the relationship.
    CSEString parentFullPath;  ///< Full file name of the parent.
    CSEString childFullPath;  ///< Full file name of the child.
    CSEString parentCadId;  ///< cadid of the parent.
    CSEString childCadId;  ///< cadid of the child.
    CSEString topNode{u"dpt"};  ///< "topnode": the structure it belongs to ("dpt" by default).
    CSEString modificationStatus;  ///< "modificationstatus" of the use.
    CSEString relativeXform;  ///< "relativeXform": the child's placement matrix under the parent.
    CSEString componentId;  ///< "componentID": the use's identifier in the CAD model.
    CSEString newTransform;  ///< A changed placement matrix.
    CSEString renamedFrom;  ///< The earlier name of a renamed child.
    CSEString qxId;  ///< The use's identifier on the server.
    CSEString childName;  ///< Name of the child.
    CSEObjectInfo parent;  ///< Record of the parent object.
    CSEObjectInfo child;  ///< Record of the child object.
    CSEString newComponentId;  ///< A changed "componentID".
    CSEString uuid;  ///< "uuid": its universal identifier.
    int quantity = 1;  ///< "Quantity": the number of instances (at least 1).
    CSEString userText2;  ///< Caller's text; no command reads or writes it.
};

class CSERelationshipVector : public CSERecordVector<CSERelationship>
{
};

class DVKListValCSERelationship : public DVKListVal<CSERelationship>
{
};

#endif
