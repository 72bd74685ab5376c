// Behaviour of CSESocketCommunicator against raw loopback peers: connecting, sending, the wait with the
// host's interface turn, reading one response, and the failures of each.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "CSESocketCommunicator.h"
#include "common/LoopbackPeer.h"
#include "common/ServiceFixture.h"
#include "connection/CSESocketChannel.h"

using loopback::LoopbackPeer;
using loopback::Pause;
using loopback::ReadBytes;
using loopback::ReadUntilClosed;
using loopback::SendBytes;
using Clock = std::chrono::steady_clock;

namespace {

const CSESocketCommunicator::SocketHandle kInvalid = CSESocketCommunicator::InvalidSocket;
const std::string kResponse = "<?xml version='1.0'?><response dirname='/tmp/q' filename='Response.xml'></response>";
const std::string kIntermediate =
    "[CSESocketCommunicator::receiveCSEString] Intermediate : String received so far from the socket : ";

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
    void Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(loopback::kPeerTimeoutMs), [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

// Records the ports that reach the platform's lookup and connect.
class RecordingChannel : public CSESocketChannel
{
public:
    explicit RecordingChannel(std::shared_ptr<std::vector<unsigned int>> ports) : m_ports(std::move(ports)) {}
    std::string GetHostIPAddress(const std::string&) override { return "127.0.0.1"; }
    SocketHandle CreateSocketActual(const std::string&, std::uint16_t port) override
    {
        m_ports->push_back(port);
        return 7;
    }
    bool SendCSEString(SocketHandle, const CSEString&) override { return true; }
    bool ReceiveCSEString(SocketHandle, CSEString&) override { return true; }
    void CloseSocket(SocketHandle) override {}

private:
    std::shared_ptr<std::vector<unsigned int>> m_ports;
};

} // namespace

class SocketTransport : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        // The default action of SIGPIPE ends the process: a send that raised it would end the suite.
        m_previousPipeAction = ::signal(SIGPIPE, SIG_DFL);
    }

    void TearDown() override
    {
        ::signal(SIGPIPE, m_previousPipeAction);
        ServiceFixture::TearDown();
    }

    void Connect(CSESocketCommunicator& communicator, const LoopbackPeer& peer)
    {
        ASSERT_NE(communicator.CreateSocket("127.0.0.1", peer.Port()), kInvalid);
        ASSERT_TRUE(communicator.IsSocketAlive());
    }

    std::vector<std::string> Debug() const { return LogTexts(kMainLog, 6); }

    sighandler_t m_previousPipeAction = SIG_DFL;
};

// --- Connecting -----------------------------------------------------------------------------------

TEST_F(SocketTransport, PortsOutsideTheRangeFailBeforeAnyConnectAndNeverWrap)
{
    auto ports = std::make_shared<std::vector<unsigned int>>();
    CSESocketCommunicator communicator(std::make_unique<RecordingChannel>(ports));
    const unsigned int missingPortFile = static_cast<unsigned int>(-1);
    for (const unsigned int port : {0u, 65536u, 65536u + 4000u, missingPortFile}) {
        EXPECT_EQ(communicator.CreateSocket("127.0.0.1", port), kInvalid) << port;
        EXPECT_EQ(communicator.CreateSocketActual("127.0.0.1", port), kInvalid) << port;
        EXPECT_FALSE(communicator.IsSocketAlive());
    }
    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", 1), 7u);
    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", 65535), 7u);
    EXPECT_EQ(*ports, (std::vector<unsigned int>{1, 65535}));
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSESocketCommunicator::CreateSocket] Port number -1 is outside 1 to 65535; "
                                    "no connection is attempted."));
}

TEST_F(SocketTransport, ConnectsByNameOrAddressWithNoDelayAndClosesTheEarlierConnection)
{
    std::atomic<bool> firstSawClose{false};
    LoopbackPeer first([&](int fd) {
        char byte = 0;
        firstSawClose = ReadUntilClosed(fd).empty() && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
    });
    LoopbackPeer second([](int fd) { ReadUntilClosed(fd); });
    CSESocketCommunicator communicator;
    const char* hosts[] = {"localhost", "127.0.0.1"};
    for (LoopbackPeer* peer : {&first, &second}) {
        const char* host = hosts[peer == &first ? 0 : 1];
        const CSESocketCommunicator::SocketHandle handle = communicator.CreateSocket(host, peer->Port());
        ASSERT_NE(handle, kInvalid) << host;
        int noDelay = 0;
        socklen_t size = sizeof(noDelay);
        ASSERT_EQ(::getsockopt(static_cast<int>(handle), IPPROTO_TCP, TCP_NODELAY, &noDelay, &size), 0);
        EXPECT_NE(noDelay, 0) << host;
    }
    first.Join();
    EXPECT_TRUE(firstSawClose);
}

TEST_F(SocketTransport, FailedConnectionsAndLookupsLeaveNoSocket)
{
    CSESocketCommunicator communicator;
    EXPECT_FALSE(communicator.IsSocketAlive());
    unsigned int closedPort = 0;
    {
        LoopbackPeer gone;
        closedPort = gone.Port();
    }
    EXPECT_EQ(communicator.CreateSocket("127.0.0.1", closedPort), kInvalid);
    EXPECT_EQ(communicator.CreateSocket("", 4000), kInvalid);
    EXPECT_EQ(communicator.CreateSocket(nullptr, 4000), kInvalid);
    EXPECT_EQ(communicator.CreateSocketActual("not-an-address", 4000), kInvalid);
    EXPECT_FALSE(communicator.IsSocketAlive());
    communicator.CloseSocket();
    communicator.CloseSocket();
    EXPECT_FALSE(communicator.IsSocketAlive());

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

// Each read is logged with its own text; a character or the closing tag cut by the end of a read is
// completed by the next one.
TEST_F(SocketTransport, ResponseInOneBytePiecesIsJoinedAndLoggedPieceByPiece)
{
    const std::string response = "<response n='\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E'></response>";
    LoopbackPeer peer([&](int fd) {
        for (const char byte : response) {
            SendBytes(fd, std::string(1, byte));
            Pause(2);
        }
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), response);
    std::vector<std::string> debug = Debug();
    ASSERT_GE(debug.size(), 4u);
    EXPECT_EQ(debug.front(), "[CSESocketCommunicator::ReceiveCSEString] Entered");
    EXPECT_EQ(debug[debug.size() - 2], "[CSESocketCommunicator::receiveCSEString] Final : Received string:\n");
    EXPECT_EQ(debug.back(), "[CSESocketCommunicator::ReceiveCSEString] Exiting");
    std::string pieces;
    for (std::size_t i = 1; i + 2 < debug.size(); ++i) {
        ASSERT_EQ(debug[i].compare(0, kIntermediate.size(), kIntermediate), 0) << debug[i];
        pieces += debug[i].substr(kIntermediate.size());
    }
    EXPECT_EQ(pieces, response) << "each line holds only the text of its own read";
    EXPECT_GT(debug.size(), 8u) << "the pieces came in separate reads";
}

// Bytes that came with the tag stay; what comes later belongs to the next response, after which the
// stream may end.
TEST_F(SocketTransport, ResponseEndsAtTheReadThatBringsTheTag)
{
    Gate firstTaken;
    LoopbackPeer peer([&](int fd) {
        SendBytes(fd, "<response>1</response>\n<x");
        firstTaken.Wait();
        SendBytes(fd, kResponse);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "<response>1</response>\n<x");
    firstTaken.Open();
    peer.Join();
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), kResponse);
    EXPECT_FALSE(communicator.ReceiveCSEString(text)) << "the next response finds the stream ended";
}

TEST_F(SocketTransport, PeerClosingBeforeTheTagFailsAndKeepsThePartialText)
{
    LoopbackPeer peer([](int fd) { SendBytes(fd, "<response dirname='D' \xE2\x82"); });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    CSEString text(u"earlier");
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "<response dirname='D' \xEF\xBF\xBD") << "the cut character shows as U+FFFD";
    EXPECT_TRUE(communicator.IsSocketAlive());
    const std::vector<std::string> debug = Debug();
    ASSERT_GE(debug.size(), 4u);
    EXPECT_EQ(debug[debug.size() - 3], "[CSESocketCommunicator::receiveCSEString] 'recv' gave 0 bytes while reading loop.!");
}

TEST_F(SocketTransport, ReceiveWithoutConnectionLeavesTheTextAlone)
{
    CSESocketCommunicator communicator;
    CSEString text(u"earlier");
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "earlier");
    EXPECT_EQ(Debug(), (std::vector<std::string>{"[CSESocketCommunicator::ReceiveCSEString] Entered",
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
    EXPECT_LT(MillisecondsSince(Clock::time_point(Clock::duration(sentAt.load()))), 150) << "no fixed sleep";
    EXPECT_GE(m_application.turns, 2) << "a turn about every 400 ms";
    EXPECT_LE(m_application.turns, 3);
}

TEST_F(SocketTransport, SilentProcessorGetsNoInterfaceTurn)
{
    UseSettings("", 1);
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
    EXPECT_EQ(m_application.turns, 1) << "the peer's close itself ended the wait";
    EXPECT_LT(MillisecondsSince(start), 700);
    EXPECT_EQ(Utf8(text), "");
}

// The host may close the connection during its turn, while nothing or part of a response has come.
TEST_F(SocketTransport, ClosingDuringTheInterfaceTurnEndsTheWait)
{
    for (const std::string partial : {"", "<response dirname='D'"}) {
        LoopbackPeer peer([&](int fd) {
            SendBytes(fd, partial);
            ReadUntilClosed(fd);
        });
        CSESocketCommunicator communicator;
        Connect(communicator, peer);
        m_application.turns = 0;
        m_application.onTurn = [&] { communicator.CloseSocket(); };
        CSEString text(u"earlier");
        EXPECT_FALSE(communicator.ReceiveCSEString(text));
        EXPECT_FALSE(communicator.IsSocketAlive());
        EXPECT_EQ(m_application.turns, 1) << partial;
        EXPECT_EQ(Utf8(text), partial.empty() ? "earlier" : partial);
    }
    EXPECT_EQ(LogTexts(kMainLog, 3), (std::vector<std::string>(2,
        "[CSESocketCommunicator::ReceiveCSEString] The connection was closed while the response was awaited.")));
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
        EXPECT_TRUE(communicator.IsReceiving());
        CSEString nestedText;
        nestedSend = communicator.SendCSEString(u"<request cname='ping'/>");
        nestedReceive = communicator.ReceiveCSEString(nestedText);
        answer.Open();
    };
    CSEString text;
    EXPECT_TRUE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), kResponse);
    EXPECT_FALSE(communicator.IsReceiving());
    EXPECT_FALSE(nestedSend);
    EXPECT_FALSE(nestedReceive);
    communicator.CloseSocket();
    peer.Join();
    EXPECT_EQ(unexpected, "");
}

// A host's failing interface turn is its own business: the response still belongs to the request.
TEST_F(SocketTransport, ThrowingInterfaceTurnNeitherEndsTheWaitNorMixesUpResponses)
{
    LoopbackPeer peer([](int fd) {
        for (const char* number : {"1", "2"}) {
            ReadBytes(fd, std::string::npos, "/>");
            Pause(600); // past the first interface turn
            SendBytes(fd, std::string("<response n='") + number + "'></response>");
        }
        ReadUntilClosed(fd);
    });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    const std::function<void()> throwers[] = {[] { throw std::runtime_error("window gone"); }, [] { throw 42; }};
    const char* numbers[] = {"1", "2"};
    for (int exchange = 0; exchange < 2; ++exchange) {
        m_application.turns = 0;
        m_application.onTurn = throwers[exchange];
        ASSERT_TRUE(communicator.SendCSEString(u"<request/>"));
        CSEString text;
        bool received = false;
        EXPECT_NO_THROW(received = communicator.ReceiveCSEString(text));
        EXPECT_TRUE(received);
        EXPECT_EQ(Utf8(text), std::string("<response n='") + numbers[exchange] + "'></response>");
        EXPECT_GE(m_application.turns, 1);
        EXPECT_FALSE(communicator.IsReceiving());
    }
    const std::vector<std::string> errors = LogTexts(kMainLog, 3);
    EXPECT_GE(errors.size(), 2u);
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const std::string& line) { return Contains(line, "window gone"); }));
}

// Anything else thrown while receiving ends the receive as a failure, which tells the caller to
// drop the connection with the rest of the response on it.
TEST_F(SocketTransport, ExceptionWhileReceivingFailsTheReceive)
{
    class ThrowingChannel : public RecordingChannel
    {
    public:
        using RecordingChannel::RecordingChannel;
        bool ReceiveCSEString(SocketHandle, CSEString&) override { throw std::bad_alloc(); }
    };
    CSESocketCommunicator communicator(std::make_unique<ThrowingChannel>(std::make_shared<std::vector<unsigned int>>()));
    ASSERT_NE(communicator.CreateSocket("127.0.0.1", 4000), kInvalid);
    CSEString text;
    bool received = true;
    EXPECT_NO_THROW(received = communicator.ReceiveCSEString(text));
    EXPECT_FALSE(received);
    EXPECT_FALSE(communicator.IsReceiving());
    EXPECT_FALSE(LogTexts(kMainLog, 3).empty());
}

TEST_F(SocketTransport, ResponseGrowingPast16MiBWithoutTheTagFails)
{
    UseSettings(""); // no log of every piece
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
