// Asks the service to bring local files up to date from the server, either every file of the user
// or the files named, and prints what was updated and what failed as a table.
#ifndef QORVI_HOST_UPDATECHECK_H
#define QORVI_HOST_UPDATECHECK_H

#include <cstdio>
#include <string>
#include <vector>

#include "DesignCheckout.h"

class UpdateCheck
{
public:
    // All files ("checkforupdateall") when files is empty, else the files named
    // ("checkforupdatecurrent"). Failed when a file could not be updated (error says how many).
    static DesignCheckout::Outcome Run(const std::vector<std::string>& files, std::FILE* out, std::string& error);
};

#endif
