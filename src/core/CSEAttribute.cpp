// CSEAttribute: a name/value pair with value semantics.
#include "CSEAttribute.h"

CSEAttribute::CSEAttribute() = default;

CSEAttribute::CSEAttribute(const CSEString& attributeName, const CSEString& attributeValue)
    : name(attributeName), value(attributeValue)
{
}

CSEAttribute::CSEAttribute(const CSEAttribute& other) = default;
CSEAttribute& CSEAttribute::operator=(const CSEAttribute& other) = default;
CSEAttribute::~CSEAttribute() = default;

bool CSEAttribute::operator==(const CSEAttribute& other) const
{
    return name == other.name && value == other.value;
}

bool CSEAttribute::operator!=(const CSEAttribute& other) const
{
    return !(*this == other);
}
