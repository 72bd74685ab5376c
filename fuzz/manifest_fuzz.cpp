// libFuzzer target: any manifest text must be read or refused by the demo host's manifest reader
// without a fault, and what it reads must hold together: every use between listed designs, no
// design inside itself (so some design is top-level and each walk ends).
//
// Input: the manifest text (UTF-8 XML).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AssemblyManifest.h"
#include "common/ScratchInstallFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = !ScratchInstallFolder().empty();
    if (!ready)
        return 0;
    AssemblyManifest manifest;
    std::string error;
    if (!manifest.Parse(std::string(reinterpret_cast<const char*>(data), size), "/files", error)) {
        if (error.empty())
            __builtin_trap(); // a refusal always says why
        return 0;
    }
    const int designs = static_cast<int>(manifest.Designs().size());
    for (const AssemblyManifest::Use& use : manifest.Uses())
        if (use.parent < 0 || use.parent >= designs || use.child < 0 || use.child >= designs || use.quantity < 1)
            __builtin_trap();
    const std::vector<int> top = manifest.TopLevel();
    if (top.empty())
        __builtin_trap();
    for (int design : top)
        if (static_cast<int>(manifest.Reached(design).size()) > designs)
            __builtin_trap();
    return 0;
}
