// Behaviour of CSEIntegrationAgent against small in-test peers: the port file, the connection states,
// login and the component versions, failures that drop the connection, and the files it writes.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "CSEIntegrationAgent.h"
#include "CSEServerSettings.h"
#include "CSEStringCSEStringMap.h"
#include "connection/IntegrationAgentFixture.h"
#include "connection/LoopbackPeer.h"
#include "host/DVKEnv.h"

namespace {

// What the peer answers to one request: a response file with result and "info" content, or a
// response file with exactly the given text, or no answer at all (the connection is closed).
struct Reply
{
    std::string result = "success";
    std::string info;
    std::string rawFile;
    bool close = false;
};

using Responder = std::function<Reply(const std::string& cname)>;

// The value of attribute name in the first tag of xml that has it (single or double quotes).
std::string AttributeOf(const std::string& xml, const std::string& name)
{
    for (const char quote : {'\'', '"'}) {
        const std::string start = " " + name + "=" + quote;
        const std::size_t at = xml.find(start);
        if (at == std::string::npos)
            continue;
        const std::size_t from = at + start.size();
        const std::size_t end = xml.find(quote, from);
        if (end != std::string::npos)
            return xml.substr(from, end - from);
    }
    return std::string();
}

// One request pointer, up to and including "/>"; empty when the client closed or stayed silent.
std::string ReadPointer(int fd)
{
    std::string bytes;
    char buffer[4096];
    while (bytes.find("/>") == std::string::npos) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, loopback::kPeerTimeoutMs) <= 0)
            return std::string();
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return std::string();
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

// Answers requests the way the integration service does: reads the request file that the pointer
// names, writes "Response.xml" beside it and sends the thin response naming it.
void ServeExchanges(int fd, const Responder& responder)
{
    for (;;) {
        const std::string pointer = ReadPointer(fd);
        if (pointer.empty())
            return;
        const std::string folder = AttributeOf(pointer, "dirname");
        const std::string request = IntegrationAgentFixture::ReadFile(folder + "/" + AttributeOf(pointer, "filename"));
        const Reply reply = responder(AttributeOf(request, "cname"));
        if (reply.close)
            return;
        std::string file = reply.rawFile;
        if (file.empty())
            file = "<?xml version='1.0' encoding='UTF-8'?><response cname='" + AttributeOf(request, "cname")
                   + "' iid='1' ver='10.7.SP1' MCAD='abc' result='" + reply.result + "'><info>" + reply.info
                   + "</info></response>";
        std::ofstream(folder + "/Response.xml", std::ios::binary) << file;
        loopback::SendBytes(fd, "<?xml version='1.0'?><response dirname='" + folder
                                    + "' filename='Response.xml'></response>");
    }
}

// A service that logs anyone in and reports the given component-version text.
Responder LoginAndVersions(const std::string& versions)
{
    return [versions](const std::string& cname) {
        Reply reply;
        if (cname == "login")
            reply.info = "<gsettings/>";
        else if (cname == "lql")
            reply.info = versions;
        return reply;
    };
}

std::map<std::string, std::string> ComponentVersions(CSEServerSettings& settings)
{
    std::map<std::string, std::string> versions;
    CSEStringCSEStringMap& table = settings.GetServerComponentVersions();
    for (CSEStringCSEStringMapIterator it = table.begin(); it != table.end(); ++it)
        versions[(*it).key().ToUTF8()] = (*it).value().ToUTF8();
    return versions;
}

// True when a client connected to the peer within timeoutMs.
bool ClientConnected(loopback::LoopbackPeer& peer, int timeoutMs)
{
    const int fd = peer.Accept(timeoutMs);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// True when bytes (not just the end of the connection) arrive on the socket within timeoutMs.
bool DataArrives(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, timeoutMs) <= 0)
        return false;
    char byte;
    return ::recv(fd, &byte, 1, MSG_PEEK) > 0;
}

// A peer that serves exchanges with the responder; the agent lets go of it before it is joined, so
// that its script ends at once instead of waiting for a further request.
class ServingPeer
{
public:
    explicit ServingPeer(Responder responder)
        : m_peer([responder](int fd) { ServeExchanges(fd, responder); })
    {
    }
    ~ServingPeer() { CSEIntegrationAgent::GetIntegrationAgent().Disconnect(); }
    ServingPeer(const ServingPeer&) = delete;
    ServingPeer& operator=(const ServingPeer&) = delete;

    loopback::LoopbackPeer& Peer() { return m_peer; }

private:
    loopback::LoopbackPeer m_peer;
};

class IntegrationAgentTest : public IntegrationAgentFixture
{
protected:
    // Connects to the peer through the port file and logs in.
    CSEIntegrationAgent::ConnectionStatus ConnectAndLogin(loopback::LoopbackPeer& peer)
    {
        WritePortFile(std::to_string(peer.Port()) + "\n");
        EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        return Agent().Login();
    }
};

} // namespace

TEST_F(IntegrationAgentTest, PortFileFirstLineGivesThePort)
{
    loopback::LoopbackPeer peer;
    const std::string port = std::to_string(peer.Port());
    for (const std::string& content : {port + "\n", port, "  +" + port + ";rest\n", port + "\r\n9"}) {
        WritePortFile(content);
        EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected) << content;
        EXPECT_TRUE(ClientConnected(peer, 2000)) << content;
        Agent().Disconnect();
    }
    EXPECT_TRUE(Contains(MainLog(), "[CSEIntegrationAgent::ReadSocketPortFromFile] The port number parsed from the "
                                    "content of the OKT.PORT file is : " + port));
    EXPECT_TRUE(Contains(MainLog(), "[CSEIntegrationAgent::ReadSocketPortFromFile] Found the OKT.PORT file : "
                                    + m_profile + "/okt.port"));
}

TEST_F(IntegrationAgentTest, PortFileWithoutAUsablePortConnectsNowhere)
{
    loopback::LoopbackPeer peer;
    const std::string port = std::to_string(peer.Port());
    const struct
    {
        std::string content;
        std::string parsed;
    } cases[] = {
        {"port\n", "0"},                                // only letters
        {"\n" + port + "\n", "0"},                      // the port on the second line
        {std::string(19, ' ') + port, "0"},             // past the 19 bytes that are read
        {"0\n", "0"},
        {"-1\n", "-1"},
        {"70000\n", "70000"},                           // above the port range
        {"99999999999999999999\n", "2147483647"},     // clamped, not overflowed
        {"", "0"},
    };
    for (const auto& c : cases) {
        WritePortFile(c.content);
        EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected) << c.content;
        EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
        EXPECT_TRUE(Contains(MainLog(), "[CSEIntegrationAgent::Connect] Port number " + c.parsed
                                            + " is outside 1 to 65535; no connection is attempted."))
            << c.content;
    }
    EXPECT_FALSE(ClientConnected(peer, 200)) << "no connection may be attempted";
}

TEST_F(IntegrationAgentTest, MissingPortFileIsReportedAndConnectsNowhere)
{
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    const std::string log = MainLog();
    const std::string missing = LineWith(log, "[CSEIntegrationAgent::ReadSocketPortFromFile] OKT.PORT file doesnot "
                                              "exists at the following location " + m_profile + "/okt.port");
    EXPECT_EQ(missing.substr(0, 3), "<3>") << missing;
    EXPECT_TRUE(Contains(log, "Port number -1 is outside 1 to 65535"));

    // A folder in place of the file cannot be read either.
    ASSERT_EQ(::mkdir((m_profile + "/okt.port").c_str(), 0700), 0);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    EXPECT_TRUE(Contains(MainLog(), "OKT.PORT file could not be read : " + m_profile + "/okt.port"));
}

TEST_F(IntegrationAgentTest, ProfileFolderFallsBackToHomeWhenUserProfileIsEmpty)
{
    loopback::LoopbackPeer peer;
    const std::string home = MakeTempFolder("qorvi-agent-home");
    std::ofstream(home + "/okt.port") << peer.Port() << "\n";
    const std::string savedHome = dvk::GetEnvOrEmpty("HOME");
    setenv("HOME", home.c_str(), 1);
    setenv("USERPROFILE", "", 1);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    Agent().Disconnect();
    setenv("HOME", savedHome.c_str(), 1);
    dvk::DeleteTree(home);
}

TEST_F(IntegrationAgentTest, ConnectTwiceOpensOneConnection)
{
    loopback::LoopbackPeer peer;
    WritePortFile(std::to_string(peer.Port()));
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_TRUE(ClientConnected(peer, 2000));
    EXPECT_FALSE(ClientConnected(peer, 200)) << "the second Connect opened another connection";
}

TEST_F(IntegrationAgentTest, ConnectWithoutClientNameConnectsNowhere)
{
    loopback::LoopbackPeer peer;
    WritePortFile(std::to_string(peer.Port()));
    WriteSettings("[SERVER]\naddress=x\n[CLIENT]\ndebugflag=true\n");
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected);
    EXPECT_FALSE(ClientConnected(peer, 200));
    EXPECT_TRUE(Contains(MainLog(), "\"clientname\""));
}

TEST_F(IntegrationAgentTest, LoginAndPingSendNothingOutsideTheirStates)
{
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::NotConnected);

    loopback::LoopbackPeer peer;
    WritePortFile(std::to_string(peer.Port()));
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = peer.Accept(2000);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::Connected);
    EXPECT_FALSE(DataArrives(fd, 200)) << "a ping was sent before the login";
    EXPECT_FALSE(dvk::PathExists(InstallFile("QxRequest.xml")));
    ::close(fd);
}

TEST_F(IntegrationAgentTest, SilentLoginSendsNothing)
{
    WriteSettings(kDefaultSettings, 1);
    loopback::LoopbackPeer peer;
    WritePortFile(std::to_string(peer.Port()));
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = peer.Accept(2000);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::Connected);
    EXPECT_FALSE(DataArrives(fd, 200));
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    ::close(fd);
}

TEST_F(IntegrationAgentTest, SilentPortFromTheHostWinsOverThePortFile)
{
    WriteSettings(kDefaultSettings, 1);
    loopback::LoopbackPeer filePeer;
    loopback::LoopbackPeer hostPeer;
    WritePortFile(std::to_string(filePeer.Port()));
    Agent().SetSilentAppletPortNumber(static_cast<int>(hostPeer.Port()));
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_TRUE(ClientConnected(hostPeer, 2000));
    EXPECT_FALSE(ClientConnected(filePeer, 200));
}

TEST_F(IntegrationAgentTest, VersionListBecomesLowerCaseComponentVersions)
{
    const struct
    {
        std::string list;
        std::map<std::string, std::string> versions;
    } cases[] = {
        {"0|framework|10.2|designer|3.5", {{"framework", "10.2"}, {"designer", "3.5"}}},
        {"Framework|10.2", {{"framework", "10.2"}}},                     // no status token
        {"0|Framework|QTL2012x-2.4|Vexlin", {{"framework", "qtl2012x-2.4"}}}, // last token unpaired
        {"0|Core|1|CORE|2", {{"core", "2"}}},                             // a later equal key wins
        {"0", {}},
    };
    for (const auto& c : cases) {
        ServingPeer peer(LoginAndVersions(c.list));
        EXPECT_EQ(ConnectAndLogin(peer.Peer()), CSEIntegrationAgent::LoggedIn) << c.list;
        ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
        EXPECT_EQ(ComponentVersions(*Agent().GetServerSettingsPtr()), c.versions) << c.list;
        Agent().Disconnect();
    }
}

TEST_F(IntegrationAgentTest, LoginResponseWithoutSettingsStaysConnected)
{
    for (const std::string& file : {std::string("<response result='success'><info"),            // not well-formed
                                    std::string("<response result='success'><other/></response>")}) { // no info
        ServingPeer peer([&](const std::string&) {
            Reply reply;
            reply.rawFile = file;
            return reply;
        });
        EXPECT_EQ(ConnectAndLogin(peer.Peer()), CSEIntegrationAgent::Connected) << file;
        EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
        EXPECT_TRUE(Contains(MainLog(), "[CSEIntegrationAgent::Login] InitServerSettings failed to parse the login "
                                        "response."));
        Agent().Disconnect();
    }
}

TEST_F(IntegrationAgentTest, FailedVersionQueryKeepsTheSettingsAndStaysConnected)
{
    ServingPeer peer([](const std::string& cname) {
        Reply reply;
        if (cname == "login") {
            reply.info = "<gsettings/>";
        } else {
            reply.result = "failure";
            reply.info = "<reason>no versions today</reason>";
        }
        return reply;
    });
    EXPECT_EQ(ConnectAndLogin(peer.Peer()), CSEIntegrationAgent::Connected);
    EXPECT_NE(Agent().GetServerSettingsPtr(), nullptr);
    const std::string log = MainLog();
    EXPECT_TRUE(Contains(log, "CSEIntegrationAgent::sendRequestForServerComponentVersions() Failed.no versions today"));
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::Login] Failed to get the server components versions."));
}

TEST_F(IntegrationAgentTest, LostConnectionDropsTheWholeStateAndKeepsTheLastResponseFile)
{
    int exchanges = 0;
    ServingPeer peer([&](const std::string& cname) {
        Reply reply = LoginAndVersions("0|framework|1")(cname);
        reply.close = ++exchanges > 2; // login and versions are answered, then the peer goes away
        return reply;
    });
    ASSERT_EQ(ConnectAndLogin(peer.Peer()), CSEIntegrationAgent::LoggedIn);
    const std::string lastResponse = ReadFile(InstallFile("recd.xml"));
    EXPECT_TRUE(Contains(lastResponse, "filename='Response.xml'"));

    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(ReadFile(InstallFile("recd.xml")), lastResponse);
    CSEString response;
    EXPECT_FALSE(Agent().GetResponse(response)) << "a closed connection cannot answer";
    EXPECT_FALSE(Agent().SendCommand(u"<command cname='ping'/>"));
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
}

TEST_F(IntegrationAgentTest, ExchangeLogsMaskPasswordsAndFilesAreOwnerOnly)
{
    ServingPeer peer(LoginAndVersions("0|framework|1"));
    WritePortFile(std::to_string(peer.Peer().Port()));
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const CSEString command(u"<?xml version='1.0'?><command cname='loginEx' username='ann' password='s3cr&amp;t'/>");
    ASSERT_TRUE(Agent().SendCommand(command));
    CSEString thin;
    ASSERT_TRUE(Agent().GetResponse(thin));
    EXPECT_TRUE(Contains(thin().ToUTF8(), "filename='Response.xml'"));

    const std::string log = MainLog();
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::SendCommand] Sending command: "));
    EXPECT_TRUE(Contains(log, "password='*****'"));
    EXPECT_FALSE(Contains(log, "s3cr")) << "a password reached the log";
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::SendCommand] Sending Request: "));
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::GetResponse]Entered"));
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::GetResponse] Thin response recieved: " + thin().ToUTF8()));

    // The service needs the command as it is; the files are for their owner only.
    EXPECT_EQ(ReadFile(InstallFile("QxRequest.xml")), command().ToUTF8());
    EXPECT_TRUE(Contains(ReadFile(InstallFile("sent.xml")), "filename='QxRequest.xml'"));
    EXPECT_EQ(ReadFile(InstallFile("recd.xml")), thin().ToUTF8());
    for (const char* name : {"QxRequest.xml", "sent.xml", "recd.xml"})
        EXPECT_EQ(PermissionsOf(InstallFile(name)), 0600) << name;
}

TEST_F(IntegrationAgentTest, UnwritableRequestFileSendsNothingAndDisconnects)
{
    loopback::LoopbackPeer peer;
    WritePortFile(std::to_string(peer.Port()));
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const int fd = peer.Accept(2000);
    ASSERT_GE(fd, 0);
    // A folder where the request file belongs: the pointer would name a file that is not this command.
    ASSERT_EQ(::mkdir(InstallFile("QxRequest.xml").c_str(), 0700), 0);
    EXPECT_FALSE(Agent().SendCommand(u"<command cname='ping'/>"));
    EXPECT_FALSE(DataArrives(fd, 200));
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_TRUE(Contains(MainLog(), "Could not write the file " + InstallFile("QxRequest.xml")));
    ::close(fd);
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
    const std::string browser = InstallFile("browser.sh");
    const std::string opened = InstallFile("opened.txt");
    std::ofstream(browser) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened << ".tmp' && mv '" << opened
                           << ".tmp' '" << opened << "'\n";
    ASSERT_EQ(::chmod(browser.c_str(), 0700), 0);
    setenv("DEFAULT_BROWSER_PATH", browser.c_str(), 1);
    const auto openedAddress = [&]() {
        for (int i = 0; i < 100 && !dvk::PathExists(opened); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::string address = ReadFile(opened);
        dvk::DeleteFile(opened);
        return address;
    };

    EXPECT_NE(Agent().StartBrowser(), 0);
    EXPECT_EQ(openedAddress(), "http://pdm.example/main");

    WriteSettings(kDefaultSettings, 1);
    EXPECT_NE(Agent().StartBrowser(), 0);
    EXPECT_EQ(openedAddress(), "http://pdm.example/silent");
    Agent().SetServerUrl(u"http://pdm.example/from-host");
    EXPECT_NE(Agent().StartBrowser(), 0);
    EXPECT_EQ(openedAddress(), "http://pdm.example/from-host");
    unsetenv("DEFAULT_BROWSER_PATH");

    const std::string log = MainLog();
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::StartBrowser] Entering"));
    EXPECT_TRUE(Contains(log, "[CSEIntegrationAgent::StartBrowser] Exiting"));
}
