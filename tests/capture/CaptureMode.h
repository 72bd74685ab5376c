// Test helper: switches a test's child process into a capture/replay mode, as a fresh process would start.
#ifndef QORVI_TESTS_CAPTURE_CAPTUREMODE_H
#define QORVI_TESTS_CAPTURE_CAPTUREMODE_H

#include <cstdlib>
#include <string>

#include "capture/MOCK_EnvironmentState.h"
#include "host/DVKExit.h"

// Ends the agent and the client settings of the parent (they live on in a forked child), sets the
// mode and the folders (an empty folder is left unset) and forgets what was resolved before.
inline void EnterMode(const char* mode, const std::string& dataPath = "", const std::string& checkoutPath = "")
{
    dvk::RunExitCallbacks();
    setenv("DV5_MOCK_MODE", mode, 1);
    const auto set = [](const char* name, const std::string& value) {
        value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1);
    };
    set("DV5_MOCK_DATA_PATH", dataPath);
    set("DV5_MOCK_CHECKOUT_PATH", checkoutPath);
    mock::ForgetResolvedEnvironment();
}

#endif
