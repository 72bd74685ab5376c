// What the demo host checks before it connects: the installation folder and its "settings.ini", so
// that a mistake in them is named instead of showing up later as an unreachable service.
#ifndef QORVI_HOST_INSTALLATIONCHECK_H
#define QORVI_HOST_INSTALLATIONCHECK_H

#include <string>

class InstallationCheck
{
public:
    // The first problem found, as a sentence for the user; empty when the installation is usable.
    // Needs the client settings (QX_DRAVIK_INSTALL_DIR set).
    static std::string FirstProblem();

private:
    static std::string FolderProblem(const std::string& folder);
    static std::string SettingsProblem(const std::string& iniPath);
};

#endif
