// Paths, files and folders over POSIX and std::filesystem, with status results.
#include "host/DVKFiles.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dvk {
namespace {

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Appends what fd yields, up to maxBytes bytes in all; false on a read error.
bool ReadUpTo(int fd, std::size_t maxBytes, std::string& bytes)
{
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

} // namespace

std::string MakePath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (name.empty())
        return folder;
    const bool folderSlash = folder.back() == '/';
    const bool nameSlash = name.front() == '/';
    if (folderSlash && nameSlash)
        return folder + name.substr(1);
    if (folderSlash || nameSlash)
        return folder + name;
    return folder + "/" + name;
}

std::string AppendSlash(const std::string& path)
{
    if (!path.empty() && path.back() == '/')
        return path;
    return path + "/";
}

void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder.clear();
        name = path;
        return;
    }
    name = path.substr(slash + 1);
    folder = slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool StatFile(const std::string& path, FileStat& stat)
{
    stat = FileStat();
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return false;
    stat.size = static_cast<std::uint64_t>(info.st_size);
    stat.isDirectory = S_ISDIR(info.st_mode);
    stat.isRegularFile = S_ISREG(info.st_mode);
    stat.modified = info.st_mtime;
    return true;
}

bool PathExists(const std::string& path)
{
    FileStat stat;
    return StatFile(path, stat);
}

bool IsDirectory(const std::string& path)
{
    FileStat stat;
    return StatFile(path, stat) && stat.isDirectory;
}

bool CreateDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    fs::create_directories(fs::path(path), error);
    return IsDirectory(path);
}

bool DeleteFile(const std::string& path)
{
    return !path.empty() && ::remove(path.c_str()) == 0;
}

bool DeleteTree(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    fs::remove_all(fs::path(path), error);
    return !error && !PathExists(path);
}

bool RenameFile(const std::string& from, const std::string& to)
{
    return !from.empty() && !to.empty() && ::rename(from.c_str(), to.c_str()) == 0;
}

bool CopyFile(const std::string& source, const std::string& target, bool overwrite)
{
    if (source.empty() || target.empty())
        return false;
    std::error_code error;
    const fs::copy_options options =
        overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
    return fs::copy_file(fs::path(source), fs::path(target), options, error) && !error;
}

bool ListDirectory(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    if (path.empty())
        return false;
    std::error_code error;
    fs::directory_iterator it(fs::path(path), error);
    if (error)
        return false;
    for (const fs::directory_entry& entry : it) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return true;
}

bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    if (path.empty())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ReadUpTo(fd, maxBytes, bytes);
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    if (path.empty())
        return false;
    // Opened without waiting (a FIFO would wait for a writer), then examined as opened.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<std::uint64_t>(info.st_size) <= maxBytes;
    if (ok) {
        // One byte more than allowed tells a file that grew past the bound while it was read.
        const std::size_t limit =
            maxBytes == std::numeric_limits<std::size_t>::max() ? maxBytes : maxBytes + 1;
        try {
            bytes.reserve(static_cast<std::size_t>(info.st_size));
            ok = ReadUpTo(fd, limit, bytes) && bytes.size() <= maxBytes;
        } catch (const std::exception&) {
            ok = false;  // more than memory holds
        }
    }
    ::close(fd);
    if (!ok)
        std::string().swap(bytes);
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    return ReadFileHead(path, std::numeric_limits<std::size_t>::max(), bytes);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, unsigned int permissions)
{
    if (path.empty())
        return false;
    std::string temp = path + ".tmpXXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0)
        return false;
    const bool ok = ::fchmod(fd, static_cast<mode_t>(permissions & 07777)) == 0 &&
                    WriteAll(fd, bytes.data(), bytes.size());
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

std::FILE* OpenForAppend(const std::string& path)
{
    if (path.empty())
        return nullptr;
    // Logs can hold whole request texts: owner-only, like the request files. Opened without
    // blocking so that a FIFO in the log's place is refused instead of hanging the host.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(fd, "a");
    if (stream == nullptr)
        ::close(fd);
    return stream;
}

bool GetRealPath(const std::string& path, std::string& realPath)
{
    realPath.clear();
    if (path.empty())
        return false;
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    if (error)
        return false;
    const fs::path canonical = fs::weakly_canonical(absolute, error);
    if (error)
        return false;
    realPath = canonical.lexically_normal().string();
    return true;
}

} // namespace dvk
