// Behaviour of CSESocketCommunicator against raw loopback peers: connecting, sending, the wait with the
// host's interface turn, reading one response, and the failures of each.
#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
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

// A platform whose receive throws.
class ThrowingChannel : public CSESocketChannel
{
public:
    std::string GetHostIPAddress(const std::string&) override { return "127.0.0.1"; }
    SocketHandle CreateSocketActual(const std::string&, std::uint16_t) override { return 7; }
    bool SendCSEString(SocketHandle, const CSEString&) override { return true; }
    bool ReceiveCSEString(SocketHandle, CSEString&) override { throw std::bad_alloc(); }
    void CloseSocket(SocketHandle) override {}
};

// One connection's story: what the peer does, what each receive (after a request) leaves in a text
// that held "earlier", and what the host's interface turn does meanwhile.
struct Exchange
{
    const char* what;
    LoopbackPeer::Script peer;
    std::vector<std::string> texts; // a receive succeeds exactly when its text holds "</response>"
    int minTurns;
    int maxTurns;
    std::function<void(CSESocketCommunicator&)> turn = nullptr;
    unsigned char silent = 0;
};

} // namespace

class SocketTransport : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        // A send that raised SIGPIPE must end the suite, even where the runner ignores the signal.
        ::signal(SIGPIPE, SIG_DFL);
    }

    void Connect(CSESocketCommunicator& communicator, const LoopbackPeer& peer)
    {
        ASSERT_NE(communicator.CreateSocket("127.0.0.1", peer.Port()), kInvalid);
    }
};

TEST_F(SocketTransport, ConnectsByNameOrAddressClosingTheEarlierConnectionAndFailsCleanly)
{
    std::atomic<bool> firstSawClose{false};
    LoopbackPeer first([&](int fd) {
        char byte = 0;
        firstSawClose = ReadUntilClosed(fd).empty() && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
    });
    LoopbackPeer second([](int fd) { ReadUntilClosed(fd); });
    CSESocketCommunicator communicator;
    ASSERT_NE(communicator.CreateSocket("localhost", first.Port()), kInvalid);
    ASSERT_NE(communicator.CreateSocket("127.0.0.1", second.Port()), kInvalid);
    first.Join();
    EXPECT_TRUE(firstSawClose);

    // Ports outside the range never wrap round to one that is in it; -1 stands for a missing port file.
    for (const unsigned int port : {0u, 65536u + first.Port(), static_cast<unsigned int>(-1)}) {
        EXPECT_EQ(communicator.CreateSocket("127.0.0.1", port), kInvalid) << port;
        EXPECT_EQ(communicator.CreateSocketActual("127.0.0.1", port), kInvalid) << port;
    }
    EXPECT_LT(first.Accept(100), 0);
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
    EXPECT_FALSE(communicator.SendCSEString(u"<request/>"));
    CSEString text(u"earlier");
    EXPECT_FALSE(communicator.ReceiveCSEString(text));
    EXPECT_EQ(Utf8(text), "earlier");

    char stale = 0;
    char* address = &stale; // an unknown host leaves no stale pointer for the caller to free
    communicator.GetHostIPAddress("", &address);
    EXPECT_EQ(address, nullptr);
    EXPECT_DEATH(communicator.GetHostIPAddress("localhost", nullptr), "AssertionFailed:NULL != oHostIP");
}

// Whatever the platform throws fails the receive, which tells the caller to drop the connection with
// the rest of the response on it.
TEST_F(SocketTransport, NothingThrownWhileReceivingEscapes)
{
    CSESocketCommunicator communicator(std::make_unique<ThrowingChannel>());
    ASSERT_NE(communicator.CreateSocket("127.0.0.1", 4000), kInvalid);
    CSEString text;
    bool received = true;
    EXPECT_NO_THROW(received = communicator.ReceiveCSEString(text));
    EXPECT_FALSE(received);
    EXPECT_FALSE(communicator.IsReceiving());
}

TEST_F(SocketTransport, SendsTheUtf8BytesAndNothingElseThenFailsWithoutSigpipeOnceThePeerLeft)
{
    std::string received;
    LoopbackPeer peer([&](int fd) { received = ReadBytes(fd, std::string::npos, "<end/>"); });
    CSESocketCommunicator communicator;
    Connect(communicator, peer);
    for (const char16_t* text : {u"", u"<request n='\u00FC\u20AC\U0001D11E'/>", u"<end/>"})
        EXPECT_TRUE(communicator.SendCSEString(text));
    peer.Join();
    EXPECT_EQ(received, "<request n='\xC3\xBC\xE2\x82\xAC\xF0\x9D\x84\x9E'/><end/>");
    bool sent = true;
    for (int attempt = 0; attempt < 200 && sent; ++attempt) {
        sent = communicator.SendCSEString(u"<request/>");
        Pause(2);
    }
    EXPECT_FALSE(sent);
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

TEST_F(SocketTransport, ReceiveEndsWhereThePeerOrTheHostEndsIt)
{
    const std::string wide = "<response n='\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E'></response>";
    std::vector<std::string> bytewise;
    for (const char byte : wide)
        bytewise.emplace_back(1, byte);
    std::atomic<Clock::rep> answeredAt{0};
    std::atomic<std::size_t> bytesSent{0};
    // Awaits a request, waits delayMs, then sends the pieces apart.
    const auto answer = [&](int fd, const std::vector<std::string>& pieces, int delayMs) {
        ReadBytes(fd, std::string::npos, "/>");
        Pause(delayMs);
        for (const std::string& piece : pieces) {
            Pause(2);
            answeredAt = Clock::now().time_since_epoch().count();
            bytesSent += piece.size();
            SendBytes(fd, piece);
        }
    };
    const auto closeSocket = [](CSESocketCommunicator& communicator) { communicator.CloseSocket(); };
    std::string nestedBytes = "none yet";
    const Exchange exchanges[] = {
        {"one-byte pieces: cut characters and a cut tag are joined", [&](int fd) { answer(fd, bytewise, 0); },
         {wide}, 0, 2},
        {"bytes after the tag stay; later bytes belong to the next response; then the stream ends",
         [&](int fd) {
             answer(fd, {"<response>1</response>\n<x"}, 0);
             answer(fd, {kResponse}, 0);
         },
         {"<response>1</response>\n<x", kResponse, ""}, 0, 2},
        {"peer closes inside a character before the tag: the cut character shows as U+FFFD",
         [&](int fd) { answer(fd, {"<response dirname='D' \xE2\x82"}, 0); }, {"<response dirname='D' \xEF\xBF\xBD"}, 0, 2},
        {"late answer: a turn about every 400 ms, the response taken as it comes",
         [&](int fd) { answer(fd, {kResponse}, 1000); }, {kResponse}, 2, 4},
        {"silent processor: no interface turn", [&](int fd) { answer(fd, {kResponse}, 500); }, {kResponse}, 0, 0,
         nullptr, 1},
        {"peer that never answers: its close ends the wait", [&](int fd) { answer(fd, {}, 600); }, {""}, 1, 2},
        {"host closes the connection in its turn before anything came",
         [&](int fd) {
             answer(fd, {}, 0);
             ReadUntilClosed(fd);
         },
         {"earlier"}, 1, 1, closeSocket},
        {"host closes the connection in its turn after part of the response",
         [&](int fd) {
             answer(fd, {"<response dirname='D'"}, 0);
             ReadUntilClosed(fd);
         },
         {"<response dirname='D'"}, 1, 1, closeSocket},
        {"a turn that throws: the response still belongs to the request", [&](int fd) { answer(fd, {kResponse}, 600); },
         {kResponse}, 1, 3, [](CSESocketCommunicator&) { throw std::runtime_error("window gone"); }},
        {"a turn that throws a non-exception", [&](int fd) { answer(fd, {kResponse}, 600); }, {kResponse}, 1, 3,
         [](CSESocketCommunicator&) { throw 42; }},
        {"a turn that starts a second exchange is refused and sends nothing",
         [&](int fd) {
             answer(fd, {kResponse}, 600);
             nestedBytes = ReadUntilClosed(fd);
         },
         {kResponse}, 1, 3,
         [](CSESocketCommunicator& communicator) {
             EXPECT_TRUE(communicator.IsReceiving());
             CSEString text;
             EXPECT_FALSE(communicator.SendCSEString(u"<request cname='ping'/>"));
             EXPECT_FALSE(communicator.ReceiveCSEString(text));
         }},
    };
    for (const Exchange& exchange : exchanges) {
        SCOPED_TRACE(exchange.what);
        UseSettings(Settings(), exchange.silent);
        LoopbackPeer peer(exchange.peer);
        CSESocketCommunicator communicator;
        Connect(communicator, peer);
        m_application.turns = 0;
        m_application.onTurn = [&] {
            if (m_application.turns >= 10)
                communicator.CloseSocket(); // ends a wait that the peer's close did not end
            else if (exchange.turn)
                exchange.turn(communicator);
        };
        for (const std::string& expected : exchange.texts) {
            communicator.SendCSEString(u"<request/>");
            CSEString text(u"earlier");
            const bool received = communicator.ReceiveCSEString(text) != 0;
            const auto late = std::chrono::duration_cast<std::chrono::milliseconds>(
                Clock::now() - Clock::time_point(Clock::duration(answeredAt.load())));
            EXPECT_EQ(Utf8(text), expected);
            EXPECT_EQ(received, Contains(expected, "</response>"));
            if (received) {
                EXPECT_LT(late.count(), 500) << "the answer waited far beyond one poll";
            }
            EXPECT_FALSE(communicator.IsReceiving());
        }
        EXPECT_GE(m_application.turns, exchange.minTurns);
        EXPECT_LE(m_application.turns, exchange.maxTurns);
        m_application.onTurn = nullptr;
    }
    EXPECT_EQ(nestedBytes, "");

    // Each read is logged with its own text, not with all the text so far.
    const std::string intermediate =
        "[CSESocketCommunicator::receiveCSEString] Intermediate : String received so far from the socket : ";
    std::string logged;
    for (const std::string& text : LogTexts(kMainLog, 6)) {
        if (text.compare(0, intermediate.size(), intermediate) == 0)
            logged += text.substr(intermediate.size());
    }
    EXPECT_TRUE(Contains(logged, wide));
    EXPECT_LE(logged.size(), bytesSent.load());
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
