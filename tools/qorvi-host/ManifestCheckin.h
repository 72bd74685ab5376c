// Checks the assembly of a manifest in through the library's check-in command: every design as an
// object of the request (its files read from the manifest's folder), every relationship as a use,
// each design's contents placed once; then prints, per object, what the service answered.
#ifndef QORVI_HOST_MANIFESTCHECKIN_H
#define QORVI_HOST_MANIFESTCHECKIN_H

#include <cstdio>
#include <string>

#include "DesignCheckout.h"

class AssemblyManifest;
class CSECheckinCmd;

class ManifestCheckin
{
public:
    using Outcome = DesignCheckout::Outcome;

    // Failed: error says why (the service's reason when it refused).
    static Outcome Run(const AssemblyManifest& manifest, std::FILE* out, std::string& error);

    // Writes the manifest's structure into the command's request; false when the request could not
    // take an object.
    static bool BuildRequest(const AssemblyManifest& manifest, CSECheckinCmd& command);

private:
    static bool PlaceDesigns(const AssemblyManifest& manifest, CSECheckinCmd& command);
};

#endif
