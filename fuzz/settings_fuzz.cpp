// libFuzzer target: any bytes as "settings.ini" text must parse without a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/CSESettingsIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CSESettingsTable table;
    cse::ParseSettingsText(std::string(reinterpret_cast<const char*>(data), size), table);
    // Reading twice into the same table is what a re-read does; it must not lose sections.
    const std::size_t sections = table.size();
    cse::ParseSettingsText(std::string(reinterpret_cast<const char*>(data), size), table);
    if (table.size() != sections)
        __builtin_trap();
    return 0;
}
