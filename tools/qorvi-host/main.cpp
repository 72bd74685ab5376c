// Demo host: drives the library as a CAD plug-in would: connect, log in, ping, show the server's
// component versions, log out and disconnect, printing each step. Before connecting it checks the
// installation, and it gives the service a limited time to answer each step.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QorviCSECommon.h>

#include "AnswerDeadline.h"
#include "InstallationCheck.h"

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
    ExitLogoutFailed = 6,
    ExitNoAnswer = 7
};

constexpr double kDefaultTimeoutSeconds = 60;
constexpr double kMaxTimeoutSeconds = 86400;

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

void Usage(std::FILE* stream)
{
    std::fprintf(stream,
                 "usage: qorvi-host [--timeout SECONDS]\n"
                 "Connects to the integration service, logs in, pings, prints the server component\n"
                 "versions, logs out and disconnects.\n"
                 "  --timeout SECONDS  time the service has to answer each step before the connection\n"
                 "                     is dropped (default %g, at most %g)\n"
                 "Environment: QX_DRAVIK_INSTALL_DIR (installation folder, writable, whose settings.ini\n"
                 "names the service's host: clientname=HOST in the section [SERVER]),\n"
                 "USERPROFILE or HOME (profile folder holding the service's okt.port).\n"
                 "Exit status: 0 success, 1 usage or installation, 2 no connection, 3 login failed,\n"
                 "4 ping failed, 5 no component versions, 6 logout failed, 7 no answer in time.\n",
                 kDefaultTimeoutSeconds, kMaxTimeoutSeconds);
}

int Fail(ExitStatus status, const std::string& message)
{
    std::fprintf(stderr, "qorvi-host: %s\n", message.c_str());
    CSEIntegrationAgent::GetIntegrationAgent().Disconnect();
    return status;
}

// The failure of a step, or the step's time running out (which is what made it fail).
int FailStep(const AnswerDeadline& deadline, double timeoutSeconds, const char* step, ExitStatus status,
             const std::string& message)
{
    if (!deadline.Expired())
        return Fail(status, message);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", timeoutSeconds);
    return Fail(ExitNoAnswer, std::string("the integration service did not answer the ") + step + " within "
                                  + seconds + " s (is it suspended or overloaded?); the connection was dropped");
}

int Run(double timeoutSeconds)
{
    try {
        CSEClientSettings::GetInstance(0);
    } catch (const CSEException&) {
        std::fprintf(stderr, "qorvi-host: QX_DRAVIK_INSTALL_DIR is not set; set it to the installation folder, "
                             "which holds settings.ini\n");
        return ExitUsage;
    }
    const std::string problem = InstallationCheck::FirstProblem();
    if (!problem.empty()) {
        std::fprintf(stderr, "qorvi-host: %s\n", problem.c_str());
        return ExitUsage;
    }
    static TerminalMsgMgr msgMgr;
    CSEMsgMgr::SetMsgMgr(&msgMgr);
    static AnswerDeadline deadline(std::chrono::duration_cast<AnswerDeadline::Clock::duration>(
        std::chrono::duration<double>(timeoutSeconds)));
    DVKApplication::SetCurrent(&deadline);
    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();

    CSEIntegrationAgent::ConnectionStatus status = agent.Connect();
    std::printf("connect:    %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::Connected)
        return Fail(ExitNoConnection, "the integration service could not be reached (is it running? see okt.port "
                                      "in the profile folder and the library log)");

    deadline.Start();
    try {
        status = agent.Login();
    } catch (const CSEException& error) {
        return Fail(ExitLoginFailed, "login refused: " + Utf8(error.GetMsg()));
    }
    std::printf("login:      %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::LoggedIn)
        return FailStep(deadline, timeoutSeconds, "login", ExitLoginFailed,
                        "login did not complete (see the library log)");

    deadline.Start();
    status = agent.PingServer();
    std::printf("ping:       %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::LoggedIn)
        return FailStep(deadline, timeoutSeconds, "ping", ExitPingFailed, "the service did not answer the ping");

    CSEServerSettings* settings = agent.GetServerSettingsPtr();
    if (settings == nullptr || settings->GetServerComponentVersions().size() == 0)
        return Fail(ExitNoVersions, "the server reported no component versions");
    std::printf("server component versions:\n");
    CSEStringCSEStringMap& versions = settings->GetServerComponentVersions();
    for (CSEStringCSEStringMapIterator it = versions.begin(); it != versions.end(); ++it)
        std::printf("  %-24s %s\n", Utf8((*it).key).c_str(), Utf8((*it).value).c_str());

    CSELogoutCmd logout;
    CSEString thinResponse;
    deadline.Start();
    const int executed = logout.Execute(thinResponse);
    CSEResponse* response = logout.GetResponseObject();
    const std::string result = response != nullptr ? Utf8(response->GetResult()) : std::string();
    std::printf("logout:     %s\n", result.empty() ? "no answer" : result.c_str());
    if (executed != CSE_SUCCESS || result != "success")
        return FailStep(deadline, timeoutSeconds, "logout", ExitLogoutFailed, "logout failed" + (response != nullptr && !Utf8(response->GetReason()).empty()
                                                             ? ": " + Utf8(response->GetReason())
                                                             : std::string()));

    agent.Disconnect();
    std::printf("disconnect: %s\n", StatusName(agent.GetConnectionStatus()));
    return ExitSuccess;
}

} // namespace

// A number of seconds in (0, kMaxTimeoutSeconds]; false for anything else.
bool ParseSeconds(const char* text, double& seconds)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0 || value > kMaxTimeoutSeconds)
        return false;
    seconds = value;
    return true;
}

int main(int argc, char** argv)
{
    double timeoutSeconds = kDefaultTimeoutSeconds;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            Usage(stdout);
            return ExitSuccess;
        }
        if (argument == "--timeout" && i + 1 < argc && ParseSeconds(argv[i + 1], timeoutSeconds)) {
            ++i;
            continue;
        }
        if (argument == "--timeout")
            std::fprintf(stderr, "qorvi-host: --timeout needs a number of seconds above 0 and at most %g\n",
                         kMaxTimeoutSeconds);
        else
            std::fprintf(stderr, "qorvi-host: unknown argument '%s'\n", argument.c_str());
        Usage(stderr);
        return ExitUsage;
    }
    return Run(timeoutSeconds);
}
