// Test helper: recognises a 24-character asctime-style stamp ("Wed Jan  3 04:05:06 2024").
#ifndef QORVI_TESTS_HOST_ASCTIMEMATCHER_H
#define QORVI_TESTS_HOST_ASCTIMEMATCHER_H

#include <cctype>
#include <cstring>
#include <string>

inline bool IsAscTimeStamp(const std::string& text)
{
    static const char* const days = "Sun Mon Tue Wed Thu Fri Sat ";
    static const char* const months = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec ";
    // Layout: D = digit, d = blank or digit, anything else literal; names are checked apart.
    static const char layout[] = "NNN NNN dD DD:DD:DD DDDD";
    if (text.size() != sizeof layout - 1)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (layout[i]) {
        case 'N':
            break;
        case 'D':
            if (!std::isdigit(c))
                return false;
            break;
        case 'd':
            if (c != ' ' && !std::isdigit(c))
                return false;
            break;
        default:
            if (c != static_cast<unsigned char>(layout[i]))
                return false;
        }
    }
    return std::strstr(days, (text.substr(0, 3) + " ").c_str()) != nullptr &&
           std::strstr(months, (text.substr(4, 3) + " ").c_str()) != nullptr;
}

#endif
