// Time stamps in the C asctime layout, independent of the process locale.
#ifndef QORVI_HOST_DVKTIME_H
#define QORVI_HOST_DVKTIME_H

#include <ctime>
#include <string>

namespace dvk {

// "Www Mmm dd hh:mm:ss yyyy" (24 characters, day blank-padded, English names, no line feed).
std::string FormatAscTime(const std::tm& time);

// The current local time in that layout.
std::string LocalAscTimeStamp();

} // namespace dvk

#endif
