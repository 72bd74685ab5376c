// The progress of a long step on the terminal: one line redrawn in place on a terminal, a line per
// tenth of the way elsewhere (a log or a pipe should not get a line per object of a large assembly).
#ifndef QORVI_HOST_PROGRESSDISPLAY_H
#define QORVI_HOST_PROGRESSDISPLAY_H

#include <cstdio>
#include <string>

class ProgressDisplay
{
public:
    // redraw: out is a terminal, whose line is rewritten at each change.
    ProgressDisplay(std::FILE* out, bool redraw);

    // Opens a display of steps steps (at least 1); an open one is closed first.
    void Start(int steps);
    // One step done, text naming what it worked on; beyond the last step it stays at the last.
    void Step(const std::string& text);
    // Closes the display; nothing when none is open.
    void End();

private:
    void Show(const std::string& text);

    std::FILE* m_out;
    bool m_bRedraw;
    bool m_bOpen = false;
    int m_steps = 0;
    int m_done = 0;
    // What was last shown: the percentage on a terminal, the tenth elsewhere.
    int m_shown = -1;
    std::size_t m_drawnWidth = 0;
};

#endif
