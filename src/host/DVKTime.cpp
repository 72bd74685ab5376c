// Time stamps in the C asctime layout, independent of the process locale.
#include "host/DVKTime.h"

#include <cstdio>

namespace dvk {
namespace {

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

std::string FormatAscTime(const std::tm& time)
{
    // Out-of-range fields are clamped so the stamp keeps its width whatever the input.
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %04d", kDays[Clamp(time.tm_wday, 0, 6)],
                  kMonths[Clamp(time.tm_mon, 0, 11)], Clamp(time.tm_mday, 1, 31),
                  Clamp(time.tm_hour, 0, 23), Clamp(time.tm_min, 0, 59), Clamp(time.tm_sec, 0, 60),
                  Clamp(time.tm_year + 1900, 0, 9999));
    return text;
}

std::string LocalAscTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr)
        return FormatAscTime(std::tm{});
    return FormatAscTime(local);
}

} // namespace dvk
