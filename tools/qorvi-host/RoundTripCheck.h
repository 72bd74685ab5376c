// Compares a checkout with the manifest that was checked in: the designs the checked-out design
// contains (CAD type, server type, revision, files, attributes), the bytes of every file, and
// every use (parent, child, relationship, top node, quantity, attributes).
#ifndef QORVI_HOST_ROUNDTRIPCHECK_H
#define QORVI_HOST_ROUNDTRIPCHECK_H

#include <string>
#include <vector>

class AssemblyManifest;
class CSEObjectInfoVector;
class CSERelationshipVector;

class RoundTripCheck
{
public:
    // design: the index of the checked-out design in the manifest; objects and relationships: the
    // checkout's records; folder: where the checkout placed the files. One sentence per
    // difference, none when the checkout holds what was checked in.
    static std::vector<std::string> Differences(const AssemblyManifest& manifest, int design,
                                                const CSEObjectInfoVector& objects,
                                                const CSERelationshipVector& relationships,
                                                const std::string& folder);
};

#endif
