// libFuzzer target: any file taken for a recorded argument file must be read without a fault, and
// whatever text it gives back must be recorded and read again unchanged (replay hands recorded
// texts back verbatim). An integer is given back only for a whole decimal number.
//
// Input: the bytes of the argument file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "MOCK_ArgumentSaverAndRetriever.h"
#include "TST_XMLServices.h"
#include "common/ScratchInstallFolder.h"
#include "host/DVKFiles.h"

namespace {

const char16_t* const kNames[] = {u"ReturnedValue", u"CSEString", u"Cmd", u"HostIP"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& folder = ScratchInstallFolder();
    const DVKUnicodeString recorded((folder + "/recorded.xml").c_str());
    const DVKUnicodeString again((folder + "/again.xml").c_str());
    dvk::WriteWholeFile(recorded.ToUTF8(), std::string(reinterpret_cast<const char*>(data), size));

    MOCK_ArgumentSaverAndRetriever retriever(MOCK_ArgumentSaverAndRetriever::Retrieve);
    if (retriever.Open(recorded, u"") != 0)
        return 0;
    for (const char16_t* name : kNames) {
        DVKUnicodeString text;
        int number = 0;
        const bool hasText = retriever.RetrieveStringArgument(name, text) == 0;
        const bool hasNumber = retriever.RetrieveIntegerArgument(name, number) == 0;
        if (hasNumber) {
            // The number is the whole text read as a decimal ("06" and "+6" read as 6).
            if (!hasText)
                __builtin_trap();
            const std::string digits = text.ToUTF8();
            char* end = nullptr;
            if (std::strtol(digits.c_str(), &end, 10) != number || *end != '\0')
                __builtin_trap();
        }
        if (!hasText)
            continue;
        MOCK_ArgumentSaverAndRetriever saver(MOCK_ArgumentSaverAndRetriever::Save);
        saver.Open(again, u"Arguments");
        saver.SaveStringArgument(name, text);
        saver.Close();
        MOCK_ArgumentSaverAndRetriever reader(MOCK_ArgumentSaverAndRetriever::Retrieve);
        DVKUnicodeString read;
        if (reader.Open(again, u"") != 0 || reader.RetrieveStringArgument(name, read) != 0 || read != text)
            __builtin_trap();
    }
    return 0;
}
