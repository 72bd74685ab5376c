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
    /// An attribute with the name and value given.
    CSEAttribute(const CSEString& attributeName, const CSEString& attributeValue);
    /// Copies name and value.
    CSEAttribute(const CSEAttribute& other);
    /// Copies name and value; returns this attribute.
    CSEAttribute& operator=(const CSEAttribute& other);
    virtual ~CSEAttribute();

    /// Returns the name.
    const CSEString& GetName() const { return name; }
    /// Sets the name.
    void SetName(const CSEString& attributeName) { name = attributeName; }
    /// Returns the value.
    const CSEString& GetValue() const { return value; }
    /// Sets the value.
    void SetValue(const CSEString& attributeValue) { value = attributeValue; }

    /// Both texts, exactly.
    bool operator==(const CSEAttribute& other) const;
    /// True when name or value differ.
    bool operator!=(const CSEAttribute& other) const;

    CSEString name;  ///<The attribute's name.
    CSEString value;  ///<The attribute's value.
};

class CSEAttributeVector : public CSERecordVector<CSEAttribute>
{
};

#endif
