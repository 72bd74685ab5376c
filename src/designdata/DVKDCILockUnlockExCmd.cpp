// DVKDCILockUnlockExCmd: the lock-unlock command under its extended-flow name.
#include "DVKDCILockUnlockExCmd.h"

#include "CSEXMLPacket.h"

DVKDCILockUnlockExCmd::DVKDCILockUnlockExCmd()
{
    // Only the name changes here; the envelope is written under it by ResetLockUnlockCmd.
    CSEString written;
    m_pCmdXMLPacket->getAttributeValue(u"//command", u"cname", written);
    SetCmdName(u"lockunlockEx");
    m_pCmdXMLPacket->createProperty(u"//command", u"cname", written, 0);
}

DVKDCILockUnlockExCmd::~DVKDCILockUnlockExCmd() = default;
