// CSECopyToCADSelection: the rules that pick the attributes to copy into a CAD file at checkout.
#include "designdata/CSECopyToCADSelection.h"

#include <string>

#include "CSEObjectInfo.h"
#include "CSEServerSettings.h"

namespace {

bool StartsWith(const std::u16string& text, const std::u16string& head)
{
    return text.size() >= head.size() && text.compare(0, head.size(), head) == 0;
}

bool EndsWith(const std::u16string& text, const std::u16string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

CSECopyToCADSelection::CSECopyToCADSelection(const CSEServerSettings& settings, const CSEObjectInfo& object)
    : m_settings(settings), m_object(object)
{
}

bool CSECopyToCADSelection::Selects(const CSEString& attributeName) const
{
    CSEString mapped = m_settings.GetQxToCADAttributeMapping(m_object.type + u"," + attributeName);
    const std::u16string& text = mapped().Text();
    const std::size_t comma = text.find(u',');
    const std::u16string left = text.substr(0, comma);
    const std::u16string right = comma == std::u16string::npos ? std::u16string() : text.substr(comma + 1);
    if (StartsWith(right, u"expr(") && EndsWith(right, u")"))
        return true;
    if (right.size() >= 5 && StartsWith(right, u"$$") && EndsWith(right, u"$$")) {
        if (right != u"$$description$$")
            return true;
        mapped = CSEString(DVKUnicodeString(left + u",description"));
    }
    const DVKListPtrCSEString& modified = m_object.modifiedCadAttributes;
    for (int position = 1; position <= modified.Size(); ++position) {
        const CSEString* name = modified[position];
        if (name != nullptr && mapped == m_object.busType + u"," + *name)
            return true;
    }
    return false;
}
