/// \file
/// CSEIntegrationAgent: the process-wide link to the integration service (connection, login, settings).
#ifndef CSEINTEGRATIONAGENT_H
#define CSEINTEGRATIONAGENT_H

#include "CSEString.h"

class CSESocketCommunicator;
class CSEServerSettings;

/// The process-wide link to the integration service (connection, login, settings).
class CSEIntegrationAgent
{
public:
    enum ConnectionStatus
    {
        NotConnected = 0,
        Connected = 1,
        LoggedIn = 2
    };

    static CSEIntegrationAgent& GetIntegrationAgent();

    ConnectionStatus Connect();
    /// Throws CSEException carrying the server's reason when the login is answered "failure".
    ConnectionStatus Login();
    ConnectionStatus PingServer();
    void Disconnect();
    ConnectionStatus GetConnectionStatus() const;
    CSEServerSettings* GetServerSettingsPtr();

    /// True while a command's response is awaited: the host's interface turn runs inside that wait, and
    /// no other exchange can start until it ends.
    bool IsAwaitingResponse() const;
    unsigned char SendCommand(const CSEString& command);
    unsigned char GetResponse(CSEString& response);
    int StartBrowser();

    void SetServerUrl(const CSEString& url);
    void SetSilentAppletPortNumber(const int& port);
    int InitServerSettingsForSilent(const CSEString& settingsXml);
    int sendRequestForServerComponentVersions();

private:
    CSEIntegrationAgent();
    ~CSEIntegrationAgent();
    CSEIntegrationAgent(const CSEIntegrationAgent&) = delete;
    CSEIntegrationAgent& operator=(const CSEIntegrationAgent&) = delete;

    static int DeleteIntegrationAgent(int);
    int InitServerSettings(const CSEString& loginResponse);
    unsigned char SendCommandActual(const CSEString& command);
    int ReadSocketPortFromFile();
    CSEString GetCurrentUserProfileDirectory();
    int ParseVersionList(CSEString versionList);
    unsigned char sendAndRespondPingCommand();
    /// Status NotConnected, global settings cleared and deleted, socket closed.
    void DisconnectSequence();
    /// True when the socket is held; otherwise reports the broken expectation and disconnects.
    bool CheckSocketAlive();
    /// New global settings loaded from a login response (adjusted in silent mode); null on failure.
    CSEServerSettings* LoadSettings(const CSEString& loginResponse);

    CSESocketCommunicator* m_pSockComm;
    CSEServerSettings* m_pServerSettings;
    ConnectionStatus m_eConnectionStatus;
    CSEString m_sServerUrl;
    int m_iSilentAppletPort;

    static CSEIntegrationAgent* m_pIntegAgent;
};

#endif
