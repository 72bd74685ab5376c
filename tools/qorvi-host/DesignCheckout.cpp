// The calling order is the library's: Execute, getObjectInfoList (which every other read relies
// on), getRelationshipList, the top-level search.
#include "DesignCheckout.h"

#include <unordered_map>

#include <QorviCSECommon.h>

#include "DesignCheckoutCmd.h"
#include "LocalDesignFile.h"
#include "PlacementCheck.h"
#include "StructureTree.h"

namespace {

const char16_t kRelationships[] = u"//response/info/relationshiplist/relationship";
const char16_t kObjects[] = u"//response/info/cadobjectlist/cadobject";
const char16_t kStructureRoots[] = u"//response/info/structure/cadobject";

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

} // namespace

std::vector<std::string> DesignCheckout::RidOrder(CSEXMLPacket* packet)
{
    std::vector<std::string> rids;
    if (packet == nullptr)
        return rids;
    const CSEString path(kRelationships);
    const int count = packet->getNodeCount(path);
    for (int i = 0; i < count; ++i) {
        CSEString rid;
        packet->getAttributeValueAt(path, i, CSEString(u"rid"), rid);
        rids.push_back(Utf8(rid));
    }
    return rids;
}

void DesignCheckout::AddRevisions(CSEXMLPacket* packet, CSEObjectInfoVector& objects)
{
    if (packet == nullptr)
        return;
    std::unordered_map<std::string, std::string> revisions;
    const CSEString path(kObjects);
    const int count = packet->getNodeCount(path);
    for (int i = 0; i < count; ++i) {
        CSEString cadId, revision;
        packet->getAttributeValueAt(path, i, CSEString(u"cadid"), cadId);
        packet->getAttributeValueAt(path, i, CSEString(u"busrevision"), revision);
        revisions.emplace(Utf8(cadId), Utf8(revision));
    }
    for (int i = 0; i < objects.size(); ++i) {
        const auto found = revisions.find(Utf8(objects[i].cadId));
        if (found != revisions.end())
            objects[i].busRevision = CSEString(found->second.c_str());
    }
}

DesignCheckout::Outcome DesignCheckout::Run(const std::string& design, const std::string& folder, bool lock,
                                            std::FILE* out, std::string& error, CSEObjectInfoVector* objectsOut,
                                            CSERelationshipVector* relationshipsOut)
{
    std::fprintf(out, "checkout:   %s into %s%s\n", design.c_str(), folder.c_str(), lock ? ", locked" : "");
    DesignCheckoutCmd command;
    if (!command.AddDesign(CSEString(design.c_str()), CSEString(folder.c_str()), lock)) {
        error = "the checkout request could not be made (see the library log)";
        return Outcome::Failed;
    }
    const Outcome exchanged = LocalDesignFile::Exchange(command, "checkout", error);
    if (exchanged != Outcome::Succeeded)
        return exchanged;

    CSEObjectInfoVector objects;
    CSERelationshipVector relationships;
    try {
        command.getObjectInfoList(objects);
        command.getRelationshipList(relationships);
    } catch (const CSEException& refusal) {
        error = "the checkout answer cannot be used: " + Utf8(refusal.GetMsg()) +
                " (the service has placed the files in '" + folder + "' and taken any lock asked for all the same)";
        return Outcome::Failed;
    }
    if (objectsOut != nullptr) {
        *objectsOut = objects;
        AddRevisions(command.AnswerPacket(), *objectsOut);
    }
    if (relationshipsOut != nullptr)
        *relationshipsOut = relationships;
    command.findAllTopLevelObjects(CSEString(kStructureRoots), command.AnswerPacket(), objects);
    const CSEObjectInfoVector topLevelObjects = command.GetTopLevelObjectInfoList();
    std::vector<std::string> topLevel;
    for (int i = 0; i < topLevelObjects.size(); ++i)
        topLevel.push_back(Utf8(topLevelObjects[i].cadId));

    PlacementCheck placement(folder);
    std::unordered_map<std::string, std::string> problems;
    {
        CSEProgressBar progress(objects.size());
        for (int i = 0; i < objects.size(); ++i) {
            progress.ProgressShowNextStep(objects[i].name);
            const std::string problem = placement.Problem(objects[i]);
            if (!problem.empty())
                problems.emplace(Utf8(objects[i].cadId), problem);
        }
    }
    StructureTree::Print(StructureTree::Lines(objects, relationships, topLevel, RidOrder(command.AnswerPacket())),
                         objects, problems, out);
    std::fprintf(out, "checked out: %d objects, %d relationships, %d top-level\n", objects.size(),
                 relationships.size(), topLevelObjects.size());

    const std::string answerFolder = Utf8(command.GetCheckoutDirectory());
    if (answerFolder != folder) {
        error = "the answer names the checkout folder '" + answerFolder + "', not '" + folder + "'";
        return Outcome::Failed;
    }
    if (!problems.empty()) {
        error = std::to_string(problems.size()) + " of " + std::to_string(objects.size()) +
                " objects do not keep to the checkout folder (see FAILED above); the host uses none of their files";
        return Outcome::Failed;
    }
    return Outcome::Succeeded;
}
