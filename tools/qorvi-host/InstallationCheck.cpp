// Checks the installation folder (exists, is a folder, takes new files) and "settings.ini" (exists,
// readable, names the service's host) with the library's own reading of the settings.
#include "InstallationCheck.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <QorviCSECommon.h>

namespace {

const char kSettingsExample[] = "\n  [SERVER]\n  clientname=127.0.0.1";

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

// Creates and removes a file of a fresh name: what the library's log and request files need.
// Empty when that works, else the system's reason.
std::string WriteProbeFailure(const std::string& folder)
{
    std::string pattern = folder + "/.qorvi-host-probe.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    ::unlink(name.data());
    return std::string();
}

} // namespace

std::string InstallationCheck::FirstProblem()
{
    const std::string folder = CSEUtil::GetInstallationFolder(CSEString())().ToUTF8();
    std::string problem = FolderProblem(folder);
    if (problem.empty())
        problem = SettingsProblem(CSEClientSettings::GetInstance(0)->GetIniPath()().ToUTF8());
    return problem;
}

std::string InstallationCheck::FolderProblem(const std::string& folder)
{
    const std::string named = "the installation folder " + Quoted(folder) + " (QX_DRAVIK_INSTALL_DIR)";
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status))
        return named + " does not exist";
    if (!std::filesystem::is_directory(status))
        return named + " is not a folder";
    const std::string failure = WriteProbeFailure(folder);
    if (!failure.empty())
        return named + " is not writable (" + failure
               + "): the library writes its log and its request files there";
    return std::string();
}

std::string InstallationCheck::SettingsProblem(const std::string& iniPath)
{
    const std::string what = " must name the host of the integration service, for example:";
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(iniPath, error);
    if (!std::filesystem::exists(status))
        return Quoted(iniPath) + " is missing; it" + what + kSettingsExample;
    if (!std::filesystem::is_regular_file(status) || !std::ifstream(iniPath))
        return Quoted(iniPath) + " cannot be read";
    CSEString host;
    CSEClientSettings::GetInstance(0)->GetSetting(CSE_SECTION_SERVER, CSE_KEY_CLIENTNAME, host);
    if (host().IsEmpty())
        return Quoted(iniPath) + " lacks the key \"clientname\" in the section [SERVER]; it" + what
               + kSettingsExample;
    return std::string();
}
