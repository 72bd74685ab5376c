// Demo host: drives the library as a CAD plug-in would: connect, log in, ping, show the server's
// component versions, log out and disconnect, printing each step.
#include <cstdio>
#include <string>

#include <QorviCSECommon.h>

namespace {

// Exit statuses, one per step that can fail.
enum ExitStatus
{
    ExitSuccess = 0,
    ExitUsage = 1,
    ExitNoConnection = 2,
    ExitLoginFailed = 3,
    ExitPingFailed = 4,
    ExitNoVersions = 5,
    ExitLogoutFailed = 6
};

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

const char* StatusName(CSEIntegrationAgent::ConnectionStatus status)
{
    switch (status) {
    case CSEIntegrationAgent::NotConnected:
        return "not connected";
    case CSEIntegrationAgent::Connected:
        return "connected";
    case CSEIntegrationAgent::LoggedIn:
        return "logged in";
    }
    return "unknown";
}

// The plug-in's message manager: message boxes become lines on the terminal, message identifiers
// stand for their texts.
class TerminalMsgMgr : public CSEMsgMgr
{
public:
    CSEString ReadResourceString(int id) override { return CSEString(std::to_string(id).c_str()); }
    CSEString ReadResourceString(CSEString id, CSEWrapperStringVector) override { return id; }
    CSEString ReadResourceString(CSEString id) override { return id; }
    int ShowMessage(CSEString message, int titleId, MessageBoxType type) override
    {
        return ShowMessage(message, ReadResourceString(titleId), type);
    }
    int ShowMessage(CSEString message, CSEString title, MessageBoxType) override
    {
        std::fprintf(stderr, "qorvi-host: message [%s] %s\n", Utf8(title).c_str(), Utf8(message).c_str());
        return 0;
    }
    int ShowMessageEx(CSEString message, int titleId, MessageBoxType type) override
    {
        return ShowMessage(message, titleId, type);
    }
    int ShowCustomMessage(CSEString message, CSEString title, unsigned char, MessageBoxType type) override
    {
        return ShowMessage(message, title, type);
    }
};

void Usage()
{
    std::printf("usage: qorvi-host\n"
                "Connects to the integration service, logs in, pings, prints the server component\n"
                "versions, logs out and disconnects.\n"
                "Environment: QX_DRAVIK_INSTALL_DIR (installation folder with settings.ini),\n"
                "USERPROFILE or HOME (profile folder holding the service's okt.port).\n"
                "Exit status: 0 success, 1 usage or environment, 2 no connection, 3 login failed,\n"
                "4 ping failed, 5 no component versions, 6 logout failed.\n");
}

int Fail(ExitStatus status, const std::string& message)
{
    std::fprintf(stderr, "qorvi-host: %s\n", message.c_str());
    CSEIntegrationAgent::GetIntegrationAgent().Disconnect();
    return status;
}

int Run()
{
    try {
        CSEClientSettings::GetInstance(0);
    } catch (const CSEException& error) {
        std::fprintf(stderr, "qorvi-host: no client settings (%s): set QX_DRAVIK_INSTALL_DIR to the installation "
                             "folder\n",
                     Utf8(error.GetMsg()).c_str());
        return ExitUsage;
    }
    static TerminalMsgMgr msgMgr;
    CSEMsgMgr::SetMsgMgr(&msgMgr);
    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();

    CSEIntegrationAgent::ConnectionStatus status = agent.Connect();
    std::printf("connect:    %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::Connected)
        return Fail(ExitNoConnection, "the integration service could not be reached (is it running? see okt.port "
                                      "in the profile folder and the library log)");

    try {
        status = agent.Login();
    } catch (const CSEException& error) {
        return Fail(ExitLoginFailed, "login refused: " + Utf8(error.GetMsg()));
    }
    std::printf("login:      %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::LoggedIn)
        return Fail(ExitLoginFailed, "login did not complete (see the library log)");

    status = agent.PingServer();
    std::printf("ping:       %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::LoggedIn)
        return Fail(ExitPingFailed, "the service did not answer the ping");

    CSEServerSettings* settings = agent.GetServerSettingsPtr();
    if (settings == nullptr || settings->GetServerComponentVersions().size() == 0)
        return Fail(ExitNoVersions, "the server reported no component versions");
    std::printf("server component versions:\n");
    CSEStringCSEStringMap& versions = settings->GetServerComponentVersions();
    for (CSEStringCSEStringMapIterator it = versions.begin(); it != versions.end(); ++it)
        std::printf("  %-24s %s\n", Utf8((*it).key).c_str(), Utf8((*it).value).c_str());

    CSELogoutCmd logout;
    CSEString thinResponse;
    const int executed = logout.Execute(thinResponse);
    CSEResponse* response = logout.GetResponseObject();
    const std::string result = response != nullptr ? Utf8(response->GetResult()) : std::string();
    std::printf("logout:     %s\n", result.empty() ? "no answer" : result.c_str());
    if (executed != CSE_SUCCESS || result != "success")
        return Fail(ExitLogoutFailed, "logout failed" + (response != nullptr && !Utf8(response->GetReason()).empty()
                                                             ? ": " + Utf8(response->GetReason())
                                                             : std::string()));

    agent.Disconnect();
    std::printf("disconnect: %s\n", StatusName(agent.GetConnectionStatus()));
    return ExitSuccess;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        const std::string argument = argv[1];
        Usage();
        return argument == "--help" || argument == "-h" ? ExitSuccess : ExitUsage;
    }
    return Run();
}
