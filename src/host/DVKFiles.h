// Paths, files and folders of the host file system. Paths are UTF-8 text with "/" separators.
// Every operation reports its outcome as a result; none throws.
#ifndef QORVI_HOST_DVKFILES_H
#define QORVI_HOST_DVKFILES_H

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace dvk {

// folder + "/" + name; no separator is doubled, and an empty side gives the other side.
std::string MakePath(const std::string& folder, const std::string& name);
// The path with a trailing "/" (unchanged when it already ends with one; "/" for the empty path).
std::string AppendSlash(const std::string& path);
// Splits at the last "/": "/a/b.log" gives "/a" and "b.log", "/b.log" gives "/" and "b.log",
// "b.log" gives "" and "b.log", "/a/" gives "/a" and "".
void SplitPath(const std::string& path, std::string& folder, std::string& name);

struct FileStat
{
    std::uint64_t size = 0;
    bool isDirectory = false;
    bool isRegularFile = false;
    std::time_t modified = 0;
};

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
// False when the path does not exist or cannot be examined.
bool StatFile(const std::string& path, FileStat& stat);

// Creates the folder and any missing parents; true when the folder exists afterwards.
bool CreateDirectories(const std::string& path);
// Removes a file (or an empty folder).
bool DeleteFile(const std::string& path);
// Removes a folder and everything under it; true when nothing remains.
bool DeleteTree(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Copies a regular file; an existing target is replaced only when overwrite is true.
bool CopyFile(const std::string& source, const std::string& target, bool overwrite);
// The entry names of a folder (without "." and ".."), sorted.
bool ListDirectory(const std::string& path, std::vector<std::string>& names);

// The whole content of a file.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// The first maxBytes bytes of a file (all of it when it is shorter).
bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes);
// The whole content of a regular file (symbolic links followed) of at most maxBytes bytes. Anything
// else fails at once and gives no bytes: a folder, a device, a FIFO (never waited on), a larger
// file, a missing or unreadable one.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);
// The permissions of the files the library writes for itself (requests, responses, dumps): they may
// carry a password, so only their owner reads and writes them.
constexpr unsigned int kOwnerOnlyFile = 0600;

// Replaces the file with bytes: written to a temporary file beside it with the given permissions,
// then renamed over the target, so a reader never sees half a file.
bool WriteWholeFile(const std::string& path, const std::string& bytes, unsigned int permissions = 0644);
// Opens the file for appending (created when missing) as a C stream; null on failure.
std::FILE* OpenForAppend(const std::string& path);

// Absolute, lexically normal path with symbolic links resolved where they exist; the empty path
// fails.
bool GetRealPath(const std::string& path, std::string& realPath);

} // namespace dvk

#endif
