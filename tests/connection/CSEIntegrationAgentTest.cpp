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
#include "host/DVKUtf.h"

using loopback::LoopbackPeer;

namespace {

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
    std::string PortFile() const { return m_profile + "/okt.port"; }
};

TEST_F(IntegrationAgentTest, PortFileFirstLineGivesThePort)
{
    LoopbackPeer peer;
    const std::string port = std::to_string(peer.Port());
    const struct
    {
        std::string content;
        std::string parsed;
    } cases[] = {
        {port + "\n", port},
        {port, port},
        {"  +" + port + ";rest\n", port},
        {port + "\r\n9", port},
        {"port\n", "0"},                            // only letters
        {"\n" + port + "\n", "0"},                  // the port on the second line
        {std::string(19, ' ') + port, "0"},         // past the 19 bytes that are read
        {"-1\n", "-1"},
        {"70000\n", "70000"},                       // above the port range
        {"99999999999999999999\n", "2147483647"}, // clamped, not overflowed
    };
    for (const auto& c : cases) {
        WritePortFile(c.content);
        const bool usable = c.parsed == port;
        EXPECT_EQ(Agent().Connect(), usable ? CSEIntegrationAgent::Connected : CSEIntegrationAgent::NotConnected)
            << c.content;
        EXPECT_EQ(ClientConnected(peer, usable ? 2000 : 100), usable) << c.content;
        EXPECT_TRUE(Logged(kMainLog, 6, "[CSEIntegrationAgent::ReadSocketPortFromFile] The port number parsed from "
                                        "the content of the OKT.PORT file is : " + c.parsed))
            << c.content;
        Agent().Disconnect();
    }

    // Without "USERPROFILE" the profile is "HOME".
    PublishPort(peer.Port());
    const std::string savedHome = dvk::GetEnvOrEmpty("HOME");
    setenv("HOME", m_profile.c_str(), 1);
    setenv("USERPROFILE", "", 1);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    setenv("HOME", savedHome.c_str(), 1);
    setenv("USERPROFILE", m_profile.c_str(), 1);
    Agent().Disconnect();

    ::unlink(PortFile().c_str());
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    ASSERT_EQ(::mkdir(PortFile().c_str(), 0700), 0); // a folder cannot be read as the port file
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
}

TEST_F(IntegrationAgentTest, EachStateDoesOnlyWhatItAllows)
{
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::NotConnected);

    LoopbackPeer peer;
    PublishPort(peer.Port());
    UseSettings("[SERVER]\naddress=x\n[CLIENT]\ndebugflag=true\n");
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    EXPECT_FALSE(ClientConnected(peer, 200)) << "connected without a host name";

    UseSettings(Settings());
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = peer.Accept(2000);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(ClientConnected(peer, 200)) << "the second Connect opened another connection";
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::Connected);
    EXPECT_FALSE(DataArrives(fd, 200)) << "a ping was sent before the login";
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

    // The host hands the settings in, once; they are adjusted for a run without a user and mean a login.
    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info><gsettings/></info"), 1);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info><gsettings><customattributes><attribute><name>"
                                                  u"DvkDeleteModifiedFilesOnCheckin</name><value>ask</value></attribute>"
                                                  u"</customattributes></gsettings></info></response>"),
              0);
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);
    const CSEServerSettings* settings = Agent().GetServerSettingsPtr();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(Utf8(settings->GetDvkDeleteModifiedFilesOnCheckinOptions()), "no");
    EXPECT_EQ(Agent().InitServerSettingsForSilent(u"<response><info/></response>"), 1) << "already loaded";
    EXPECT_EQ(Agent().GetServerSettingsPtr(), settings);
    ::close(fd);
}

// A login takes the settings, then asks for the component versions; only with both is the user
// logged in. A second login whose response cannot be read leaves the settings of the first.
TEST_F(IntegrationAgentTest, LoginTakesTheSettingsAndTheLowerCaseComponentVersions)
{
    const std::string readable = ServicePeer::Response("login", "success", "<gsettings/>");
    const std::string unreadable = "<response result='success'><info";
    const auto versions = [](const std::string& list) { return ServicePeer::Response("lql", "success", list); };
    const struct
    {
        std::string login;
        std::string lql;
        CSEIntegrationAgent::ConnectionStatus status;
        std::map<std::string, std::string> versions;
    } cases[] = {
        {readable, versions("0|framework|10.2|designer|3.5"), CSEIntegrationAgent::LoggedIn,
         {{"framework", "10.2"}, {"designer", "3.5"}}},
        {readable, versions("Framework|10.2"), CSEIntegrationAgent::LoggedIn, {{"framework", "10.2"}}}, // no status
        {readable, versions("0|Framework|QTL2012x-2.4|Vexlin"), CSEIntegrationAgent::LoggedIn,
         {{"framework", "qtl2012x-2.4"}}},                                                            // last unpaired
        {readable, versions("0|Core|1|CORE|2"), CSEIntegrationAgent::LoggedIn, {{"core", "2"}}},     // later one wins
        {readable, versions("0"), CSEIntegrationAgent::LoggedIn, {}},
        {ServicePeer::Response("login", "success", ""), versions("0|okt|1"), CSEIntegrationAgent::LoggedIn,
         {{"okt", "1"}}}, // no settings in the response: the defaults apply
        {readable, ServicePeer::Response("lql", "failure", "<reason>none</reason>"), CSEIntegrationAgent::Connected, {}},
        {unreadable, versions("0|okt|1"), CSEIntegrationAgent::Connected, {}},
    };
    for (const auto& c : cases) {
        int logins = 0;
        ServicePeer peer([&](const std::string& request) {
            if (ServicePeer::AttributeOf(request, "cname") != "login")
                return c.lql;
            return logins++ == 0 ? c.login : unreadable;
        });
        PublishPort(peer.Port());
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        EXPECT_EQ(Agent().Login(), c.status) << c.lql;
        const CSEServerSettings* settings = Agent().GetServerSettingsPtr();
        EXPECT_EQ(settings == nullptr, c.login == unreadable) << c.lql;
        EXPECT_EQ(ComponentVersions(), c.versions) << c.lql;
        EXPECT_EQ(peer.Requests().size(), c.login == unreadable ? 1u : 2u) << "no version query without settings";
        Agent().Login();
        EXPECT_EQ(Agent().GetServerSettingsPtr(), settings) << c.lql;
        Agent().Disconnect();
    }
}

// The exchange files carry commands with their passwords; no exchange goes without its request file.
TEST_F(IntegrationAgentTest, ExchangeFilesAreForTheirOwnerOnlyAndNeededForAnExchange)
{
    ServicePeer peer(ServicePeer::Answer("success", ""));
    PublishPort(peer.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const CSEString command(u"<?xml version='1.0'?><command cname='loginEx' username='ann' password='s3cr&amp;t'/>");
    ASSERT_TRUE(Agent().SendCommand(command));
    CSEString thin;
    ASSERT_TRUE(Agent().GetResponse(thin));
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{Utf8(command)});
    EXPECT_EQ(ReadFile("recd.xml"), Utf8(thin));
    for (const char* name : {"QxRequest.xml", "sent.xml", "recd.xml"})
        EXPECT_EQ(PermissionsOf(PathOf(name)), 0600) << name;

    // A folder where the request file belongs: the pointer would name a file that is not this command.
    ASSERT_EQ(::unlink(PathOf("QxRequest.xml").c_str()), 0);
    ASSERT_EQ(::mkdir(PathOf("QxRequest.xml").c_str(), 0700), 0);
    EXPECT_FALSE(Agent().SendCommand(u"<command cname='ping'/>"));
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(peer.Requests().size(), 1u);
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
    ASSERT_EQ(Agent().InitServerSettingsForSilent(u"<response><info/></response>"), 0);
    m_application.onTurn = [&] {
        CSEString text;
        EXPECT_FALSE(Agent().SendCommand(u"<command cname='nested'/>"));
        EXPECT_FALSE(Agent().GetResponse(text));
        EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);
    };
    const CSEString command(u"<command cname='outer'/>");
    ASSERT_TRUE(Agent().SendCommand(command));
    CSEString thin;
    EXPECT_TRUE(Agent().GetResponse(thin));
    EXPECT_GE(m_application.turns, 1);
    EXPECT_EQ(ReadFile("QxRequest.xml"), Utf8(command));
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{Utf8(command)});
}

// A wait that fails because the host closed its connection during the interface turn drops nothing
// more: a connection the host made in the same turn stays and carries the next exchange.
TEST_F(IntegrationAgentTest, ConnectionMadeDuringTheInterfaceTurnOutlivesTheFailedWait)
{
    for (const bool ping : {false, true}) {
        SCOPED_TRACE(ping ? "ping" : "command");
        LoopbackPeer silent([](int fd) { loopback::ReadUntilClosed(fd); });
        LoopbackPeer next;
        PublishPort(silent.Port());
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        ASSERT_EQ(Agent().InitServerSettingsForSilent(u"<response><info/></response>"), 0);
        m_application.turns = 0;
        m_application.onTurn = [&] {
            if (m_application.turns > 1)
                return;
            Agent().Disconnect();
            PublishPort(next.Port());
            EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        };
        CSEString thin;
        if (ping)
            EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::Connected);
        else
            EXPECT_TRUE(Agent().SendCommand(u"<command cname='outer'/>") && !Agent().GetResponse(thin));
        m_application.onTurn = nullptr;
        EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::Connected);
        const int fd = next.Accept(2000);
        ASSERT_GE(fd, 0);
        EXPECT_TRUE(Agent().SendCommand(u"<command cname='next'/>"));
        EXPECT_TRUE(DataArrives(fd, 2000));
        ::close(fd);
        Agent().Disconnect();
    }
}

// A received text goes into the log whole only when it is short: a response may grow to 16 MiB.
TEST_F(IntegrationAgentTest, LongReceivedTextIsLoggedAbridged)
{
    std::string sent = "<response n='";
    for (int i = 0; i < 20000; ++i)
        sent += "\xE2\x82\xAC";
    sent += "'></response>";
    LoopbackPeer peer([&](int fd) {
        loopback::ReadBytes(fd, std::string::npos, "/>");
        loopback::SendBytes(fd, sent);
    });
    PublishPort(peer.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_TRUE(Agent().SendCommand(u"<command cname='big'/>"));
    CSEString received;
    EXPECT_TRUE(Agent().GetResponse(received));
    EXPECT_EQ(Utf8(received), sent);

    for (const std::string& text : LogTexts(kMainLog, 5)) {
        EXPECT_LE(text.size(), 4096u + 128u);
        EXPECT_TRUE(dvk::IsValidUtf8(text.data(), text.size()));
    }
    EXPECT_TRUE(Contains(MainLog(), sent.substr(0, 1000))) << "the head is logged";
}

TEST_F(IntegrationAgentTest, StartBrowserOpensTheAddressOfTheMode)
{
    // A browser that writes the address it was given into a file.
    const std::string browser = PathOf("browser.sh");
    const std::string opened = PathOf("opened.txt");
    std::ofstream(browser) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" '" << opened << "'\n";
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
}
