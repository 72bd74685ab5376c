// The capture/replay mode switch and the cached folders of a recorded run.
#include "MOCK_EnvironmentServices.h"

#include <string>

#include "capture/MOCK_EnvironmentState.h"
#include "host/DVKEnv.h"
#include "host/DVKFatal.h"

namespace {

constexpr unsigned int kUnresolved = ~0u;
constexpr unsigned int kCustomer = 0;
constexpr unsigned int kCapture = 1;
constexpr unsigned int kReplay = 2;

unsigned int g_mode = kUnresolved;

// One cached folder: its variable, the member named in its assertion, and the value once read.
struct CachedPath
{
    const char* variable;
    const char* assertion;
    DVKUnicodeString value;
};

CachedPath g_dataPath{"DV5_MOCK_DATA_PATH", "m_sMockDataPath.GetLengthInChar() > 0", {}};
CachedPath g_checkoutPath{"DV5_MOCK_CHECKOUT_PATH", "m_sMockCheckoutPath.GetLengthInChar() > 0", {}};
CachedPath g_outPath{"DV5_MOCK_OUT_PATH", "m_sMockOutPath.GetLengthInChar() > 0", {}};
CachedPath g_prefix{"DV5_MOCK_PREFIX", "m_sMockPrefix.GetLengthInChar() > 0", {}};

DVKUnicodeString Resolve(CachedPath& path)
{
    if (!MOCK_EnvironmentServices::IsCapture() && !MOCK_EnvironmentServices::IsReplay())
        DVKFatalError("MOCK_EnvironmentServices::IsCapture() || MOCK_EnvironmentServices::IsReplay()");
    if (path.value.IsEmpty()) {
        const std::string value = dvk::GetEnvOrEmpty(path.variable);
        path.value = DVKUnicodeString::FromUTF8(value.data(), value.size());
    }
    if (path.value.IsEmpty())
        DVKFatalError(path.assertion);
    return path.value;
}

} // namespace

void MOCK_EnvironmentServices::InitializeRTMModeVariable()
{
    if (g_mode != kUnresolved)
        return;
    const std::string mode = dvk::GetEnvOrEmpty("DV5_MOCK_MODE");
    g_mode = mode == "capture" ? kCapture : mode == "replay" ? kReplay : kCustomer;
}

bool MOCK_EnvironmentServices::IsCapture()
{
    InitializeRTMModeVariable();
    return g_mode == kCapture;
}

bool MOCK_EnvironmentServices::IsReplay()
{
    InitializeRTMModeVariable();
    return g_mode == kReplay;
}

bool MOCK_EnvironmentServices::IsCustomerMode()
{
    InitializeRTMModeVariable();
    return g_mode == kCustomer;
}

DVKUnicodeString MOCK_EnvironmentServices::GetMockDataPath()
{
    return Resolve(g_dataPath);
}

DVKUnicodeString MOCK_EnvironmentServices::GetMockCheckoutPath()
{
    return Resolve(g_checkoutPath);
}

DVKUnicodeString MOCK_EnvironmentServices::GetMockOutPath()
{
    return Resolve(g_outPath);
}

DVKUnicodeString MOCK_EnvironmentServices::GetMockPrefix()
{
    return Resolve(g_prefix);
}

namespace mock {

void ForgetResolvedEnvironment()
{
    g_mode = kUnresolved;
    for (CachedPath* path : {&g_dataPath, &g_checkoutPath, &g_outPath, &g_prefix})
        path->value = DVKUnicodeString();
    ResetCaptureCounter();
}

} // namespace mock
