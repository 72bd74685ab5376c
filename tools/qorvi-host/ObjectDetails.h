// Asks the server for the state of local design files and prints it as a table: status, lock
// holder, check-in access, server type, name, revision and version.
#ifndef QORVI_HOST_OBJECTDETAILS_H
#define QORVI_HOST_OBJECTDETAILS_H

#include <cstdio>
#include <string>
#include <vector>

#include "DesignCheckout.h"

class ObjectDetails
{
public:
    static DesignCheckout::Outcome Run(const std::vector<std::string>& files, std::FILE* out, std::string& error);
};

#endif
