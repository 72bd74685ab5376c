// The request is built top-level design by top-level design: each design's uses are placed under
// its first placement only (a further placement stands for the same contents), without recursion.
#include "ManifestCheckin.h"

#include <exception>
#include <unordered_set>
#include <utility>
#include <vector>

#include <QorviCSECommon.h>

#include "AssemblyManifest.h"
#include "LocalDesignFile.h"
#include "TextTable.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

CSEString Text(const std::string& text)
{
    return CSEString(text.c_str());
}

void AddPairs(const AssemblyManifest::Pairs& pairs, CSEAttributeVector& attributes)
{
    for (const auto& pair : pairs)
        attributes.push_back(CSEAttribute(Text(pair.first), Text(pair.second)));
}

CSEObjectInfo ObjectOf(const AssemblyManifest& manifest, int index)
{
    const AssemblyManifest::Design& design = manifest.Designs()[index];
    CSEObjectInfo object;
    // The name is the design's identity in the request.
    object.cadId = Text(design.name);
    object.name = Text(design.name);
    std::string files;
    for (const std::string& file : design.files)
        files += (files.empty() ? "" : "|") + file;
    object.fileName = Text(files);
    object.dirName = Text(manifest.FilesFolder());
    object.type = Text(design.type);
    object.busType = Text(design.serverType);
    object.busRevision = Text(design.revision);
    AddPairs(design.attributes, object.attributes);
    return object;
}

CSERelationship RelationshipOf(const AssemblyManifest& manifest, int index)
{
    const AssemblyManifest::Use& use = manifest.Uses()[index];
    CSERelationship relationship;
    relationship.rid = Text("r" + std::to_string(index + 1));
    relationship.cadRelationship = Text(use.relationship);
    relationship.topNode = Text(use.topNode);
    relationship.quantity = use.quantity;
    AddPairs(use.attributes, relationship.attributes);
    relationship.attributes.push_back(CSEAttribute(CSEString(u"Quantity"), Text(std::to_string(use.quantity))));
    return relationship;
}

} // namespace

bool ManifestCheckin::BuildRequest(const AssemblyManifest& manifest, CSECheckinCmd& command)
{
    try {
        return PlaceDesigns(manifest, command);
    } catch (const std::exception&) {
        return false; // the library has logged what it could not write, or memory ran out
    }
}

bool ManifestCheckin::PlaceDesigns(const AssemblyManifest& manifest, CSECheckinCmd& command)
{
    const std::vector<std::vector<int>> usesByParent = manifest.UsesByParent();
    std::vector<char> expanded(manifest.Designs().size(), 0);
    CSEProgressBar progress(static_cast<int>(manifest.TopLevel().size() + manifest.Uses().size()));
    for (int top : manifest.TopLevel()) {
        progress.ProgressShowNextStep(Text(manifest.Designs()[top].name));
        const int root = command.CreateRootObject(ObjectOf(manifest, top));
        if (root < 0)
            return false;
        expanded[top] = 1;
        std::vector<std::pair<int, int>> pending{{top, root}}; // design, its structure node
        while (!pending.empty()) {
            const auto [design, node] = pending.back();
            pending.pop_back();
            std::vector<std::pair<int, int>> children;
            for (int use : usesByParent[design]) {
                const int child = manifest.Uses()[use].child;
                progress.ProgressShowNextStep(Text(manifest.Designs()[child].name));
                CSEObjectInfo object = ObjectOf(manifest, child);
                const int childNode = command.AddObject(node, object, RelationshipOf(manifest, use));
                if (childNode <= 0)
                    return false;
                if (!expanded[child]) {
                    expanded[child] = 1;
                    children.emplace_back(child, childNode);
                }
            }
            pending.insert(pending.end(), children.rbegin(), children.rend());
        }
    }
    return true;
}

ManifestCheckin::Outcome ManifestCheckin::Run(const AssemblyManifest& manifest, std::FILE* out, std::string& error)
{
    std::fprintf(out, "checkin:    %zu designs, %zu relationships from %s\n", manifest.Designs().size(),
                 manifest.Uses().size(), manifest.FilesFolder().c_str());
    CSECheckinCmd command;
    command.AddCheckinModeinXMLRequestPacket();
    if (!BuildRequest(manifest, command)) {
        error = "the check-in request could not be made (see the library log)";
        return Outcome::Failed;
    }
    const Outcome exchanged = LocalDesignFile::Exchange(command, "check-in", error);
    if (exchanged != Outcome::Succeeded)
        return exchanged;

    // What the service stored, object by object.
    const int count = command.GetNumObjectsFromFinalResponse();
    std::unordered_set<std::string> answered;
    std::vector<std::vector<std::string>> rows{{"object", "server type", "version", "status"}};
    {
        CSEProgressBar progress(count);
        for (int i = 0; i < count; ++i) {
            const CSEObjectInfo object = command.GetObjectFromFinalResponse(i);
            progress.ProgressShowNextStep(object.name);
            answered.insert(Utf8(object.cadId));
            rows.push_back({Utf8(object.name), Utf8(object.busType), Utf8(object.qxVersion), Utf8(object.designStatus)});
        }
    }
    TextTable::Print(rows, out);
    std::fprintf(out, "checked in: %d objects\n", count);
    for (const AssemblyManifest::Design& design : manifest.Designs()) {
        if (answered.count(design.name) == 0) {
            error = "the service's answer does not list the design '" + design.name + "'";
            return Outcome::Failed;
        }
    }
    return Outcome::Succeeded;
}
