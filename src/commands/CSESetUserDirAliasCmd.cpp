// CSESetUserDirAliasCmd: the "setuserdiralias" command and its list of folder aliases.
#include "CSESetUserDirAliasCmd.h"

#include "CSELogger.h"
#include "CSEStringCSEStringMap.h"
#include "CSEXMLPacket.h"

CSESetUserDirAliasCmd::CSESetUserDirAliasCmd()
{
    ConstructCommand(CSEString(u"[CSESetUserDirAliasCmd::CSESetUserDirAliasCmd()]"),
                     CSEString(u"setuserdiralias"));
}

CSESetUserDirAliasCmd::~CSESetUserDirAliasCmd() = default;

void CSESetUserDirAliasCmd::PopulateUserDirAlias(CSEStringCSEStringMap& aliases)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    const int listId = m_pCmdXMLPacket->createChildNode(CSEString(u"//command"), CSEString(u"userdiraliaslist"),
                                                        CSEString(), 1);
    if (listId < 0) {
        CSELogger::LogMsg(3, CSEString(u"[CSESetUserDirAliasCmd::PopulateUserDirAlias]:Error in adding the "
                                       u"userdiraliaslist node to the packet"));
        return;
    }
    // By identifier: the aliases of a second call go into its own list.
    for (CSEStringCSEStringMapIterator it = aliases.begin(); it != aliases.end(); ++it) {
        if (m_pCmdXMLPacket->createNamedNVPair(listId, CSEString(u"userdiralias"), (*it).key, (*it).value,
                                               CSEString(u"value")) < 0)
            CSELogger::LogMsg(3, CSEString(u"[CSESetUserDirAliasCmd::PopulateUserDirAlias]:Error in adding the "
                                           u"userdiralias node to the packet"));
    }
}
