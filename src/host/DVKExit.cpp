// Process-exit callbacks: one std::atexit hook runs the registry in reverse order of registration.
#include "host/DVKExit.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace dvk {
namespace {

std::vector<std::pair<ExitCallback, int>>& Registry()
{
    static std::vector<std::pair<ExitCallback, int>> registry;
    return registry;
}

void RunAtExit()
{
    RunExitCallbacks();
}

} // namespace

void CallOnExit(ExitCallback callback, int argument)
{
    if (callback == nullptr)
        return;
    // The registry exists before the hook is installed, so it outlives the hook's run.
    std::vector<std::pair<ExitCallback, int>>& registry = Registry();
    static const bool hooked = (std::atexit(RunAtExit) == 0);
    (void)hooked;
    registry.emplace_back(callback, argument);
}

void RunExitCallbacks()
{
    std::vector<std::pair<ExitCallback, int>>& registry = Registry();
    while (!registry.empty()) {
        const std::pair<ExitCallback, int> entry = registry.back();
        registry.pop_back();
        try {
            entry.first(entry.second);
        } catch (...) {
            // An exit callback must not end the process with an exception.
        }
    }
}

} // namespace dvk
