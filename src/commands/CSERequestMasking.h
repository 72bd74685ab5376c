// CSERequestMasking: hides password values in request texts before they are logged or dumped.
#ifndef QORVI_COMMANDS_CSEREQUESTMASKING_H
#define QORVI_COMMANDS_CSEREQUESTMASKING_H

#include <string>

#include "CSEString.h"

class CSERequestMasking
{
public:
    // The text shown in place of every password value.
    static const char16_t* const kMaskedValue;

    // A copy of the XML text in which the value of every "password" attribute (the name compared
    // without regard to case) reads "*****". Text content, comments, CDATA sections and processing
    // instructions are left alone; text that is not XML comes back unchanged.
    static CSEString MaskPasswords(const CSEString& xmlText);
    // The same over UTF-8 bytes (the content of a request file).
    static std::string MaskPasswords(const std::string& xmlBytes);
};

#endif
