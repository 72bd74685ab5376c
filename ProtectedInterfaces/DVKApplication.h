/// \file
/// The host application object: gives the host's user interface a turn while the library waits.
#ifndef DVKAPPLICATION_H
#define DVKAPPLICATION_H

/// The host application object: gives the host's user interface a turn while the library waits.
class DVKApplication
{
public:
    virtual ~DVKApplication() = default;
    virtual void PumpMessages() = 0;

    static void SetCurrent(DVKApplication* application);
    static DVKApplication* GetCurrent();
};

#endif
