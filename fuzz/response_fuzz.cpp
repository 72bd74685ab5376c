// libFuzzer target: any thin response, and any full response file named by a well-formed one, must
// be read without a fault; a response that was not read leaves no values behind.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "CSEResponse.h"
#include "CSEString.h"
#include "common/ScratchInstallFolder.h"

namespace {

std::string ScratchFolder()
{
    const std::string& folder = ScratchInstallFolder();
    return folder.empty() ? std::string("/tmp") : folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    CSEResponse response;
    bool parsed = false;
    if (data[0] & 1) {
        // The bytes are the thin response itself.
        parsed = response.ParseResponse(CSEString(DVKUnicodeString::FromUTF8(body.data(), body.size())));
    } else {
        // The bytes are the full response file; the thin response names it.
        const std::string folder = ScratchFolder();
        const std::string path = folder + "/Response.xml";
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(body.data(), 1, body.size(), file);
            std::fclose(file);
        }
        const std::string thin = "<?xml version='1.0'?><response dirname='" + folder +
                                 "' filename='Response.xml'></response>";
        parsed = response.ParseResponse(CSEString(thin.c_str()));
        response.GetNumObjets();
        response.GetXmlNodeForObject(1);
    }
    if (!parsed && response.GetResult().size() != 0)
        __builtin_trap();
    return 0;
}
