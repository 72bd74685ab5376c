// The plug-in's interface turn: while the library waits for the integration service, it calls
// PumpMessages now and then so that the CAD application can repaint and stay responsive. A plug-in
// runs one pass of the CAD application's event loop there; this one only counts the turns.
#ifndef MINIMAL_PLUGIN_PLUGINTURN_H
#define MINIMAL_PLUGIN_PLUGINTURN_H

#include <DVKApplication.h>

class PluginTurn : public DVKApplication
{
public:
    void PumpMessages() override;
    long Turns() const { return m_turns; }

private:
    long m_turns = 0;
};

#endif
