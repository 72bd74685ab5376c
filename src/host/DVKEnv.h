// Environment variables of the process.
#ifndef QORVI_HOST_DVKENV_H
#define QORVI_HOST_DVKENV_H

#include <string>

namespace dvk {

// True when the variable is set (possibly to the empty text); value is cleared otherwise.
bool GetEnv(const char* name, std::string& value);

// The value, or the empty text when the variable is unset.
std::string GetEnvOrEmpty(const char* name);

} // namespace dvk

#endif
