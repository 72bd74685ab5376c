/// \file
/// CSECommand: the base of every command: request envelope, exchange with the integration service,
/// XML dumps and the parsed response.
#ifndef CSECOMMAND_H
#define CSECOMMAND_H

#include <memory>

#include "CSEString.h"

class CSEXMLPacket;
class CSEResponse;

/// The base of every command: request envelope, exchange with the integration service, XML dumps and the
/// parsed response.
class CSECommand
{
public:
    CSECommand();
    /// A copy shares the request packet and the response with its source; whichever holder goes
    /// last deletes them.
    CSECommand(const CSECommand& other);
    /// Releases this command's packet and response, then shares the other's.
    CSECommand& operator=(const CSECommand& other);
    virtual ~CSECommand();

    /// Sends the request and parses the response; 0 on success, 1 on failure.
    virtual int Execute(CSEString& response);
    /// Stores the name and sets "cname" on "//command".
    virtual void SetCmdName(const CSEString& name);
    /// Returns the command name.
    CSEString GetCmdName() const;

    /// The command header with "result" = "failure" on a response root and the reason under
    /// "//command/info" on a command root. Throws as CreateCmdHeader does.
    void CreateFailureHeader(CSEString reason);
    /// Sets "result" on the root element "response".
    void SetResult(CSEString result);
    /// Sets "prefiletrans" on "//command".
    void SetUserExitEnabled(bool enabled);
    /// Stores whether the browser is to get the focus for this command; copies keep it.
    void SetFocusBrowser(bool focusBrowser);
    /// Replaces the response (a null response changes nothing); the old one is deleted when no
    /// other command shares it.
    void SetResponseObject(CSEResponse* response);
    /// The parsed response of the last Execute; null before it or when it could not be read. Owned by the
    /// command.
    CSEResponse* GetResponseObject();

protected:
    /// Loads the request envelope for the command name into the request packet. The envelope
    /// carries the client's identity: throws the CSEException of CSEClientSettings::GetInstance when
    /// the installation folder is not set.
    virtual void CreateCmdHeader();
    /// Loads a success response envelope for the command name into the request packet; throws as
    /// CreateCmdHeader does.
    virtual void CreateResponseHeader();

    /// Sets the batch number that the names of the XML dumps carry in bulk-loading mode.
    void SetBulkLoaderBatchNumForXMLDump(CSEString& batchNumber);
    /// Free dump file name in the "XmlDump" folder for kind 0 (request) or 1 (response); empty
    /// when dumping is off.
    CSEString CreateXMLDumpFileName(int kind);
    /// Replaces the request packet (a command may also start a new one); the old one is deleted
    /// when no other command shares it. Derived commands never delete m_pCmdXMLPacket or
    /// m_pResponse themselves.
    void ReplaceCmdXMLPacket(CSEXMLPacket* packet);
    /// For a command that sends another packet for a while and then returns to its own: the
    /// request packet's shared owner, and a switch that makes a shared packet the request packet
    /// (the previous one lives on while other holders keep it).
    std::shared_ptr<CSEXMLPacket> ShareCmdXMLPacket();
    /// Makes the shared packet the request packet; the previous one lives on while other holders keep it.
    void UseCmdXMLPacket(const std::shared_ptr<CSEXMLPacket>& packet);
    /// The constructor log lines of a derived command, through the silent debug log:
    /// where + " Constructor." and, without a request packet, where + " m_pCmdXMLPacket == NULL.".
    /// where is the bracketed class and constructor, "[CSELqlCmd::CSELqlCmd()]". True when the
    /// command has its request packet.
    bool LogConstruction(const CSEString& where);
    /// The common start of a derived command's constructor: LogConstruction(where), the name and,
    /// with a request packet, the envelope. True when the command has its request packet.
    bool ConstructCommand(const CSEString& where, const CSEString& name);

    CSEXMLPacket* m_pCmdXMLPacket;  ///<The request packet; shared between copies, deleted by the last holder.
    CSEResponse* m_pResponse;  ///<The parsed response; shared between copies, deleted by the last holder.

private:
    bool GetXMLDumpFlag();
    int Exchange(CSEString& response);
    /// Brings the owners in line with the protected pointers (a derived command may have assigned
    /// a new object to them).
    void AdoptReplacedObjects() const;
    /// Copies a file of the installation folder into a dump file, masked and readable by the
    /// owner only.
    void DumpInstallFile(const char16_t* fileName, int kind);
    void ShowNotConnected();

    CSEString m_sCmdName;
    bool m_bXMLDump;
    bool m_bFocusBrowser;
    CSEString m_sBulkLoaderBatchNum;
    /// Shared ownership of the objects behind m_pCmdXMLPacket and m_pResponse.
    mutable std::shared_ptr<CSEXMLPacket> m_spCmdXMLPacketOwner;
    mutable std::shared_ptr<CSEResponse> m_spResponseOwner;
};

#endif
