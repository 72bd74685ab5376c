#include "PluginTurn.h"

void PluginTurn::PumpMessages()
{
    // No command may start from here: the library is in the middle of an exchange.
    ++m_turns;
}
