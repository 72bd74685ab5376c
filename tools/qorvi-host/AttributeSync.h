// Synchronises the attributes of local design files with the server in one direction and prints,
// per file, whether it succeeded, whether the CAD file is to take the server's values, the
// service's message and the attribute values as a table.
#ifndef QORVI_HOST_ATTRIBUTESYNC_H
#define QORVI_HOST_ATTRIBUTESYNC_H

#include <cstdio>
#include <string>
#include <vector>

#include "DesignCheckout.h"
#include "HostOptions.h"

class AttributeSync
{
public:
    // toServer: the CAD values (the attributes of each file) go to the server; otherwise the
    // server's values come back. Failed when a file did not succeed (error says how many).
    static DesignCheckout::Outcome Run(const std::vector<HostOptions::SyncFile>& files, bool toServer,
                                       std::FILE* out, std::string& error);
};

#endif
