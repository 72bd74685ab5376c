// Run-time loading over dlopen/dlsym, with the ownership and permission checks of the loaded file.
#include "host/DVKDynamicLibrary.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace dvk {
namespace {

const unsigned long kRootUser = 0;

std::string Octal(unsigned int mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777u);
    return text;
}

// The entry at path with the owner and mode checks; appends the reason to error when it fails.
bool IsTrustedEntry(const std::string& path, bool isDirectory, std::string& error)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (isDirectory ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) {
        error = path + (isDirectory ? " is not a folder" : " is not a regular file");
        return false;
    }
    const std::string why =
        WhyReplaceableByOthers(info.st_uid, info.st_mode, isDirectory, ::geteuid());
    if (why.empty())
        return true;
    error = path + " " + why;
    return false;
}

// The file and every folder above it, from the nearest up to the root.
bool IsTrustedPath(const std::string& realPath, std::string& error)
{
    if (!IsTrustedEntry(realPath, false, error))
        return false;
    std::string folder = realPath;
    while (true) {
        const std::string::size_type slash = folder.rfind('/');
        if (slash == std::string::npos)
            return true;
        folder.erase(slash == 0 ? 1 : slash);
        if (!IsTrustedEntry(folder, true, error))
            return false;
        if (folder == "/")
            return true;
    }
}

} // namespace

std::string WhyReplaceableByOthers(unsigned long owner, unsigned int mode, bool isDirectory,
                                   unsigned long user)
{
    if (owner != user && owner != kRootUser)
        return "is owned by user " + std::to_string(owner) + ", neither the user " +
               std::to_string(user) + " nor root";
    const bool writableByOthers = (mode & (S_IWGRP | S_IWOTH)) != 0;
    if (writableByOthers && !(isDirectory && (mode & S_ISVTX) != 0))
        return "is writable by group or others (mode " + Octal(mode) + ")";
    return std::string();
}

LibraryHandle OpenTrustedLibrary(const std::string& path, std::string& error)
{
    error.clear();
    char resolved[PATH_MAX];
    if (path.empty() || ::realpath(path.c_str(), resolved) == nullptr) {
        error = path + ": " + (path.empty() ? "no path" : std::strerror(errno));
        return nullptr;
    }
    // With the file and its folders out of other users' reach, nobody can swap the file between
    // this check and the load.
    if (!IsTrustedPath(resolved, error))
        return nullptr;
    ::dlerror();
    LibraryHandle library = ::dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : std::string(resolved) + ": not loadable";
    }
    return library;
}

void* FindLibrarySymbol(LibraryHandle library, const char* name)
{
    if (library == nullptr || name == nullptr)
        return nullptr;
    return ::dlsym(library, name);
}

} // namespace dvk
