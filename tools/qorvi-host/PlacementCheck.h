// Checks, object by object, that a checkout answer keeps to the folder the host asked for: every
// file the answer reports is a plain name in that folder, placed there as a regular file and
// reported by no other object. The host acts on no file that fails.
#ifndef QORVI_HOST_PLACEMENTCHECK_H
#define QORVI_HOST_PLACEMENTCHECK_H

#include <string>
#include <unordered_map>

class CSEObjectInfo;

class PlacementCheck
{
public:
    // folder: absolute and canonical, as the request named it.
    explicit PlacementCheck(std::string folder);

    // Empty when the object keeps to the folder (one without a file always does); otherwise why not.
    std::string Problem(const CSEObjectInfo& object);

    // Not empty, not "." or "..", and no "/", "\" or control character: a name that stays in its folder.
    static bool IsPlainName(const std::string& name);

private:
    std::string FileProblem(const std::string& name, const std::string& reportedPath, const std::string& owner);

    std::string m_folder;
    // Each file reported so far, and the object that reported it.
    std::unordered_map<std::string, std::string> m_owners;
};

#endif
