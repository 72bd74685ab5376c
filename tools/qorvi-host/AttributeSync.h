// Synchronises the attributes of local design files with the server in one direction and prints,
// per file, whether it succeeded, the service's message and the attribute values as a table.
#ifndef QORVI_HOST_ATTRIBUTESYNC_H
#define QORVI_HOST_ATTRIBUTESYNC_H

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "DesignCheckout.h"

class AttributeSync
{
public:
    using Attributes = std::vector<std::pair<std::string, std::string>>;

    // toServer: the CAD values (attributes, sent with every file) go to the server; otherwise the
    // server's values come back. Failed when a file did not succeed (error says how many).
    static DesignCheckout::Outcome Run(const std::vector<std::string>& files, const Attributes& attributes,
                                       bool toServer, std::FILE* out, std::string& error);
};

#endif
