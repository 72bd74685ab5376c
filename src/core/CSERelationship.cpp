// CSERelationship: member-wise copy; equality over every field, driven by a field table.
#include "CSERelationship.h"

#include <cstddef>

namespace {

typedef CSEString CSERelationship::*TextField;

const TextField kTextFields[] = {
    &CSERelationship::userText1,      &CSERelationship::cadRelationship, &CSERelationship::rid,
    &CSERelationship::structureView,  &CSERelationship::parentFullPath,  &CSERelationship::childFullPath,
    &CSERelationship::parentCadId,    &CSERelationship::childCadId,      &CSERelationship::topNode,
    &CSERelationship::modificationStatus, &CSERelationship::relativeXform, &CSERelationship::componentId,
    &CSERelationship::newTransform,   &CSERelationship::renamedFrom,     &CSERelationship::qxId,
    &CSERelationship::childName,      &CSERelationship::newComponentId,  &CSERelationship::uuid,
    &CSERelationship::userText2,
};

// 23 fields: 19 texts, the attributes, the two object records and the quantity.
static_assert(sizeof(kTextFields) / sizeof(kTextFields[0]) == 19, "every text field is compared");

} // namespace

CSERelationship::CSERelationship() = default;
CSERelationship::CSERelationship(const CSERelationship& other) = default;
CSERelationship& CSERelationship::operator=(const CSERelationship& other) = default;
CSERelationship::~CSERelationship() = default;

bool CSERelationship::operator==(const CSERelationship& other) const
{
    for (TextField field : kTextFields)
        if (this->*field != other.*field)
            return false;
    return quantity == other.quantity && attributes == other.attributes && parent == other.parent &&
           child == other.child;
}

bool CSERelationship::operator!=(const CSERelationship& other) const
{
    return !(*this == other);
}
