// Behaviour of CSEIntegrationAgent against small in-test peers: the port file, the connection states,
// login and the component versions, the files it writes and the failures that drop the connection.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

#include "CSEServerSettings.h"
#include "CSEStringCSEStringMap.h"
#include "common/LoopbackPeer.h"
#include "common/ServiceFixture.h"
#include "common/ServicePeer.h"
#include "host/DVKEnv.h"

using loopback::LoopbackPeer;

namespace {

// A service that logs anyone in and reports the given component-version text.
ServicePeer::Script LoginAndVersions(const std::string& versions)
{
    return [versions](const std::string& request) {
        const std::string cname = ServicePeer::AttributeOf(request, "cname");
        return ServicePeer::Response(cname, "success", cname == "lql" ? versions : "<gsettings/>");
    };
}

std::map<std::string, std::string> ComponentVersions()
{
    std::map<std::string, std::string> versions;
    CSEServerSettings* settings = CSEIntegrationAgent::GetIntegrationAgent().GetServerSettingsPtr();
    if (settings == nullptr)
        return versions;
    CSEStringCSEStringMap& table = settings->GetServerComponentVersions();
    for (CSEStringCSEStringMapIterator it = table.begin(); it != table.end(); ++it)
        versions[Utf8((*it).key)] = Utf8((*it).value);
    return versions;
}

// True when a client connected to the peer within timeoutMs.
bool ClientConnected(LoopbackPeer& peer, int timeoutMs)
{
    const int fd = peer.Accept(timeoutMs);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

// True when bytes (not just the end of the connection) arrive on the socket within timeoutMs.
bool DataArrives(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    char byte;
    return ::poll(&entry, 1, timeoutMs) > 0 && ::recv(fd, &byte, 1, MSG_PEEK) > 0;
}

} // namespace

class IntegrationAgentTest : public ServiceFixture
{
protected:
    CSEIntegrationAgent::ConnectionStatus ConnectAndLogin(const ServicePeer& peer)
    {
        PublishPort(peer.Port());
        EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        return Agent().Login();
    }

    std::string PortFile() const { return m_profile + "/okt.port"; }
};

TEST_F(IntegrationAgentTest, PortFileFirstLineGivesThePort)
{
    LoopbackPeer peer;
    const std::string port = std::to_string(peer.Port());
    for (const std::string& content : {port + "\n", port, "  +" + port + ";rest\n", port + "\r\n9"}) {
        WritePortFile(content);
        EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected) << content;
        EXPECT_TRUE(ClientConnected(peer, 2000)) << content;
        Agent().Disconnect();
    }
    EXPECT_TRUE(Logged(kMainLog, 6, "[CSEIntegrationAgent::ReadSocketPortFromFile] The port number parsed from the "
                                    "content of the OKT.PORT file is : " + port));
    EXPECT_TRUE(Logged(kMainLog, 6, "[CSEIntegrationAgent::ReadSocketPortFromFile] Found the OKT.PORT file : " +
                                        PortFile()));

    // Without "USERPROFILE" the profile is "HOME".
    const std::string savedHome = dvk::GetEnvOrEmpty("HOME");
    setenv("HOME", m_profile.c_str(), 1);
    setenv("USERPROFILE", "", 1);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(IntegrationAgentTest, PortFileWithoutAUsablePortConnectsNowhere)
{
    LoopbackPeer peer;
    const std::string port = std::to_string(peer.Port());
    const struct
    {
        std::string content;
        std::string parsed;
    } cases[] = {
        {"port\n", "0"},                              // only letters
        {"\n" + port + "\n", "0"},                    // the port on the second line
        {std::string(19, ' ') + port, "0"},           // past the 19 bytes that are read
        {"-1\n", "-1"},
        {"70000\n", "70000"},                         // above the port range
        {"99999999999999999999\n", "2147483647"},   // clamped, not overflowed
    };
    for (const auto& c : cases) {
        WritePortFile(c.content);
        EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected) << c.content;
        EXPECT_TRUE(Logged(kMainLog, 3, "[CSEIntegrationAgent::Connect] Port number " + c.parsed +
                                            " is outside 1 to 65535; no connection is attempted."))
            << c.content;
    }
    ::unlink(PortFile().c_str());
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEIntegrationAgent::ReadSocketPortFromFile] OKT.PORT file doesnot exists at "
                                    "the following location " + PortFile()));
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEIntegrationAgent::Connect] Port number -1 is outside 1 to 65535; no "
                                    "connection is attempted."));
    ASSERT_EQ(::mkdir(PortFile().c_str(), 0700), 0); // a folder cannot be read as the port file
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    EXPECT_TRUE(Contains(MainLog(), "OKT.PORT file could not be read : " + PortFile()));
    EXPECT_FALSE(ClientConnected(peer, 200)) << "no connection may be attempted";
}

TEST_F(IntegrationAgentTest, EachStateDoesOnlyWhatItAllows)
{
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::NotConnected);

    LoopbackPeer peer;
    PublishPort(peer.Port());
    UseSettings("[SERVER]\naddress=x\n[CLIENT]\ndebugflag=true\n");
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    EXPECT_TRUE(Contains(MainLog(), "\"clientname\""));
    EXPECT_FALSE(ClientConnected(peer, 200)) << "connected without a host name";

    UseSettings(Settings());
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = peer.Accept(2000);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(ClientConnected(peer, 200)) << "the second Connect opened another connection";
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::Connected);
    EXPECT_FALSE(DataArrives(fd, 200)) << "a ping was sent before the login";
    EXPECT_FALSE(Exists("QxRequest.xml"));
    ::close(fd);
}

TEST_F(IntegrationAgentTest, SilentProcessorTakesTheHostsPortAndSendsNoLogin)
{
    UseSettings(Settings(), 1);
    LoopbackPeer filePeer;
    LoopbackPeer hostPeer;
    PublishPort(filePeer.Port());
    Agent().SetSilentAppletPortNumber(static_cast<int>(hostPeer.Port()));
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = hostPeer.Accept(2000);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(ClientConnected(filePeer, 200));
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::Connected);
    EXPECT_FALSE(DataArrives(fd, 200));
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);

    // The host hands the settings in; they are adjusted for a run without a user.
    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info><gsettings><customattributes><attribute><name>"
                                                  u"DvkDeleteModifiedFilesOnCheckin</name><value>ask</value></attribute>"
                                                  u"</customattributes></gsettings></info></response>"),
              0);
    ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(Utf8(Agent().GetServerSettingsPtr()->GetDvkDeleteModifiedFilesOnCheckinOptions()), "no");
    ::close(fd);
}

TEST_F(IntegrationAgentTest, VersionListBecomesLowerCaseComponentVersions)
{
    const struct
    {
        std::string list;
        std::map<std::string, std::string> versions;
    } cases[] = {
        {"0|framework|10.2|designer|3.5", {{"framework", "10.2"}, {"designer", "3.5"}}},
        {"Framework|10.2", {{"framework", "10.2"}}},                          // no status token
        {"0|Framework|QTL2012x-2.4|Vexlin", {{"framework", "qtl2012x-2.4"}}}, // last token unpaired
        {"0|Core|1|CORE|2", {{"core", "2"}}},                                 // a later equal key wins
        {"0", {}},
    };
    for (const auto& c : cases) {
        ServicePeer peer(LoginAndVersions(c.list));
        EXPECT_EQ(ConnectAndLogin(peer), CSEIntegrationAgent::LoggedIn) << c.list;
        ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
        EXPECT_EQ(ComponentVersions(), c.versions) << c.list;
        Agent().Disconnect();
    }
}

TEST_F(IntegrationAgentTest, LoginResponseThatCannotBeReadStaysConnected)
{
    ServicePeer peer([](const std::string&) { return std::string("<response result='success'><info"); });
    EXPECT_EQ(ConnectAndLogin(peer), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEIntegrationAgent::Login] InitServerSettings failed to parse the login response."));
    EXPECT_EQ(peer.Requests().size(), 1u) << "no version query without settings";
}

TEST_F(IntegrationAgentTest, LoginResponseWithoutSettingsKeepsTheDefaults)
{
    ServicePeer peer([](const std::string& request) {
        const std::string cname = ServicePeer::AttributeOf(request, "cname");
        return cname == "lql" ? ServicePeer::Response(cname, "success", "0|okt|1")
                              : std::string("<response cname='login' result='success'/>");
    });
    EXPECT_EQ(ConnectAndLogin(peer), CSEIntegrationAgent::LoggedIn);
    ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(ComponentVersions(), (std::map<std::string, std::string>{{"okt", "1"}}));
    EXPECT_TRUE(Contains(MainLog(), "The login response has no global settings"));
}

TEST_F(IntegrationAgentTest, FailedVersionQueryKeepsTheSettingsAndStaysConnected)
{
    int logins = 0;
    ServicePeer peer([&logins](const std::string& request) {
        const std::string cname = ServicePeer::AttributeOf(request, "cname");
        if (cname == "login" && ++logins > 1)
            return std::string("<response result='success'><info");
        return cname == "login" ? ServicePeer::Response(cname, "success", "<gsettings/>")
                                : ServicePeer::Response(cname, "failure", "<reason>no versions today</reason>");
    });
    EXPECT_EQ(ConnectAndLogin(peer), CSEIntegrationAgent::Connected);
    const CSEServerSettings* settings = Agent().GetServerSettingsPtr();
    EXPECT_NE(settings, nullptr);
    EXPECT_TRUE(Logged(kMainLog, 6, "CSEIntegrationAgent::sendRequestForServerComponentVersions() Failed.no versions today"));
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEIntegrationAgent::Login] Failed to get the server components versions."));

    // A second login whose response cannot be read leaves the settings of the first.
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), settings);
}

TEST_F(IntegrationAgentTest, ExchangeLogsMaskPasswordsAndFilesAreOwnerOnly)
{
    ServicePeer peer(ServicePeer::Answer("success", ""));
    PublishPort(peer.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const CSEString command(u"<?xml version='1.0'?><command cname='loginEx' username='ann' password='s3cr&amp;t'/>");
    ASSERT_TRUE(Agent().SendCommand(command));
    CSEString thin;
    ASSERT_TRUE(Agent().GetResponse(thin));
    EXPECT_TRUE(Contains(Utf8(thin), "filename='Response.xml'"));

    const std::string log = MainLog();
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::SendCommand] Sending command: <?xml version='1.0'?><command "
                              "cname='loginEx' username='ann' password='*****'/>"));
    EXPECT_FALSE(Contains(log, "s3cr")) << "a password reached the log";
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::SendCommand] Sending Request: "));
    EXPECT_TRUE(Logged(kMainLog, 5, "[CSEIntegrationAgent::GetResponse]Entered"));
    EXPECT_TRUE(Logged(kMainLog, 5, "[CSEIntegrationAgent::GetResponse] Thin response recieved: " + Utf8(thin)));

    // The service needs the command as it is; the files are for their owner only.
    EXPECT_EQ(ReadFile("QxRequest.xml"), Utf8(command));
    EXPECT_TRUE(Contains(ReadFile("sent.xml"), "filename='QxRequest.xml'"));
    EXPECT_EQ(ReadFile("recd.xml"), Utf8(thin));
    for (const char* name : {"QxRequest.xml", "sent.xml", "recd.xml"})
        EXPECT_EQ(PermissionsOf(PathOf(name)), 0600) << name;
}

TEST_F(IntegrationAgentTest, UnwritableRequestFileSendsNothingAndDisconnects)
{
    LoopbackPeer peer;
    PublishPort(peer.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = peer.Accept(2000);
    ASSERT_GE(fd, 0);
    // A folder where the request file belongs: the pointer would name a file that is not this command.
    ASSERT_EQ(::mkdir(PathOf("QxRequest.xml").c_str(), 0700), 0);
    EXPECT_FALSE(Agent().SendCommand(u"<command cname='ping'/>"));
    EXPECT_FALSE(DataArrives(fd, 200));
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_TRUE(Contains(MainLog(), "Could not write the file " + PathOf("QxRequest.xml")));
    ::close(fd);
}

// A command that the host starts during its interface turn must not touch the exchange in progress.
TEST_F(IntegrationAgentTest, ExchangeStartedDuringTheInterfaceTurnIsRefused)
{
    ServicePeer peer([](const std::string& request) {
        loopback::Pause(500); // long enough for an interface turn
        return ServicePeer::Response(ServicePeer::AttributeOf(request, "cname"), "success", "");
    });
    PublishPort(peer.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_TRUE(Agent().InitServerSettingsForSilent(u"<response><info/></response>") == 0);
    bool nestedSend = true;
    bool nestedReceive = true;
    m_application.onTurn = [&] {
        CSEString text;
        nestedSend = Agent().SendCommand(u"<command cname='nested'/>");
        nestedReceive = Agent().GetResponse(text);
        EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);
    };
    const CSEString command(u"<command cname='outer'/>");
    ASSERT_TRUE(Agent().SendCommand(command));
    CSEString thin;
    EXPECT_TRUE(Agent().GetResponse(thin));
    EXPECT_GE(m_application.turns, 1);
    EXPECT_FALSE(nestedSend);
    EXPECT_FALSE(nestedReceive);
    EXPECT_EQ(ReadFile("QxRequest.xml"), Utf8(command));
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{Utf8(command)});
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEIntegrationAgent::SendCommand] A response is still awaited; a second "
                                    "exchange is refused."));
}

TEST_F(IntegrationAgentTest, SilentSettingsAreLoadedOnceAndMeanLoggedIn)
{
    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info><gsettings/></info"), 1);
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);

    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info><gsettings/></info></response>"), 0);
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);
    CSEServerSettings* settings = Agent().GetServerSettingsPtr();
    ASSERT_NE(settings, nullptr);

    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info/></response>"), 1) << "already loaded";
    EXPECT_EQ(Agent().GetServerSettingsPtr(), settings);
}

TEST_F(IntegrationAgentTest, StartBrowserOpensTheAddressOfTheMode)
{
    // A browser that writes the address it was given into a file.
    const std::string browser = PathOf("browser.sh");
    const std::string opened = PathOf("opened.txt");
    std::ofstream(browser) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened << ".tmp' && mv '" << opened << ".tmp' '"
                           << opened << "'\n";
    ASSERT_EQ(::chmod(browser.c_str(), 0700), 0);
    setenv("DEFAULT_BROWSER_PATH", browser.c_str(), 1);
    const auto openedAddress = [&]() {
        EXPECT_NE(Agent().StartBrowser(), 0);
        for (int i = 0; i < 100 && !dvk::PathExists(opened); ++i)
            loopback::Pause(20);
        const std::string address = ReadFile("opened.txt");
        dvk::DeleteFile(opened);
        return address;
    };

    EXPECT_EQ(openedAddress(), "http://pdm.example/main");
    UseSettings(Settings(), 1);
    EXPECT_EQ(openedAddress(), "http://pdm.example/silent");
    Agent().SetServerUrl(u"http://pdm.example/from-host");
    EXPECT_EQ(openedAddress(), "http://pdm.example/from-host");
    unsetenv("DEFAULT_BROWSER_PATH");
    EXPECT_TRUE(Logged(kMainLog, 5, "[CSEIntegrationAgent::StartBrowser] Entering"));
    EXPECT_TRUE(Logged(kMainLog, 5, "[CSEIntegrationAgent::StartBrowser] Exiting"));
}
