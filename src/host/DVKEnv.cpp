// Environment variables of the process.
#include "host/DVKEnv.h"

#include <cstdlib>

namespace dvk {

bool GetEnv(const char* name, std::string& value)
{
    value.clear();
    if (name == nullptr)
        return false;
    const char* text = std::getenv(name);
    if (text == nullptr)
        return false;
    value = text;
    return true;
}

std::string GetEnvOrEmpty(const char* name)
{
    std::string value;
    GetEnv(name, value);
    return value;
}

} // namespace dvk
