// Behaviour of CSESocketCommunicator against raw loopback peers: connecting, sending, the wait with the
// host's interface turn, reading one response, and the failures of each.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CSEClientSettings.h"
#include "CSESocketCommunicator.h"
#include "DVKApplication.h"
#include "connection/CSESocketChannel.h"
#include "connection/LoopbackPeer.h"
#include "support/InstallFolderFixture.h"

using loopback::LoopbackPeer;
using loopback::Pause;
using loopback::ReadBytes;
using loopback::ReadUntilClosed;
using loopback::SendBytes;
using loopback::SendInPieces;
using Clock = std::chrono::steady_clock;

namespace {

const CSESocketCommunicator::SocketHandle kInvalid = CSESocketCommunicator::InvalidSocket;
const std::string kResponse = "<?xml version='1.0'?><response dirname='/tmp/q' filename='Response.xml'></response>";
const char kDebugSettings[] = "[CLIENT]\ndebugflag=true\nclientloglevel=6\n";

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A one-shot signal between the test thread and a peer.
class Gate
{
public:
    void Open()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    bool Wait(int timeoutMs = loopback::kPeerTimeoutMs)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

// The host application: counts its interface turns and runs what a test asks during them.
class RecordingApplication : public DVKApplication
{
public:
    void PumpMessages() override
    {
        ++turns;
        if (onTurn)
            onTurn();
    }
    int turns = 0;
    std::function<void()> onTurn;
};

// Records which platform calls reach the channel.
struct ChannelCalls
{
    int lookups = 0;
    int connects = 0;
    std::vector<unsigned int> ports;
};

class RecordingChannel : public CSESocketChannel
{
public:
    explicit RecordingChannel(std::shared_ptr<ChannelCalls> calls) : m_calls(std::move(calls)) {}
    std::string GetHostIPAddress(const std::string&) override
    {
        ++m_calls->lookups;
        return "127.0.0.1";
    }
    SocketHandle CreateSocketActual(const std::string&, std::uint16_t port) override
    {
        ++m_calls->connects;
        m_calls->ports.push_back(port);
        return 7;
    }
    bool SendCSEString(SocketHandle, const CSEString&) override { return true; }
    bool ReceiveCSEString(SocketHandle, CSEString&) override { return true; }
    void CloseSocket(SocketHandle) override {}

private:
    std::shared_ptr<ChannelCalls> m_calls;
};

// Entries of the main log at one priority, without their stamps (texts may span lines).
std::vector<std::string> LogTexts(const std::string& log, int priority)
{
    const std::string stampPrefix = "<" + std::to_string(priority) + ">";
    const std::size_t stampLength = 3 + 24 + 1; // "<n>" + time stamp + ":"
    std::vector<std::string> texts;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t next = start;
        // An entry ends where a line starts with the next "<digit>" stamp.
        do {
            next = log.find("\n<", next + 1);
        } while (next != std::string::npos && next + 2 < log.size() && !std::isdigit(static_cast<unsigned char>(log[next + 2])));
        std::string entry = log.substr(start, next == std::string::npos ? std::string::npos : next - start);
        if (next == std::string::npos && !entry.empty() && entry.back() == '\n')
            entry.pop_back(); // the last line's own end
        if (entry.compare(0, stampPrefix.size(), stampPrefix) == 0 && entry.size() >= stampLength)
            texts.push_back(entry.substr(stampLength));
        if (next == std::string::npos)
            break;
        start = next + 1;
    }
    return texts;
}

} // namespace

class SocketTransport : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        // The default action of SIGPIPE ends the process: a send that raised it would end the suite.
        m_previousPipeAction = ::signal(SIGPIPE, SIG_DFL);
        DVKApplication::SetCurrent(&m_application);
    }

    void TearDown() override
    {
        DVKApplication::SetCurrent(nullptr);
        ::signal(SIGPIPE, m_previousPipeAction);
        InstallFolderFixture::TearDown();
    }

    void Connect(CSESocketCommunicator& communicator, const LoopbackPeer& peer)
    {
        ASSERT_NE(communicator.CreateSocket("127.0.0.1", peer.Port()), kInvalid);
        ASSERT_TRUE(communicator.IsSocketAlive());
    }

    std::string MainLog() const { return ReadFile("QxDravikV5.log"); }

    RecordingApplication m_application;
    sighandler_t m_previousPipeAction = SIG_DFL;
};

// --- Connecting -----------------------------------------------------------------------------------

TEST_F(SocketTransport, PortsOutsideTheRangeFailBeforeAnyLookupOrConnect)
{
    WriteSettings(kDebugSettings);
    auto calls = std::make_shared<ChannelCalls>();
    CSESocketCommunicator communicator(std::make_unique<RecordingChannel>(calls));
    const unsigned int missingPortFile = static_cast<unsigned int>(-1);
    for (const unsigned int port : {0u, 65536u, 70000u, missingPortFile}) {
        EXPECT_EQ(communicator.CreateSocket("127.0.0.1", port), kInvalid) << port;
        EXPECT_EQ(communicator.CreateSocketActual("127.0.0.1", port), kInvalid) << port;
        EXPECT_FALSE(communicator.IsSocketAlive());
    }
    EXPECT_EQ(calls->lookups, 0);
    EXPECT_EQ(calls->connects, 0);

    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", 1), 7u);
    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", 65535), 7u);
    EXPECT_EQ(calls->ports, (std::vector<unsigned int>{1, 65535}));

    const std::vector<std::string> errors = LogTexts(MainLog(), 3);
    ASSERT_EQ(errors.size(), 8u);
    EXPECT_EQ(errors[6], "[CSESocketCommunicator::CreateSocket] Port number -1 is outside 1 to 65535; "
                         "no connection is attempted.");
}

TEST_F(SocketTransport, PortAboveTheRangeNeverReachesItsLow16Bits)
{
    LoopbackPeer listener;
    CSESocketCommunicator communicator;
    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", listener.Port() + 65536), kInvalid);
    EXPECT_EQ(listener.Accept(50), -1) << "a connection arrived on the wrapped port";
}

TEST_F(SocketTransport, ConnectsByNameOrAddressWithNoDelay)
{
    for (const char* host : {"localhost", "127.0.0.1"}) {
        LoopbackPeer peer([](int fd) { ReadUntilClosed(fd); });
        CSESocketCommunicator communicator;
        const CSESocketCommunicator::SocketHandle handle = communicator.CreateSocket(host, peer.Port());
        ASSERT_NE(handle, kInvalid) << host;
        int noDelay = 0;
        socklen_t size = sizeof(noDelay);
        ASSERT_EQ(::getsockopt(static_cast<int>(handle), IPPROTO_TCP, TCP_NODELAY, &noDelay, &size), 0);
        EXPECT_NE(noDelay, 0) << host;
    }
}

TEST_F(SocketTransport, FailedConnectionsLeaveNoSocket)
{
    CSESocketCommunicator communicator;
    EXPECT_FALSE(communicator.IsSocketAlive());
    unsigned int closedPort = 0;
    {
        LoopbackPeer gone;
        closedPort = gone.Port();
    }
    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", closedPort), kInvalid);
    EXPECT_FALSE(communicator.IsSocketAlive());
    EXPECT_EQ(communicator.CreateSocket("", 4000), kInvalid);
    EXPECT_EQ(communicator.CreateSocket(nullptr, 4000), kInvalid);
    EXPECT_EQ(communicator.CreateSocketActual("not-an-address", 4000), kInvalid);
    EXPECT_FALSE(communicator.IsSocketAlive());
    communicator.CloseSocket();
    communicator.CloseSocket();
    EXPECT_FALSE(communicator.IsSocketAlive());
}

TEST_F(SocketTransport, NewConnectionClosesTheEarlierOne)
{
    std::atomic<bool> firstSawClose{false};
    LoopbackPeer first([&](int fd) {
        char byte = 0;
        firstSawClose = ReadBytes(fd, 1).empty() && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
    });
    LoopbackPeer second([](int fd) { ReadUntilClosed(fd); });
    CSESocketCommunicator communicator;
    Connect(communicator, first);
    Connect(communicator, second);
    first.Join();
    EXPECT_TRUE(firstSawClose);
    communicator.CloseSocket();
    EXPECT_FALSE(communicator.IsSocketAlive());
}

TEST_F(SocketTransport, HostAddressLookup)
{
    CSESocketCommunicator communicator;
    char* address = nullptr;
    communicator.GetHostIPAddress("localhost", &address);
    ASSERT_NE(address, nullptr);
    EXPECT_STREQ(address, "127.0.0.1");
    delete[] address;
    communicator.GetHostIPAddress("", &address);
    EXPECT_EQ(address, nullptr);
    EXPECT_DEATH(communicator.GetHostIPAddress("localhost", nullptr), "AssertionFailed:NULL != oHostIP");
}

// --- Sending --------------------------------------------------------------------------------------

TEST_F(SocketTransport, SendsTheUtf8BytesAndNothingElse)
{
    std::string received;
    LoopbackPeer peer([&](int fd) { received = ReadUntilClosed(fd); });
    CSESocketCommunicator communicator;
    EXPECT_FALSE(communicator.SendCSEString(u"<request/>")) << "no connection yet";
    Connect(communicator, peer);
    EXPECT_TRUE(communicator.SendCSEString(u""));
    EXPECT_TRUE(communicator.SendCSEString(u"<request n='\u00FC\u20AC\U0001D11E'/>"));
    communicator.CloseSocket();
    peer.Join();
    EXPECT_EQ(received, "<request n='\xC3\xBC\xE2\x82\xAC\xF0\x9D\x84\x9E'/>");
}

TEST_F(SocketTransport, InterruptedLargeSendStillDeliversEveryByteInOrder)
{
    // A handler without SA_RESTART makes a blocked send return early: short counts and EINTR.
    struct sigaction interrupt = {};
    struct sigaction previous = {};
    interrupt.sa_handler = [](int) {};
    ::sigemptyset(&interrupt.sa_mask);
    ASSERT_EQ(::sigaction(SIGUSR1, &interrupt, &previous), 0);

    std::string text;
    for (int line = 0; text.size() < std::size_t{4} * 1024 * 1024; ++line)
        text += "line " + std::to_string(line) + "\n";
    std::string received;
    LoopbackPeer peer([&](int fd) {
        while (received.size() < text.size()) {
            const std::string piece = ReadBytes(fd, std::min<std::size_t>(32768, text.size() - received.size()));
            if (piece.empty())
                break;
            received += piece;
            Pause(1);
        }
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);

    std::atomic<bool> sending{true};
    const pthread_t sender = ::pthread_self();
    std::thread interrupter([&] {
        while (sending) {
            ::pthread_kill(sender, SIGUSR1);
            Pause(1);
        }
    });
    const bool sent = communicator.SendCSEString(CSEString(text.c_str()));
    sending = false;
    interrupter.join();
    peer.Join();
    ::sigaction(SIGUSR1, &previous, nullptr);

    EXPECT_TRUE(sent);
    EXPECT_TRUE(received == text) << "received " << received.size() << " of " << text.size() << " bytes";
}

TEST_F(SocketTransport, SendingToAPeerThatLeftFailsWithoutSigpipe)
{
    LoopbackPeer peer([](int) {});
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    peer.Join();
    bool sent = true;
    for (int attempt = 0; attempt < 200 && sent; ++attempt) {
        sent = communicator.SendCSEString(u"<request/>");
        Pause(2);
    }
    EXPECT_FALSE(sent);
    EXPECT_TRUE(communicator.IsSocketAlive()) << "the caller decides to close";
}

// --- Receiving ------------------------------------------------------------------------------------

TEST_F(SocketTransport, ResponseInOneBytePiecesWithMultiByteCharacters)
{
    const std::string response = "<response n='\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E'></response>";
    LoopbackPeer peer([&](int fd) {
        SendInPieces(fd, response, 1, 1);
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), response);
}

TEST_F(SocketTransport, SplitTagAndCutCharacterAreJoinedAcrossReadsAndLogged)
{
    WriteSettings(kDebugSettings);
    LoopbackPeer peer([&](int fd) {
        for (const char* piece : {"<response v='\xE2\x82", "\xAC'></resp", "onse>"}) {
            SendBytes(fd, piece);
            Pause(30);
        }
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "<response v='\xE2\x82\xAC'></response>");

    const std::string intermediate =
        "[CSESocketCommunicator::receiveCSEString] Intermediate : String received so far from the socket : ";
    EXPECT_EQ(LogTexts(MainLog(), 6),
              (std::vector<std::string>{"[CSESocketCommunicator::ReceiveCSEString] Entered",
                                        intermediate + "<response v='",
                                        intermediate + "\xE2\x82\xAC'></resp",
                                        intermediate + "onse>",
                                        "[CSESocketCommunicator::receiveCSEString] Final : Received string:\n",
                                        "[CSESocketCommunicator::ReceiveCSEString] Exiting"}));
}

TEST_F(SocketTransport, BytesAfterTheTagInTheSameReadStayAndLaterBytesAreNotTaken)
{
    Gate firstTaken;
    LoopbackPeer peer([&](int fd) {
        SendBytes(fd, "<response>1</response>\n<x");
        firstTaken.Wait();
        SendBytes(fd, "<response>2</response>");
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "<response>1</response>\n<x");
    firstTaken.Open();
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "<response>2</response>");
}

TEST_F(SocketTransport, PeerClosingBeforeTheTagFailsAndKeepsThePartialText)
{
    WriteSettings(kDebugSettings);
    LoopbackPeer peer([](int fd) { SendBytes(fd, "<response dirname='D' \xE2\x82"); });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text(u"earlier");
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "<response dirname='D' \xEF\xBF\xBD") << "the cut character shows as U+FFFD";
    EXPECT_TRUE(communicator.IsSocketAlive());
    const std::vector<std::string> debug = LogTexts(MainLog(), 6);
    ASSERT_GE(debug.size(), 4u);
    EXPECT_EQ(debug[debug.size() - 3],
              "[CSESocketCommunicator::receiveCSEString] 'recv' gave 0 bytes while reading loop.!");
}

TEST_F(SocketTransport, PeerClosingRightAfterTheTagSucceeds)
{
    LoopbackPeer peer([](int fd) { SendBytes(fd, kResponse); });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    peer.Join();
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), kResponse);
    EXPECT_FALSE(communicator.ReceiveCSEString(text)) << "the next response finds the stream ended";
}

TEST_F(SocketTransport, ReceiveWithoutConnectionLeavesTheTextAlone)
{
    WriteSettings(kDebugSettings);
    CSESocketCommunicator communicator;
    CSEString text(u"earlier");
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "earlier");
    EXPECT_EQ(LogTexts(MainLog(), 6), (std::vector<std::string>{"[CSESocketCommunicator::ReceiveCSEString] Entered",
                                                                 "[CSESocketCommunicator::ReceiveCSEString] Exiting"}));
}

TEST_F(SocketTransport, WaitGivesTheInterfaceTurnsAndTakesTheResponseTheMomentItComes)
{
    std::atomic<long long> sentAt{0};
    LoopbackPeer peer([&](int fd) {
        Pause(1000);
        sentAt = Clock::now().time_since_epoch().count();
        SendBytes(fd, kResponse);
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    const Clock::time_point sent{Clock::duration(sentAt.load())};
    EXPECT_LT(MillisecondsSince(sent), 150) << "no fixed sleep between polls";
    EXPECT_GE(m_application.turns, 2) << "a turn about every 400 ms";
    EXPECT_LE(m_application.turns, 3);
}

TEST_F(SocketTransport, SilentProcessorGetsNoInterfaceTurn)
{
    WriteSettings("");
    CSEClientSettings::GetInstance(1);
    LoopbackPeer peer([&](int fd) {
        Pause(500); // past the first turn
        SendBytes(fd, kResponse);
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(m_application.turns, 0);
}

TEST_F(SocketTransport, PeerThatNeverAnswersEndsTheWaitWhenItCloses)
{
    Gate release;
    LoopbackPeer peer([&](int fd) {
        ReadBytes(fd, 10);
        release.Wait(); // never answers; closes when the test lets it go
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    m_application.onTurn = [&] {
        release.Open();
        if (m_application.turns >= 3)
            communicator.CloseSocket(); // bound for a transport that would not notice the close
    };
    ASSERT_TRUE(communicator.SendCSEString(u"<request/>"));
    CSEString text(u"earlier");
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(m_application.turns, 1) << "the close itself ended the wait";
    EXPECT_LT(MillisecondsSince(start), 700);
    EXPECT_EQ(Utf8(text), "");
}

TEST_F(SocketTransport, ClosingDuringTheInterfaceTurnEndsTheWait)
{
    WriteSettings(kDebugSettings);
    LoopbackPeer peer([](int fd) { ReadUntilClosed(fd); });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    m_application.onTurn = [&] { communicator.CloseSocket(); };
    CSEString text(u"earlier");
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_FALSE(communicator.IsSocketAlive());
    EXPECT_EQ(m_application.turns, 1);
    EXPECT_EQ(Utf8(text), "earlier");
    EXPECT_EQ(LogTexts(MainLog(), 3), (std::vector<std::string>{
        "[CSESocketCommunicator::ReceiveCSEString] The connection was closed while the response was awaited."}));
}

TEST_F(SocketTransport, StalledPartialResponseStillGivesTheInterfaceItsTurn)
{
    LoopbackPeer peer([](int fd) {
        SendBytes(fd, "<response dirname='D'");
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    m_application.onTurn = [&] { communicator.CloseSocket(); };
    CSEString text;
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(m_application.turns, 1);
    EXPECT_EQ(Utf8(text), "<response dirname='D'");
}

TEST_F(SocketTransport, NoSecondExchangeStartsDuringTheInterfaceTurn)
{
    Gate answer;
    std::string unexpected;
    LoopbackPeer peer([&](int fd) {
        answer.Wait();
        SendBytes(fd, kResponse);
        unexpected = ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    bool nestedSend = true;
    bool nestedReceive = true;
    m_application.onTurn = [&] {
        CSEString nestedText;
        nestedSend = communicator.SendCSEString(u"<request cname='ping'/>");
        nestedReceive = communicator.ReceiveCSEString(nestedText);
        answer.Open();
    };
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), kResponse);
    EXPECT_FALSE(nestedSend);
    EXPECT_FALSE(nestedReceive);
    communicator.CloseSocket();
    peer.Join();
    EXPECT_EQ(unexpected, "");
}

TEST_F(SocketTransport, ResponseGrowingPast16MiBWithoutTheTagFails)
{
    LoopbackPeer peer([](int fd) {
        const std::string block(std::size_t{64} * 1024, 'a');
        // Keeps sending until the client stops reading and closes.
        for (std::size_t sent = 0; sent < std::size_t{32} * 1024 * 1024 && SendBytes(fd, block); sent += block.size()) {
        }
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_GT(text.size(), static_cast<int>(CSESocketCommunicator::MaxResponseBytes));
    EXPECT_LE(text.size(), static_cast<int>(CSESocketCommunicator::MaxResponseBytes + 1000));
    communicator.CloseSocket();
}
