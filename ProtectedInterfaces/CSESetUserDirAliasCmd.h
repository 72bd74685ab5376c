/// \file
/// CSESetUserDirAliasCmd: the "setuserdiralias" command, which hands the service the user's folder
/// aliases.
#ifndef CSESETUSERDIRALIASCMD_H
#define CSESETUSERDIRALIASCMD_H

#include "CSECommand.h"

class CSEStringCSEStringMap;

/// The "setuserdiralias" command, which hands the service the user's folder aliases.
class CSESetUserDirAliasCmd : public CSECommand
{
public:
    CSESetUserDirAliasCmd();
    ~CSESetUserDirAliasCmd() override;

    /// A new "userdiraliaslist" under "//command" with one "userdiralias" (alias name, and the
    /// folder in "value") per entry, in the map's order.
    void PopulateUserDirAlias(CSEStringCSEStringMap& aliases);
};

#endif
