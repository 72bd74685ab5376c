// Process-exit callbacks: run once at exit, the last registered first.
#ifndef QORVI_HOST_DVKEXIT_H
#define QORVI_HOST_DVKEXIT_H

namespace dvk {

using ExitCallback = int (*)(int argument);

// Registers callback(argument) to run at process exit. A null callback is ignored.
void CallOnExit(ExitCallback callback, int argument);

// Runs and forgets every registered callback, newest first; callbacks registered while this runs
// are run too. The process-exit hook calls it; calling it earlier is allowed.
void RunExitCallbacks();

} // namespace dvk

#define DVKCallOnExit(callback, argument) ::dvk::CallOnExit(callback, argument)

#endif
