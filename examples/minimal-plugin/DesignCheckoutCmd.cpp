#include "DesignCheckoutCmd.h"

#include <CSEXMLPacket.h>

bool DesignCheckoutCmd::AddDesign(const CSEString& name, const CSEString& folder, bool lock)
{
    if (m_pCmdXMLPacket == nullptr)
        return false;
    if (m_listId < 0)
        m_listId = m_pCmdXMLPacket->createChildNode(CSEString(u"/command"), CSEString(u"cadobjectlist"), CSEString(), 1);
    const int id = m_listId < 0 ? -1 : m_pCmdXMLPacket->createChildNode(m_listId, CSEString(u"cadobject"), CSEString(), 1);
    return id >= 0 && m_pCmdXMLPacket->createProperty(id, CSEString(u"name"), name) == 0 &&
           m_pCmdXMLPacket->createProperty(id, CSEString(u"dirname"), folder) == 0 &&
           m_pCmdXMLPacket->createProperty(id, CSEString(u"lock"), CSEString(lock ? u"true" : u"false")) == 0;
}
