// Whole argument files in one call, for the per-call recorders.
#include "capture/MOCK_ArgumentFiles.h"

#include <string>

#include "MOCK_ArgumentSaverAndRetriever.h"
#include "TST_XMLServices.h"
#include "commands/CSERequestMasking.h"
#include "host/DVKFatal.h"

int MOCK_ArgumentFiles::Save(const DVKUnicodeString& file, const char16_t* root,
                             std::initializer_list<Saved> arguments)
{
    MOCK_ArgumentSaverAndRetriever saver(MOCK_ArgumentSaverAndRetriever::Save);
    if (saver.Open(file, root) != 0)
        return TST_XMLServices::E_FAIL;
    for (const Saved& argument : arguments) {
        if (saver.SaveStringArgument(argument.first, argument.second) != 0)
            return TST_XMLServices::E_FAIL;
    }
    return saver.Close();
}

int MOCK_ArgumentFiles::Retrieve(const DVKUnicodeString& file, std::initializer_list<Wanted> arguments)
{
    MOCK_ArgumentSaverAndRetriever retriever(MOCK_ArgumentSaverAndRetriever::Retrieve);
    if (retriever.Open(file, DVKUnicodeString()) != 0)
        return TST_XMLServices::E_FAIL;
    for (const Wanted& argument : arguments) {
        if (retriever.RetrieveStringArgument(argument.first, *argument.second) != 0)
            return TST_XMLServices::E_FAIL;
    }
    return retriever.Close();
}

int MOCK_ArgumentFiles::RetrieveInteger(const DVKUnicodeString& file, const char16_t* name, int& value)
{
    MOCK_ArgumentSaverAndRetriever retriever(MOCK_ArgumentSaverAndRetriever::Retrieve);
    if (retriever.Open(file, DVKUnicodeString()) != 0 || retriever.RetrieveIntegerArgument(name, value) != 0)
        return TST_XMLServices::E_FAIL;
    return retriever.Close();
}

DVKUnicodeString MOCK_ArgumentFiles::Cmd(bool value)
{
    return DVKUnicodeString(value ? u"TRUE" : u"FALSE");
}

bool MOCK_ArgumentFiles::ParseCmd(const DVKUnicodeString& text)
{
    if (text != DVKUnicodeString(u"TRUE") && text != DVKUnicodeString(u"FALSE"))
        DVKFatalError("(sCmd == \"TRUE\") || (sCmd == \"FALSE\")");
    return text == DVKUnicodeString(u"TRUE");
}

DVKUnicodeString MOCK_ArgumentFiles::Masked(const CSEString& text)
{
    return CSERequestMasking::MaskPasswords(text)();
}

DVKUnicodeString MOCK_ArgumentFiles::Decimal(int value)
{
    return DVKUnicodeString(std::to_string(value).c_str());
}
