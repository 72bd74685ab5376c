// Test helpers for commands: a probe that opens a command's protected operations and request
// packet, and readers of the packet's attributes and node texts.
#ifndef QORVI_TESTS_COMMON_COMMANDPROBE_H
#define QORVI_TESTS_COMMON_COMMANDPROBE_H

#include <string>

#include "CSECommand.h"
#include "CSEObjectInfo.h"
#include "CSEResponse.h"
#include "CSEString.h"
#include "CSEXMLPacket.h"

template <class Base>
class Probe : public Base
{
public:
    using Base::Base;
    using Base::CreateCmdHeader;
    using Base::CreateResponseHeader;
    using Base::CreateXMLDumpFileName;
    using Base::ReplaceCmdXMLPacket;
    using Base::SetBulkLoaderBatchNumForXMLDump;

    CSEXMLPacket* Packet() { return this->m_pCmdXMLPacket; }
    // What a derived command does when it assigns a new response itself.
    void AssignResponseDirectly(CSEResponse* response) { this->m_pResponse = response; }
};

// Opens the request packet of any command, whatever its class.
struct CommandOpener : CSECommand
{
    static CSEXMLPacket* Packet(CSECommand& command) { return command.*&CommandOpener::m_pCmdXMLPacket; }
};

inline CSEXMLPacket* PacketOf(CSECommand& command)
{
    return CommandOpener::Packet(command);
}

inline std::string Attribute(CSEXMLPacket* packet, const CSEString& path, const char16_t* name)
{
    CSEString value;
    packet->getAttributeValue(path, CSEString(name), value);
    return value().ToUTF8();
}

inline std::string NodeValue(CSEXMLPacket* packet, const CSEString& path)
{
    CSEString value;
    packet->getNodeValue(path, value);
    return value().ToUTF8();
}

// An object of the file in the folder, known by the cadid.
inline CSEObjectInfo FileObject(const CSEString& fileName, const CSEString& cadId, const CSEString& dirName = u"/w")
{
    CSEObjectInfo object;
    object.fileName = fileName;
    object.cadId = cadId;
    object.dirName = dirName;
    return object;
}

#endif
