// Fatal-error and check-failure services: one line on stderr and in the main log.
#include "host/DVKFatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace dvk {
namespace {

FatalLogSink g_sink = nullptr;

void Report(const char* prefix, const char* condition)
{
    const std::string text = std::string(prefix) + (condition ? condition : "");
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    if (g_sink != nullptr)
        g_sink(text.c_str());
}

} // namespace

void SetFatalLogSink(FatalLogSink sink)
{
    g_sink = sink;
}

void FatalError(const char* condition, const char* /*sourceFile*/, int /*line*/)
{
    Report("AssertionFailed:", condition);
    std::abort();
}

void SysCheckFailure(const char* condition, const char* /*sourceFile*/, int /*line*/)
{
    Report("ExpressionCheck:", condition);
}

} // namespace dvk
