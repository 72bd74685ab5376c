// A scratch installation for benchmarks and fuzz targets: the folder of ScratchInstallFolder, a
// silent message manager and the global settings of a settings answer, set up once per process.
#ifndef QORVI_TESTS_COMMON_SILENTINSTALLATION_H
#define QORVI_TESTS_COMMON_SILENTINSTALLATION_H

#include <string>

#include "CSEIntegrationAgent.h"
#include "CSEMsgMgr.h"
#include "common/ScratchInstallFolder.h"

// The folder; settingsIni and settingsAnswer take effect on the first call only.
inline const std::string& SilentInstallation(const char* settingsIni, const char* settingsAnswer)
{
    static bool prepared = false;
    const std::string& folder = ScratchInstallFolder(settingsIni);
    if (prepared)
        return folder;
    prepared = true;
    static CSEMsgMgr silent;
    CSEMsgMgr::SetMsgMgr(&silent);
    CSEIntegrationAgent::GetIntegrationAgent().InitServerSettingsForSilent(settingsAnswer);
    return folder;
}

#endif
