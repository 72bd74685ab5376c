/// \file
/// CSELqlCmd: the "lql" command, a server query whose text travels in the element "lql".
#ifndef CSELQLCMD_H
#define CSELQLCMD_H

#include "CSECommand.h"

/// The "lql" command, a server query whose text travels in the element "lql".
class CSELqlCmd : public CSECommand
{
public:
    /// Builds the request envelope: throws the CSEException of CSEClientSettings::GetInstance when
    /// the installation folder is not set.
    CSELqlCmd();
    ~CSELqlCmd() override;

    /// Appends the query text to "//command/lql".
    void setLQLCommand(const CSEString& query);
};

#endif
