// Shows "progress: DONE/STEPS (PERCENT%) TEXT", redrawn only when the percentage changes, so that
// 100,000 steps cost about a hundred writes.
#include "ProgressDisplay.h"

#include <algorithm>

namespace {

// Longest text shown after the counts, in bytes: the line must fit a terminal.
constexpr std::size_t kTextBytes = 48;

// text cut to at most bytes bytes without splitting a UTF-8 sequence.
std::string Cut(const std::string& text, std::size_t bytes)
{
    if (text.size() <= bytes)
        return text;
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end) + "...";
}

} // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out, bool redraw) : m_out(out), m_bRedraw(redraw)
{
}

void ProgressDisplay::Start(int steps)
{
    End();
    m_bOpen = true;
    m_steps = std::max(steps, 1);
    m_done = 0;
    m_shown = -1;
    m_drawnWidth = 0;
}

void ProgressDisplay::Step(const std::string& text)
{
    if (!m_bOpen)
        return;
    m_done = std::min(m_done + 1, m_steps);
    const int percent = static_cast<int>(100LL * m_done / m_steps);
    const int shown = m_bRedraw ? percent : percent / 10;
    if (shown == m_shown && m_done != m_steps)
        return;
    m_shown = shown;
    Show(text);
}

void ProgressDisplay::Show(const std::string& text)
{
    char counts[64];
    std::snprintf(counts, sizeof counts, "progress: %d/%d (%d%%) ", m_done, m_steps,
                  static_cast<int>(100LL * m_done / m_steps));
    std::string line = counts + Cut(text, kTextBytes);
    if (!m_bRedraw) {
        std::fprintf(m_out, "%s\n", line.c_str());
        std::fflush(m_out);
        return;
    }
    const std::size_t width = line.size();
    if (width < m_drawnWidth)
        line.append(m_drawnWidth - width, ' '); // wipes the rest of a longer earlier line
    m_drawnWidth = width;
    std::fprintf(m_out, "\r%s", line.c_str());
    std::fflush(m_out);
}

void ProgressDisplay::End()
{
    if (!m_bOpen)
        return;
    m_bOpen = false;
    if (m_bRedraw && m_drawnWidth > 0)
        std::fprintf(m_out, "\n");
    std::fflush(m_out);
}
