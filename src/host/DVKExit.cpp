// Process-exit callbacks: one std::atexit hook runs the registry in reverse order of registration.
#include "host/DVKExit.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace dvk {
namespace {

// Never destroyed: a static destructor that runs after the exit hook may still register.
std::vector<std::pair<ExitCallback, int>>& Registry()
{
    static std::vector<std::pair<ExitCallback, int>>* registry =
        new std::vector<std::pair<ExitCallback, int>>();
    return *registry;
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
