// Turns the options for local design files into the host's steps.
#include "LocalFileSteps.h"

#include "AttributeSync.h"
#include "ObjectDetails.h"
#include "UpdateCheck.h"

std::vector<LocalFileStep> LocalFileSteps::From(const HostOptions& options)
{
    std::vector<LocalFileStep> steps;
    static const std::vector<std::string> kEveryFile;
    if (options.updateAll)
        steps.push_back({"update check", [](std::FILE* out, std::string& error) {
                             return UpdateCheck::Run(kEveryFile, out, error);
                         }});
    if (!options.updateFiles.empty())
        steps.push_back({"update check", [&options](std::FILE* out, std::string& error) {
                             return UpdateCheck::Run(options.updateFiles, out, error);
                         }});
    if (!options.syncToFiles.empty())
        steps.push_back({"attribute sync", [&options](std::FILE* out, std::string& error) {
                             return AttributeSync::Run(options.syncToFiles, true, out, error);
                         }});
    if (!options.syncFromFiles.empty())
        steps.push_back({"attribute sync", [&options](std::FILE* out, std::string& error) {
                             return AttributeSync::Run(options.syncFromFiles, false, out, error);
                         }});
    if (!options.detailFiles.empty())
        steps.push_back({"details request", [&options](std::FILE* out, std::string& error) {
                             return ObjectDetails::Run(options.detailFiles, out, error);
                         }});
    return steps;
}
