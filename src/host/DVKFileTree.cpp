// Folder tree copies over std::filesystem.
#include "host/DVKFileTree.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace dvk {
namespace {

// True when inner is outer itself or lies below it (both already canonical).
bool IsWithin(const fs::path& inner, const fs::path& outer)
{
    auto innerPart = inner.begin();
    for (auto outerPart = outer.begin(); outerPart != outer.end(); ++outerPart, ++innerPart) {
        if (outerPart->empty())
            continue;
        if (innerPart == inner.end() || *innerPart != *outerPart)
            return false;
    }
    return true;
}

} // namespace

bool CopyFolderContent(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty())
        return false;
    std::error_code error;
    if (!fs::is_directory(fs::path(from), error))
        return false;
    const fs::path source = fs::weakly_canonical(fs::absolute(fs::path(from), error), error);
    if (error)
        return false;
    const fs::path target = fs::weakly_canonical(fs::absolute(fs::path(to), error), error);
    if (error || IsWithin(target, source))
        return false;
    fs::create_directories(target, error);
    if (error || !fs::is_directory(target, error))
        return false;
    fs::copy(source, target,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                 fs::copy_options::copy_symlinks,
             error);
    return !error;
}

} // namespace dvk
