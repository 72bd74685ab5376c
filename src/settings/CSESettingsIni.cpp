// Parser of the "settings.ini" text: sections in brackets, key=value lines, nothing trimmed.
#include "settings/CSESettingsIni.h"

#include "host/DVKUtf.h"

namespace cse {
namespace {

// Applies one physical line (already without its line feed) to the table.
void ParseLine(std::u16string line, std::u16string& section, CSESettingsTable& table)
{
    const std::u16string::size_type cr = line.find(u'\r');
    if (cr != std::u16string::npos)
        line.erase(cr);
    if (line.empty())
        return;
    if (line.front() == u'[') {
        const std::u16string::size_type close = line.rfind(u']');
        if (close != std::u16string::npos) {
            section = line.substr(1, close - 1);
            table[section];
            return;
        }
    }
    const std::u16string::size_type equals = line.find(u'=');
    if (equals == std::u16string::npos) {
        table[section][line].clear();
        return;
    }
    table[section][line.substr(0, equals)] = line.substr(equals + 1);
}

} // namespace

void ParseSettingsText(const std::string& utf8Text, CSESettingsTable& table)
{
    std::string::size_type start = 0;
    // A byte-order mark written by some editors is not part of the first line.
    if (utf8Text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    std::u16string section;
    while (start < utf8Text.size()) {
        std::string::size_type end = utf8Text.find('\n', start);
        if (end == std::string::npos)
            end = utf8Text.size();
        ParseLine(dvk::Utf8ToUtf16(utf8Text.data() + start, end - start), section, table);
        start = end + 1;
    }
}

} // namespace cse
