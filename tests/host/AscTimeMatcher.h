// Test helper: recognises a 24-character asctime-style stamp ("Wed Jan  3 04:05:06 2024").
#ifndef QORVI_TESTS_HOST_ASCTIMEMATCHER_H
#define QORVI_TESTS_HOST_ASCTIMEMATCHER_H

#include <string>

inline bool IsAscTimeStamp(const std::string& text)
{
    // D = digit, d = blank or digit, N = letter of a day or month name, anything else literal.
    static const std::string layout = "NNN NNN dD DD:DD:DD DDDD";
    if (text.size() != layout.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        const char want = layout[i];
        if (want == 'D' ? !digit : want == 'd' ? !digit && text[i] != ' ' : want != 'N' && text[i] != want)
            return false;
    }
    const auto named = [](const std::string& names, const std::string& name) {
        const std::string::size_type at = names.find(name);
        return at != std::string::npos && at % 3 == 0;
    };
    return named("SunMonTueWedThuFriSat", text.substr(0, 3)) &&
           named("JanFebMarAprMayJunJulAugSepOctNovDec", text.substr(4, 3));
}

#endif
