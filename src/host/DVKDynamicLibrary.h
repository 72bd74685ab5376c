// Shared libraries loaded into this process at run time, and the lookup of their entry points.
#ifndef QORVI_HOST_DVKDYNAMICLIBRARY_H
#define QORVI_HOST_DVKDYNAMICLIBRARY_H

#include <string>

namespace dvk {

// An opaque handle of a loaded library; null stands for none.
using LibraryHandle = void*;

// Why a file system entry with this owner and mode lets a user other than user (or root) change
// what a path names: owned by someone else, or writable by group or others (a folder with the
// sticky bit excepted, since there only an entry's owner may remove or rename it). Empty when
// nobody else can.
std::string WhyReplaceableByOthers(unsigned long owner, unsigned int mode, bool isDirectory,
                                   unsigned long user);

// Loads the shared library at path once its symbolic links are resolved, unless the file is not a
// regular file or the file or any folder above it could be changed by a user other than the
// effective user or root: code loaded here runs with all the rights of the process. Null, with
// the reason in error, when it is not loaded. Libraries are never unloaded.
LibraryHandle OpenTrustedLibrary(const std::string& path, std::string& error);

// The address of an exported symbol; null when the library does not export it or is null.
void* FindLibrarySymbol(LibraryHandle library, const char* name);

} // namespace dvk

#endif
