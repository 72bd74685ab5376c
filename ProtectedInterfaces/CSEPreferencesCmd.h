/// \file
/// CSEPreferencesCmd: the "preferences" command, which asks the service for the user's preferences.
#ifndef CSEPREFERENCESCMD_H
#define CSEPREFERENCESCMD_H

#include "CSECommand.h"

/// The "preferences" command, which asks the service for the user's preferences.
class CSEPreferencesCmd : public CSECommand
{
public:
    CSEPreferencesCmd();
    ~CSEPreferencesCmd() override;
};

#endif
