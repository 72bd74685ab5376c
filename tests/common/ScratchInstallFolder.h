// A scratch installation folder for benchmarks and fuzz targets: made once per process, optionally
// holding a "settings.ini", and named by QX_DRAVIK_INSTALL_DIR.
#ifndef QORVI_TESTS_COMMON_SCRATCHINSTALLFOLDER_H
#define QORVI_TESTS_COMMON_SCRATCHINSTALLFOLDER_H

#include <cstdio>
#include <cstdlib>
#include <string>

// Writes text as the whole file (best effort: a harness has no one to tell).
inline void WriteScratchFile(const std::string& path, const std::string& text)
{
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

// The folder ("" when none could be made); settingsIni is written as its "settings.ini" unless null.
inline const std::string& ScratchInstallFolder(const char* settingsIni = nullptr)
{
    static std::string folder;
    if (!folder.empty())
        return folder;
    char pattern[] = "/tmp/qorvi-scratch-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return folder;
    folder = pattern;
    if (settingsIni != nullptr)
        WriteScratchFile(folder + "/settings.ini", settingsIni);
    setenv("QX_DRAVIK_INSTALL_DIR", folder.c_str(), 1);
    return folder;
}

#endif
