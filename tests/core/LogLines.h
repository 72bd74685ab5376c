// Test helper: the texts of a log's lines of one priority, without their "<p>" and time stamp.
#ifndef QORVI_TESTS_CORE_LOGLINES_H
#define QORVI_TESTS_CORE_LOGLINES_H

#include <algorithm>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

// A line reads "<p>" + time stamp in the C library's asctime layout (24 characters) + ":" + text;
// a line whose stamp is not in that layout is not counted.
inline std::vector<std::string> LogTextsAt(const std::string& log, int priority)
{
    static const char layout[] = "%a %b %e %H:%M:%S %Y";
    const std::string head = "<" + std::to_string(priority) + ">";
    std::vector<std::string> texts;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, head.size(), head) != 0 || line.size() <= head.size() + 24 ||
            line[head.size() + 24] != ':')
            continue;
        const std::string stamp = line.substr(head.size(), 24);
        std::tm time{};
        char written[32] = {};
        const char* end = strptime(stamp.c_str(), layout, &time);
        if (end != nullptr && *end == '\0' && std::strftime(written, sizeof written, layout, &time) == 24 &&
            stamp == written)
            texts.push_back(line.substr(head.size() + 25));
    }
    return texts;
}

// True when the log holds a line of that priority whose text is exactly text.
inline bool LogHasLine(const std::string& log, int priority, const std::string& text)
{
    const std::vector<std::string> texts = LogTextsAt(log, priority);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

#endif
