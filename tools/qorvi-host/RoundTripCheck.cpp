// Designs are matched by name; uses are compared as sorted lists of their descriptions, so that a
// use missing on one side and one too many on the other are both named.
#include "RoundTripCheck.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_map>

#include <QorviCSECommon.h>

#include "AssemblyManifest.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

// Names and values sorted, "name=value" joined by "; ".
std::string Described(AssemblyManifest::Pairs pairs)
{
    std::sort(pairs.begin(), pairs.end());
    std::string text;
    for (const auto& pair : pairs)
        text += (text.empty() ? "" : "; ") + pair.first + "=" + pair.second;
    return text;
}

AssemblyManifest::Pairs PairsOf(const CSEAttributeVector& attributes, const char* leftOut)
{
    AssemblyManifest::Pairs pairs;
    for (int i = 0; i < attributes.size(); ++i)
        if (Utf8(attributes[i].name) != leftOut)
            pairs.emplace_back(Utf8(attributes[i].name), Utf8(attributes[i].value));
    return pairs;
}

std::string Joined(const std::vector<std::string>& files)
{
    std::string text;
    for (const std::string& file : files)
        text += (text.empty() ? "" : "|") + file;
    return text;
}

std::string UseText(const std::string& parent, const std::string& child, const std::string& relationship,
                    const std::string& topNode, int quantity, const std::string& attributes)
{
    return Quoted(parent) + " uses " + Quoted(child) + " (" + relationship + ", topnode " + topNode + ", quantity " +
           std::to_string(quantity) + (attributes.empty() ? "" : ", " + attributes) + ")";
}

// The content of the file, false when it cannot be read.
bool ReadFile(const std::string& path, std::string& content)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return false;
    std::ostringstream buffer;
    buffer << stream.rdbuf();
    content = buffer.str();
    return !stream.bad();
}

void CompareFiles(const AssemblyManifest& manifest, const AssemblyManifest::Design& design,
                  const std::string& folder, std::vector<std::string>& differences)
{
    for (const std::string& file : design.files) {
        std::string checkedIn, checkedOut;
        const std::string from = manifest.FilesFolder() + "/" + file;
        const std::string to = folder + "/" + file;
        if (!ReadFile(from, checkedIn))
            differences.push_back("the checked-in file " + Quoted(from) + " cannot be read");
        else if (!ReadFile(to, checkedOut))
            differences.push_back("the checked-out file " + Quoted(to) + " cannot be read");
        else if (checkedIn != checkedOut)
            differences.push_back("the checked-out file " + Quoted(to) + " differs from " + Quoted(from));
    }
}

} // namespace

std::vector<std::string> RoundTripCheck::Differences(const AssemblyManifest& manifest, int design,
                                                     const CSEObjectInfoVector& objects,
                                                     const CSERelationshipVector& relationships,
                                                     const std::string& folder)
{
    std::vector<std::string> differences;
    const std::vector<int> reached = manifest.Reached(design);
    std::vector<char> inside(manifest.Designs().size(), 0);
    for (int index : reached)
        inside[index] = 1;
    std::unordered_map<std::string, int> records; // name -> object index
    std::unordered_map<std::string, std::string> names; // cadid -> name
    for (int i = 0; i < objects.size(); ++i) {
        const std::string name = Utf8(objects[i].name);
        names[Utf8(objects[i].cadId)] = name;
        if (!records.emplace(name, i).second)
            differences.push_back("the checkout lists the design " + Quoted(name) + " twice");
        else if (manifest.Find(name) < 0 || !inside[manifest.Find(name)])
            differences.push_back("the checkout holds " + Quoted(name) + ", which was not checked in under " +
                                  Quoted(manifest.Designs()[design].name));
    }

    for (int index : reached) {
        const AssemblyManifest::Design& expected = manifest.Designs()[index];
        const auto found = records.find(expected.name);
        if (found == records.end()) {
            differences.push_back("the checkout lacks the design " + Quoted(expected.name));
            continue;
        }
        const CSEObjectInfo& record = objects[found->second];
        const std::string fields[][3] = {
            {"CAD type", expected.type, Utf8(record.type)},
            {"server type", expected.serverType, Utf8(record.busType)},
            {"revision", expected.revision, Utf8(record.busRevision)},
            {"files", Joined(expected.files), Utf8(record.fileName)},
            {"attributes", Described(expected.attributes), Described(PairsOf(record.attributes, ""))},
        };
        bool sameFiles = true;
        for (const auto& field : fields) {
            if (field[1] == field[2])
                continue;
            differences.push_back(Quoted(expected.name) + ": " + field[0] + " checked in " + Quoted(field[1]) +
                                  ", checked out " + Quoted(field[2]));
            sameFiles = sameFiles && field[0] != std::string("files");
        }
        if (sameFiles)
            CompareFiles(manifest, expected, folder, differences);
    }

    std::vector<std::string> checkedIn, checkedOut;
    for (const AssemblyManifest::Use& use : manifest.Uses())
        if (inside[use.parent])
            checkedIn.push_back(UseText(manifest.Designs()[use.parent].name, manifest.Designs()[use.child].name,
                                        use.relationship, use.topNode, use.quantity, Described(use.attributes)));
    for (int i = 0; i < relationships.size(); ++i) {
        const CSERelationship& use = relationships[i];
        checkedOut.push_back(UseText(names[Utf8(use.parentCadId)], names[Utf8(use.childCadId)],
                                     Utf8(use.cadRelationship), Utf8(use.topNode), use.quantity,
                                     Described(PairsOf(use.attributes, "Quantity"))));
    }
    std::sort(checkedIn.begin(), checkedIn.end());
    std::sort(checkedOut.begin(), checkedOut.end());
    std::vector<std::string> missing, extra;
    std::set_difference(checkedIn.begin(), checkedIn.end(), checkedOut.begin(), checkedOut.end(),
                        std::back_inserter(missing));
    std::set_difference(checkedOut.begin(), checkedOut.end(), checkedIn.begin(), checkedIn.end(),
                        std::back_inserter(extra));
    for (const std::string& text : missing)
        differences.push_back("the checkout lacks the use: " + text);
    for (const std::string& text : extra)
        differences.push_back("the checkout has a use that was not checked in: " + text);
    return differences;
}
