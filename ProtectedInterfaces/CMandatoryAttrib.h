/// \file
/// CMandatoryAttrib: one mandatory-attribute definition of the global settings, and its owning vector.
#ifndef CMANDATORYATTRIB_H
#define CMANDATORYATTRIB_H

#include "CSERecordVector.h"
#include "CSEString.h"

/// The three comma-separated parts of a definition line, in order.
class CMandatoryAttrib
{
public:
    CMandatoryAttrib();
    /// Copies every field of other.
    CMandatoryAttrib(const CMandatoryAttrib& other);
    /// Copies every field of other; returns this record.
    CMandatoryAttrib& operator=(const CMandatoryAttrib& other);
    virtual ~CMandatoryAttrib();

    CSEString name;  ///< the attribute's name
    CSEString value; ///< the value to apply
    CSEString kind;  ///< "mandatory", "default" or "null"
};

class CSEMandatoryAttribVector : public CSERecordVector<CMandatoryAttrib>
{
};

#endif
