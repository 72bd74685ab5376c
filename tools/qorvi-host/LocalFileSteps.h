// The steps of the demo host that work on local design files, in the order they run: update
// checks, attribute synchronisation to and from the server, object details.
#ifndef QORVI_HOST_LOCALFILESTEPS_H
#define QORVI_HOST_LOCALFILESTEPS_H

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "DesignCheckout.h"
#include "HostOptions.h"

struct LocalFileStep
{
    // What the user reads when the step gets no answer in time ("update check").
    std::string name;
    std::function<DesignCheckout::Outcome(std::FILE* out, std::string& error)> run;
};

class LocalFileSteps
{
public:
    // The steps the options ask for; the options must outlive them.
    static std::vector<LocalFileStep> From(const HostOptions& options);
};

#endif
