/// \file
/// The host application object: gives the host's user interface a turn while the library waits.
#ifndef DVKAPPLICATION_H
#define DVKAPPLICATION_H

/// The host application object: gives the host's user interface a turn while the library waits.
class DVKApplication
{
public:
    virtual ~DVKApplication() = default;
    /// The host's interface turn: runs one pass of its event loop. Called while the library awaits the
    /// service; it must not start another exchange.
    virtual void PumpMessages() = 0;

    /// Installs the host application (not owned); null removes it.
    static void SetCurrent(DVKApplication* application);
    /// Returns the installed host application; null when none is.
    static DVKApplication* GetCurrent();
};

#endif
