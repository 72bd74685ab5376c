// CSEManageWorkspaceCmd: the "initiatewsm" command with its folder and objects.
#include "CSEManageWorkspaceCmd.h"

#include "CSEObjectInfo.h"
#include "CSEXMLPacket.h"
#include "commands/CSERequestObject.h"
#include "host/DVKFatal.h"

namespace {

const char16_t kCommandPath[] = u"//command";
const char16_t kObjectListPath[] = u"//command/cadobjectlist";

} // namespace

CSEManageWorkspaceCmd::CSEManageWorkspaceCmd()
{
    if (!ConstructCommand(CSEString(u"[CSEManageWorkspaceCmd::CSEManageWorkspaceCmd()]"),
                          CSEString(u"initiatewsm")))
        DVKFatalError("m_pCmdXMLPacket != NULL");
    m_pCmdXMLPacket->createChildNode(CSEString(kCommandPath), CSEString(u"cadobjectlist"), CSEString(), 1);
}

CSEManageWorkspaceCmd::~CSEManageWorkspaceCmd() = default;

void CSEManageWorkspaceCmd::SetInitialDir(const CSEString& dir)
{
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(CSEString(kCommandPath), CSEString(u"initialdir"), dir, 0);
}

void CSEManageWorkspaceCmd::AddObjectInfoList(const CSEObjectInfoVector& list)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    for (int i = 0; i < list.size(); ++i) {
        const CSEObjectInfo& object = list[i];
        const int id = m_pCmdXMLPacket->createChildNode(CSEString(kObjectListPath), CSEString(u"cadobject"),
                                                        CSEString(), 1);
        if (id < 0)
            continue;
        CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, object,
                                      {{u"name", &CSEObjectInfo::name},
                                       {u"filename", &CSEObjectInfo::fileName},
                                       {u"type", &CSEObjectInfo::type},
                                       {u"cadid", &CSEObjectInfo::cadId}});
        CSERequestObject::WriteDirName(*m_pCmdXMLPacket, id, object);
    }
}
