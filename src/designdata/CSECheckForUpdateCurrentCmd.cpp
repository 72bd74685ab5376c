// CSECheckForUpdateCurrentCmd: the request of "checkforupdatecurrent", the lists of its response and
// the response-shaped second request.
#include "CSECheckForUpdateCurrentCmd.h"

#include <string>
#include <unordered_set>

#include "CSELogger.h"
#include "CSEXMLPacket.h"
#include "commands/CSERequestObject.h"
#include "designdata/CSEFolderPath.h"
#include "designdata/CSEUpdateResults.h"

namespace {

using Field = CSEResponseField<CSEObjectInfo>;

const Field kPath = {u"downloadedpath", &CSEObjectInfo::downloadedPath};
const Field kFileName = {u"filename", &CSEObjectInfo::fileName};
const Field kDirName = {u"dirname", &CSEObjectInfo::dirName};

// Anchored at the root: a "//" search would walk the whole request for every object added.
const char16_t kCommandPath[] = u"/command";
const char16_t kRequestListPath[] = u"/command/cadobjectlist";
const char16_t kRequestObjectsPath[] = u"/command/cadobjectlist/cadobject";
const char16_t kResponsePath[] = u"/response";
const char16_t kSecondListPath[] = u"/response/cadobjectlist";

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

} // namespace

struct CSECheckForUpdateCurrentCmd::ListedFiles
{
    const CSEXMLPacket* packet = nullptr;
    std::unordered_set<std::u16string> names;
};

CSECheckForUpdateCurrentCmd::CSECheckForUpdateCurrentCmd() : m_spListed(std::make_shared<ListedFiles>())
{
    ConstructCommand(CSEString(u"[CSECheckForUpdateCurrentCmd::CSECheckForUpdateCurrentCmd()]"),
                     CSEString(u"checkforupdatecurrent"));
}

CSECheckForUpdateCurrentCmd::CSECheckForUpdateCurrentCmd(const CSECheckForUpdateCurrentCmd& other) = default;
CSECheckForUpdateCurrentCmd&
CSECheckForUpdateCurrentCmd::operator=(const CSECheckForUpdateCurrentCmd& other) = default;
CSECheckForUpdateCurrentCmd::~CSECheckForUpdateCurrentCmd() = default;

CSECheckForUpdateCurrentCmd::ListedFiles& CSECheckForUpdateCurrentCmd::Listed()
{
    ListedFiles& listed = *m_spListed;
    if (listed.packet == m_pCmdXMLPacket)
        return listed;
    // A packet this command has not listed into yet: learn the objects it holds already.
    listed.packet = m_pCmdXMLPacket;
    listed.names.clear();
    const CSEResponseList objects(*m_pCmdXMLPacket, CSEString(kRequestObjectsPath));
    for (int index = 0; index < objects.Count(); ++index)
        listed.names.insert(Units(objects.Attribute(index, CSEString(u"filename"))));
    return listed;
}

void CSECheckForUpdateCurrentCmd::AddCADObjectNode(CSEObjectInfo& obj)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    ListedFiles& listed = Listed();
    if (listed.names.count(Units(obj.fileName)) != 0) {
        CSELogger::LogDebugMsg(u"[CSECheckForUpdateCurrentCmd::AddCADObjectNode] The file " + obj.fileName +
                               u" is listed already");
        return;
    }
    if (m_pCmdXMLPacket->getNodeCount(CSEString(kRequestListPath)) == 0)
        m_pCmdXMLPacket->createChildNode(CSEString(kCommandPath), CSEString(u"cadobjectlist"), CSEString(), 1);
    const int id =
        m_pCmdXMLPacket->createChildNode(CSEString(kRequestListPath), CSEString(u"cadobject"), CSEString(), 1);
    if (id < 0) {
        CSELogger::LogMsg(3, u"[CSECheckForUpdateCurrentCmd::AddCADObjectNode] The request has no object list "
                             u"for the file " + obj.fileName);
        return;
    }
    listed.names.insert(Units(obj.fileName));
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj,
                                  {{u"name", &CSEObjectInfo::name},
                                   {u"type", &CSEObjectInfo::type},
                                   {u"cadid", &CSEObjectInfo::cadId}});
    CSERequestObject::WriteDirName(*m_pCmdXMLPacket, id, obj);
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj, {{u"filename", &CSEObjectInfo::fileName}});
    CSERequestObject::WriteNonEmptyFields(*m_pCmdXMLPacket, id, obj,
                                          {{u"bustype", &CSEObjectInfo::busType},
                                           {u"busname", &CSEObjectInfo::busName},
                                           {u"busrevision", &CSEObjectInfo::busRevision}});
}

CSEObjectInfoVector CSECheckForUpdateCurrentCmd::GetObjectInfoList()
{
    CSEObjectInfoVector objects;
    CSEUpdateResults::Append(m_pResponse, u"cadobjectlist",
                             {kPath, kFileName, kDirName,
                              {u"qxtype", &CSEObjectInfo::busType},
                              {u"cadid", &CSEObjectInfo::cadId},
                              {u"qxversion", &CSEObjectInfo::qxVersion}},
                             CSEUpdateResults::Trimmed, objects);
    return objects;
}

CSEObjectInfoVector CSECheckForUpdateCurrentCmd::GetSuccessObjectInfoList()
{
    CSEObjectInfoVector objects;
    CSEUpdateResults::Append(m_pResponse, u"cadobjectlist", {kPath, kFileName, kDirName},
                             CSEUpdateResults::Trimmed, objects);
    return objects;
}

CSEObjectInfoVector CSECheckForUpdateCurrentCmd::GetFailureObjectInfoList()
{
    CSEObjectInfoVector objects;
    CSEUpdateResults::Append(m_pResponse, u"errorfiles", {kPath, kFileName, kDirName},
                             CSEUpdateResults::Trimmed, objects);
    return objects;
}

void CSECheckForUpdateCurrentCmd::CreateRootResponse()
{
    ReplaceCmdXMLPacket(CSEXMLPacket::GetXMLPacketPtr(-1));
    m_spListed->packet = nullptr;
    CreateResponseHeader();
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createChildNode(CSEString(kResponsePath), CSEString(u"cadobjectlist"), CSEString(), 1);
}

void CSECheckForUpdateCurrentCmd::AddCadObjectToSecondRequest(CSEObjectInfo obj)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    const int id =
        m_pCmdXMLPacket->createChildNode(CSEString(kSecondListPath), CSEString(u"cadobject"), CSEString(), 1);
    if (id < 0)
        return;
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj,
                                  {{u"name", &CSEObjectInfo::name},
                                   {u"type", &CSEObjectInfo::type},
                                   {u"cadid", &CSEObjectInfo::cadId}});
    m_pCmdXMLPacket->createProperty(id, CSEString(u"filename"), CSEFolderPath::Join(obj.dirName, obj.fileName));
}
