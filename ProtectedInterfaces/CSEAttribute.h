/// \file
/// CSEAttribute: one name/value attribute of a CAD object or relationship, and its owning vector.
#ifndef CSEATTRIBUTE_H
#define CSEATTRIBUTE_H

#include "CSERecordVector.h"
#include "CSEString.h"

/// One name/value attribute of a CAD object or relationship, and its owning vector.
class CSEAttribute
{
public:
    CSEAttribute();
    CSEAttribute(const CSEString& attributeName, const CSEString& attributeValue);
    CSEAttribute(const CSEAttribute& other);
    CSEAttribute& operator=(const CSEAttribute& other);
    virtual ~CSEAttribute();

    const CSEString& GetName() const { return name; }
    void SetName(const CSEString& attributeName) { name = attributeName; }
    const CSEString& GetValue() const { return value; }
    void SetValue(const CSEString& attributeValue) { value = attributeValue; }

    /// Both texts, exactly.
    bool operator==(const CSEAttribute& other) const;
    bool operator!=(const CSEAttribute& other) const;

    CSEString name;
    CSEString value;
};

class CSEAttributeVector : public CSERecordVector<CSEAttribute>
{
};

#endif
