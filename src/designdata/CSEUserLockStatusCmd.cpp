// CSEUserLockStatusCmd: the flat object list of the lock status request and the records of its
// answer.
#include "CSEUserLockStatusCmd.h"

#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "designdata/CSEResponseList.h"
#include "host/DVKFatal.h"

namespace {

const CSEResponseField<CSEObjectInfo> kStatusFields[] = {
    {u"qxtype", &CSEObjectInfo::versionText},
    {u"name", &CSEObjectInfo::name},
    {u"dirname", &CSEObjectInfo::dirName},
    {u"filename", &CSEObjectInfo::fileName},
    {u"islocked", &CSEObjectInfo::lock},
    {u"qxversion", &CSEObjectInfo::qxVersion},
    {u"cadid", &CSEObjectInfo::cadId},
    {u"type", &CSEObjectInfo::type},
    {u"qxtype", &CSEObjectInfo::busType},
};

const char16_t kAnsweredObjects[] = u"//response/info/cadobjectlist/cadobject";

} // namespace

CSEUserLockStatusCmd::CSEUserLockStatusCmd()
{
    if (m_pCmdXMLPacket == nullptr)
        DVKFatalError("m_pCmdXMLPacket != NULL");
    SetCmdName(u"userlockstatus");
    CreateCmdHeader();
}

void CSEUserLockStatusCmd::AddObjectList(const CSEObjectInfoVector& objects)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    const int list = m_pCmdXMLPacket->createChildNode(u"//command", u"cadobjectlist", u"", 1);
    if (list < 0)
        return;
    for (int i = 0; i < objects.size(); ++i) {
        const CSEObjectInfo& object = objects[i];
        if (object.success != u"true")
            break;
        const int entry = m_pCmdXMLPacket->createChildNode(list, u"cadobject", u"", 1);
        CSEString dirName;
        CSEUtil::FormatDirNameForWKC(object, dirName);
        m_pCmdXMLPacket->createProperty(entry, u"type", object.type);
        m_pCmdXMLPacket->createProperty(entry, u"name", object.name);
        m_pCmdXMLPacket->createProperty(entry, u"dirname", dirName);
        m_pCmdXMLPacket->createProperty(entry, u"cadid", object.cadId);
        m_pCmdXMLPacket->createProperty(entry, u"filename", object.fileName);
    }
}

void CSEUserLockStatusCmd::GetObjectInfoListFromResponse(CSEObjectInfoVector& objects)
{
    CSEXMLPacket* answer = CSEResponseList::AnswerOf(m_pResponse);
    if (answer == nullptr)
        return;
    const CSEResponseList answered(*answer, kAnsweredObjects);
    for (int i = 0; i < answered.Count(); ++i) {
        CSEObjectInfo object;
        answered.ReadFields(i, object, kStatusFields);
        objects.push_back(object);
    }
}
