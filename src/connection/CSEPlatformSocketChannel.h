// CSEPlatformSocketChannel: the transport's channel over the platform's TCP sockets.
#ifndef QORVI_CONNECTION_CSEPLATFORMSOCKETCHANNEL_H
#define QORVI_CONNECTION_CSEPLATFORMSOCKETCHANNEL_H

#include <chrono>

#include "connection/CSESocketChannel.h"
#include "host/DVKSocket.h"

class CSEPlatformSocketChannel : public CSESocketChannel
{
public:
    // The host's user interface gets a turn this often while a response is awaited.
    static constexpr std::chrono::milliseconds InterfaceTurnInterval{400};
    // The stream is read in pieces of at most this many bytes.
    static constexpr std::size_t ChunkBytes = 1000;

    CSEPlatformSocketChannel();
    ~CSEPlatformSocketChannel() override;

    std::string GetHostIPAddress(const std::string& host) override;
    SocketHandle CreateSocketActual(const std::string& address, std::uint16_t port) override;
    bool SendCSEString(SocketHandle socket, const CSEString& text) override;
    bool ReceiveCSEString(SocketHandle socket, CSEString& text) override;
    void CloseSocket(SocketHandle socket) override;

private:
    using Clock = std::chrono::steady_clock;

    // Waits until something can be read, giving the interface its turn when nextTurn has come; false
    // on a failed wait or when the socket was closed during the turn.
    bool WaitForData(dvk::SocketFd fd, Clock::time_point& nextTurn);
    // Reads up to and including "</response>", waiting as above before each further read; false
    // when the stream ended, failed or grew too long first.
    bool ReadResponse(dvk::SocketFd fd, CSEString& text, Clock::time_point& nextTurn);
    void GiveInterfaceTurn();
    static bool IsSilentMode();

    dvk::SocketFd m_fdWaiting;  // the socket a wait is running on, kNoSocket otherwise
    bool m_bClosedWhileWaiting; // the host closed that socket during its interface turn
};

#endif
