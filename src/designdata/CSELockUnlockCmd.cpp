// CSELockUnlockCmd: the lock-unlock request, its reset, and the objects and failures of its answer.
#include "CSELockUnlockCmd.h"

#include "CSEException.h"
#include "CSELogger.h"
#include "CSEMsgMgr.h"
#include "CSEProductStructureCreator.h"
#include "CSEXMLPacket.h"
#include "designdata/CSEResponseList.h"
#include "host/DVKFatal.h"

namespace {

// The result lists of an answer, the first one that holds objects wins.
const char16_t* const kResultLists[] = {
    u"//response/info/checkedoutobjectinfo/cadobject",
    u"//response/info/cadobjectlist/successlist/cadobject",
    u"//response/info/cadobjectlist/cadobject",
};
const char16_t kFailureList[] = u"//response/info/cadobjectlist/failurelist";
const char16_t kFailedObjects[] = u"//response/info/cadobjectlist/failurelist/cadobject";

const CSEResponseField<CSEObjectInfo> kResultFields[] = {
    {u"cadid", &CSEObjectInfo::cadId},
    {u"filename", &CSEObjectInfo::fileName},
    {u"dirname", &CSEObjectInfo::dirName},
    {u"name", &CSEObjectInfo::name},
    {u"parentid", &CSEObjectInfo::parentId},
    {u"qxtype", &CSEObjectInfo::busType},
    {u"modificationstatus", &CSEObjectInfo::modificationStatus},
    {u"lock", &CSEObjectInfo::lock},
    {u"isprevlocked", &CSEObjectInfo::isPrevLocked},
    {u"design", &CSEObjectInfo::design},
    {u"qxversion", &CSEObjectInfo::versionText},
    {u"renamedfrom", &CSEObjectInfo::renamedFrom},
    {u"selected", &CSEObjectInfo::selected},
    {u"clonedfrom", &CSEObjectInfo::clonedFrom},
    {u"load", &CSEObjectInfo::load},
    {u"type", &CSEObjectInfo::type},
    {u"qxversion", &CSEObjectInfo::qxVersion},
    {u"localcheckout", &CSEObjectInfo::localCheckout},
};

} // namespace

CSELockUnlockCmd::CSELockUnlockCmd()
{
    if (m_pCmdXMLPacket == nullptr)
        DVKFatalError("m_pCmdXMLPacket != NULL");
    SetCmdName(u"lock-unlock");
    CreateCmdHeader();
    m_pStructureCreator = new CSEProductStructureCreator(m_pCmdXMLPacket, 1);
}

CSELockUnlockCmd::~CSELockUnlockCmd()
{
    m_topLevelFileNames.clear();
    m_topLevelLocalCheckouts.clear();
    CSEProductStructureCreator::Release(m_pStructureCreator);
}

int CSELockUnlockCmd::CreateRootObject(const CSEObjectInfo& object)
{
    const int id = CSECommonCmdForCheckinLockUnlockandRecVer::CreateRootObject(object);
    m_topLevelFileNames.push_back(object.fileName);
    m_topLevelKeys.insert(object.fileName().Text());
    return id;
}

void CSELockUnlockCmd::SetPrelock(unsigned char prelock)
{
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(u"//command", u"prelock", prelock == 1 ? u"true" : u"false", 0);
}

void CSELockUnlockCmd::ResetLockUnlockCmd()
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    CreateCmdHeader();
    m_topLevelFileNames.clear();
    m_topLevelKeys.clear();
    m_topLevelLocalCheckouts.clear();
    StartNewRequest();
    CSEString root;
    if (m_pCmdXMLPacket->getRootNodeName(root) != 0)
        return; // the header could not be written; logged there
    // The sections went with the old document: without them the next root would find no place.
    try {
        if (m_pStructureCreator == nullptr) {
            m_pStructureCreator = new CSEProductStructureCreator(m_pCmdXMLPacket, 1);
        } else {
            m_pStructureCreator->SetXMLDoc(m_pCmdXMLPacket);
            m_pStructureCreator->Create();
        }
    } catch (const CSEException&) {
        CSELogger::LogMsg(3, u"[CSELockUnlockCmd::ResetLockUnlockCmd] The structure sections could not be written.");
    }
}

int CSELockUnlockCmd::GetCheckedOutObjCountFromResponse(CSEString& path)
{
    CSEXMLPacket* answer = CSEResponseList::AnswerOf(m_pResponse);
    if (answer == nullptr)
        return -1;
    int count = 0;
    for (const char16_t* list : kResultLists) {
        count = answer->getNodeCount(list);
        if (count > 0) {
            path = list;
            break;
        }
    }
    if (answer->getNodeCount(kFailureList) > 0)
        ShowFailures(*answer);
    return count < 0 ? 0 : count;
}

void CSELockUnlockCmd::ShowFailures(CSEXMLPacket& answer)
{
    const CSEResponseList failed(answer, kFailedObjects);
    if (failed.Count() <= 0)
        return;
    CSEString list;
    for (int i = 0; i < failed.Count(); ++i) {
        CSEString fileName = failed.Attribute(i, u"filename");
        if (fileName.size() == 0)
            fileName = failed.Attribute(i, u"qxfilename");
        CSEString dirName = failed.Attribute(i, u"dirname");
        if (dirName.size() == 0)
            dirName = failed.Attribute(i, u"qxdirname");
        // A failed object without a folder is named by its file alone, not as if it lay in "/".
        list += (dirName.size() == 0 ? fileName : dirName + u"/" + fileName) + u"\n\t";
    }
    CSELogger::LogMsg(3, u"[CSELockUnlockCmd::GetCheckedOutObjCountFromResponse] Objects not locked or "
                         u"unlocked: " + list);
    try {
        CSEMsgMgr::ShowCustomMsg(CSEMsgMgr::GetMsgOrId(u"ERR_MSG_LOCK_UNLOCK_FAILED") + u"\t" + list,
                                 u"MSG_MSGBOXTITLE", 1, CSEMessageBoxError);
    } catch (...) {
        // The host's message box failed; the failures are in the log, the successes stay readable.
        CSELogger::LogMsg(3, u"[CSELockUnlockCmd::GetCheckedOutObjCountFromResponse] The failure message "
                             u"could not be shown.");
    }
}

CSEObjectInfo CSELockUnlockCmd::GetCheckedoutObjFromResponse(int index, CSEString& path)
{
    CSEObjectInfo object;
    CSEXMLPacket* answer = CSEResponseList::AnswerOf(m_pResponse);
    if (answer != nullptr)
        CSEResponseList(*answer, path).ReadFields(index, object, kResultFields);
    if (m_topLevelKeys.count(object.fileName().Text()) == 0)
        return object;
    object.isTopLevel = 1;
    if (object.localCheckout == u"true")
        m_topLevelLocalCheckouts.push_back(object);
    return object;
}

int CSELockUnlockCmd::GetCheckedoutObjListFromResponse(CSEObjectInfoVector& objects)
{
    CSEString path;
    const int count = GetCheckedOutObjCountFromResponse(path);
    for (int i = 0; i < count; ++i)
        objects.push_back(GetCheckedoutObjFromResponse(i, path));
    return count;
}

CSEObjectInfoVector CSELockUnlockCmd::GetObjListOfTopLevelRFAFilesBeingCheckedOut()
{
    return m_topLevelLocalCheckouts;
}
