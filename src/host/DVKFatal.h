// Fatal-error and check-failure services of the host platform.
#ifndef QORVI_HOST_DVKFATAL_H
#define QORVI_HOST_DVKFATAL_H

#include <functional>

namespace dvk {

// Writes "AssertionFailed:" + condition to stderr (and to the main log when one exists), then aborts.
[[noreturn]] void FatalError(const char* condition, const char* sourceFile, int line);
// Writes "ExpressionCheck:" + condition to stderr and to the main log at priority 3, and returns.
void SysCheckFailure(const char* condition, const char* sourceFile, int line);

// The logger registers how the two services reach the main log; with none set, only stderr is used.
using FatalLogSink = void (*)(const char* lineText);
void SetFatalLogSink(FatalLogSink sink);

} // namespace dvk

#define DVKFatalError(condition) ::dvk::FatalError(condition, __FILE__, __LINE__)
#define DVKSysCheckFailure(condition) ::dvk::SysCheckFailure(condition, __FILE__, __LINE__)
// Ends the process when the condition is false; the text is the condition as written.
#define DVK_ASSERT(cond) \
    do { if (!(cond)) ::dvk::FatalError(#cond, __FILE__, __LINE__); } while (0)
// Reports a broken expectation when the condition is false; evaluates to the condition.
#define DVK_CHECK(cond) \
    ((cond) ? true : (::dvk::SysCheckFailure(#cond, __FILE__, __LINE__), false))

#endif
