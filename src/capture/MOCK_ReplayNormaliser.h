// MOCK_ReplayNormaliser: reads a request or response document into the normalised records that
// replay compares.
#ifndef QORVI_CAPTURE_MOCK_REPLAYNORMALISER_H
#define QORVI_CAPTURE_MOCK_REPLAYNORMALISER_H

#include <string>

#include "capture/MOCK_MessageRoot.h"
#include "host/DVKXmlNode.h"

class MOCK_ReplayNormaliser
{
public:
    // Fills root from the document element. Relationships come from the one "relationshiplist",
    // objects from the one "cadobjectlist", their tree from the "active" part of the one
    // "structure" (every object is a root when there is none). Children and roots are sorted with
    // the object ordering; password values read as masked, as in the logs.
    // False for a broken document (missing, duplicate or unknown ids, a section given twice, an
    // object placed inside itself): brokenCondition then names the condition that does not hold.
    static bool Normalise(const dvk::XmlNode& documentElement, MOCK_MessageRoot& root,
                          std::string& brokenCondition);
};

#endif
