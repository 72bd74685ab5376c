// Test helper: the texts of a log's lines of one priority, without their "<p>" and time stamp.
#ifndef QORVI_TESTS_CORE_LOGLINES_H
#define QORVI_TESTS_CORE_LOGLINES_H

#include <algorithm>
#include <string>
#include <vector>

// A line reads "<p>" + 24-character time stamp + ":" + text.
inline std::vector<std::string> LogTextsAt(const std::string& log, int priority)
{
    const std::string head = "<" + std::to_string(priority) + ">";
    const std::size_t textStart = head.size() + 24 + 1;
    std::vector<std::string> texts;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        if (line.compare(0, head.size(), head) == 0 && line.size() >= textStart && line[textStart - 1] == ':')
            texts.push_back(line.substr(textStart));
        start = end + 1;
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
