// The component-version answer split into lower-case name and version pairs.
#include "connection/CSEVersionList.h"

#include "CSEUtil.h"
#include "CSEWrapperStringVector.h"

namespace cse {

void ParseComponentVersions(const CSEString& text, CSEStringCSEStringMap& versions)
{
    CSEWrapperStringVector tokens;
    CSEUtil::GetTokenizedArray(text, u"|", tokens);
    const int count = tokens.Size();
    if (count == 0)
        return;
    // A leading "0" is the query's status, not a component name.
    for (int i = tokens[0] == u"0" ? 2 : 1; i < count; i += 2)
        versions[CSEUtil::ToLower(tokens[i - 1])] = CSEUtil::ToLower(tokens[i]);
}

} // namespace cse
