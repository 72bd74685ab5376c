// CSEVersionsCmd: the "versions" command, one object list per object asked about.
#include "CSEVersionsCmd.h"

#include "CSEObjectInfo.h"
#include "CSEXMLPacket.h"
#include "commands/CSERequestObject.h"

CSEVersionsCmd::CSEVersionsCmd()
{
    ConstructCommand(CSEString(u"[CSEVersionsCmd::CSEVersionsCmd()]"), CSEString(u"versions"));
}

CSEVersionsCmd::~CSEVersionsCmd() = default;

int CSEVersionsCmd::AddObjectToCmdPacket(CSEObjectInfo& obj)
{
    if (m_pCmdXMLPacket == nullptr)
        return -1;
    // By identifier: a path would find the first list of an earlier call.
    const int listId = m_pCmdXMLPacket->createChildNode(CSEString(u"/command"), CSEString(u"cadobjectlist"),
                                                        CSEString(), 1);
    if (listId < 0)
        return -1;
    const int id = m_pCmdXMLPacket->createChildNode(listId, CSEString(u"cadobject"), CSEString(), 1);
    if (id < 0)
        return id;
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj,
                                  {{u"name", &CSEObjectInfo::name},
                                   {u"cadid", &CSEObjectInfo::cadId},
                                   {u"modified", &CSEObjectInfo::modified},
                                   {u"type", &CSEObjectInfo::type},
                                   {u"filename", &CSEObjectInfo::fileName}});
    CSERequestObject::WriteDirName(*m_pCmdXMLPacket, id, obj);
    m_pCmdXMLPacket->createProperty(id, CSEString(u"selectable"), CSEString(u"true"));
    CSERequestObject::WriteNonEmptyFields(*m_pCmdXMLPacket, id, obj,
                                          {{u"bustype", &CSEObjectInfo::busType},
                                           {u"busname", &CSEObjectInfo::busName},
                                           {u"busrevision", &CSEObjectInfo::busRevision}});
    for (int i = 0; i < obj.attributes.size(); ++i)
        m_pCmdXMLPacket->createAttributeNVPair(id, obj.attributes[i].name, obj.attributes[i].value);
    return id;
}
