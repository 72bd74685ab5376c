// The names come from the answer as the library read them (file names joined by "|", one per
// format, and the full paths the library made of them); the files are looked at without following
// links.
#include "PlacementCheck.h"

#include <sys/stat.h>

#include <utility>
#include <vector>

#include <CSEObjectInfo.h>

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> pieces;
    std::size_t begin = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', begin)) {
        pieces.push_back(text.substr(begin, bar - begin));
        begin = bar + 1;
    }
    pieces.push_back(text.substr(begin));
    return pieces;
}

} // namespace

PlacementCheck::PlacementCheck(std::string folder) : m_folder(std::move(folder))
{
}

bool PlacementCheck::IsPlainName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const unsigned char unit = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || unit < 0x20 || unit == 0x7F)
            return false;
    }
    return true;
}

std::string PlacementCheck::Problem(const CSEObjectInfo& object)
{
    const std::string fileNames = Utf8(object.fileName);
    if (fileNames.empty())
        return std::string(); // no file (where the site allows that): nothing placed, nothing to check
    const std::string folder = Utf8(object.dirName);
    if (folder != m_folder)
        return "its folder '" + folder + "' is not the checkout folder";
    const std::vector<std::string> names = Split(fileNames);
    const std::vector<std::string> paths = Split(Utf8(object.fullFileName));
    const std::string owner = Utf8(object.name);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string problem = FileProblem(names[i], i < paths.size() ? paths[i] : std::string(), owner);
        if (!problem.empty())
            return problem;
    }
    return std::string();
}

std::string PlacementCheck::FileProblem(const std::string& name, const std::string& reportedPath,
                                        const std::string& owner)
{
    if (!IsPlainName(name))
        return "its file name '" + name + "' is not a plain name in the checkout folder";
    const std::string path = m_folder + (m_folder.back() == '/' ? "" : "/") + name;
    if (reportedPath != path)
        return "its file '" + name + "' is reported at '" + reportedPath + "', not in the checkout folder";
    const auto claimed = m_owners.emplace(name, owner);
    if (!claimed.second)
        return "its file '" + name + "' is also the file of '" + claimed.first->second + "'";
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0)
        return "its file '" + name + "' was not placed in the checkout folder";
    if (!S_ISREG(status.st_mode))
        return "its file '" + name + "' is not a plain file (a link or a folder is in its place)";
    return std::string();
}
