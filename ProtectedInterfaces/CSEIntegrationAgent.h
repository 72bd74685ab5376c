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
    /// Where the link to the integration service stands.
    enum ConnectionStatus
    {
        NotConnected = 0,
        Connected = 1,
        LoggedIn = 2
    };

    /// Returns the process-wide agent, created on first call.
    static CSEIntegrationAgent& GetIntegrationAgent();

    /// Reads the service's port from "okt.port" in the profile folder and connects; returns the new status
    /// (Connected on success).
    ConnectionStatus Connect();
    /// Throws CSEException carrying the server's reason when the login is answered "failure".
    ConnectionStatus Login();
    /// Sends "ping" and awaits its answer; returns the status (LoggedIn on success; a broken link
    /// disconnects).
    ConnectionStatus PingServer();
    /// Closes the socket and drops the global settings; the status becomes NotConnected.
    void Disconnect();
    /// Returns the current status.
    ConnectionStatus GetConnectionStatus() const;
    /// The global settings of the login; null when not logged in. Owned by the agent.
    CSEServerSettings* GetServerSettingsPtr();

    /// True while a command's response is awaited: the host's interface turn runs inside that wait, and
    /// no other exchange can start until it ends.
    bool IsAwaitingResponse() const;
    /// Sends a command text on the socket; 1 when sent, 0 when not connected, awaiting a response or the
    /// send failed.
    unsigned char SendCommand(const CSEString& command);
    /// Awaits the response to the command sent (giving the host its interface turn) into response; 1 when
    /// one came, else 0.
    unsigned char GetResponse(CSEString& response);
    /// Opens the server's address in the browser; returns the result of starting it (0 on success).
    int StartBrowser();

    /// Sets the server's address used by StartBrowser.
    void SetServerUrl(const CSEString& url);
    /// Sets the service's port for silent mode instead of reading "okt.port".
    void SetSilentAppletPortNumber(const int& port);
    /// Takes the global settings from settingsXml (a login response) and marks the agent logged in; 0 on
    /// success, 1 when they cannot be read or settings are held already.
    int InitServerSettingsForSilent(const CSEString& settingsXml);
    /// Asks the server for its component versions and stores them in the global settings; returns the
    /// query's Execute result (0 on success).
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
