// Test helper: recognises a 24-character asctime-style stamp ("Wed Jan  3 04:05:06 2024").
#ifndef QORVI_TESTS_HOST_ASCTIMEMATCHER_H
#define QORVI_TESTS_HOST_ASCTIMEMATCHER_H

#include <ctime>
#include <string>

// The text read as a time and written back in the C library's asctime layout gives the same text.
inline bool IsAscTimeStamp(const std::string& text)
{
    static const char layout[] = "%a %b %e %H:%M:%S %Y";
    std::tm time{};
    const char* end = strptime(text.c_str(), layout, &time);
    char written[32] = {};
    return end != nullptr && *end == '\0' && std::strftime(written, sizeof written, layout, &time) == 24 &&
           text == written;
}

#endif
