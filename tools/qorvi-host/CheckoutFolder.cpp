// Uses std::filesystem: the host, unlike the library, may know the platform's files directly.
#include "CheckoutFolder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool CheckoutFolder::Prepare(const std::string& given, std::string& folder, std::string& error)
{
    if (given.empty()) {
        error = "--into needs a folder";
        return false;
    }
    std::error_code failure;
    const fs::path path(given);
    if (!fs::exists(fs::symlink_status(path, failure)) && !fs::create_directory(path, failure) && failure) {
        error = "the checkout folder '" + given + "' cannot be made: " + failure.message();
        return false;
    }
    if (!fs::is_directory(path, failure)) {
        error = "the checkout folder '" + given + "' is not a folder";
        return false;
    }
    const fs::path canonical = fs::canonical(path, failure);
    if (failure) {
        error = "the checkout folder '" + given + "' cannot be resolved: " + failure.message();
        return false;
    }
    folder = canonical.string();
    return true;
}
