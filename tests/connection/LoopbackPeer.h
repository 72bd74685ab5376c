// Test peer: a raw TCP socket listening on 127.0.0.1 whose script runs on its own thread.
#ifndef QORVI_TESTS_CONNECTION_LOOPBACKPEER_H
#define QORVI_TESTS_CONNECTION_LOOPBACKPEER_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace loopback {

// Every wait of a peer ends by itself, so that a broken transport fails a test instead of hanging it.
constexpr int kPeerTimeoutMs = 5000;

inline void Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Writes all bytes; false when the client has gone.
inline bool SendBytes(int fd, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

// Sends the bytes in pieces of the given size, pausing between them so that each is read alone.
inline bool SendInPieces(int fd, const std::string& bytes, std::size_t pieceSize, int pauseMs)
{
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        if (at != 0)
            Pause(pauseMs);
        if (!SendBytes(fd, bytes.substr(at, pieceSize)))
            return false;
    }
    return true;
}

// Reads until `count` bytes have come, the client closes or nothing comes for kPeerTimeoutMs.
inline std::string ReadBytes(int fd, std::size_t count)
{
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < count) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, kPeerTimeoutMs) <= 0)
            break;
        const std::size_t want = std::min(sizeof(buffer), count - bytes.size());
        const ssize_t got = ::recv(fd, buffer, want, 0);
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

// Reads until the client closes (or kPeerTimeoutMs of silence); returns everything read.
inline std::string ReadUntilClosed(int fd)
{
    return ReadBytes(fd, static_cast<std::size_t>(-1));
}

// Listens at once; Serve() accepts one client on a thread and runs the script on its socket, which
// is closed when the script returns.
class LoopbackPeer
{
public:
    using Script = std::function<void(int fd)>;

    LoopbackPeer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t size = sizeof(address);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::listen(m_listener, 4) == 0 &&
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            m_port = ntohs(address.sin_port);
    }

    explicit LoopbackPeer(Script script) : LoopbackPeer() { Serve(std::move(script)); }

    ~LoopbackPeer()
    {
        Join();
        ::close(m_listener);
    }

    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    unsigned int Port() const { return m_port; }

    void Serve(Script script)
    {
        Join();
        m_thread = std::thread([this, script = std::move(script)] {
            const int fd = Accept(kPeerTimeoutMs);
            if (fd < 0)
                return;
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
            script(fd);
            ::close(fd);
        });
    }

    // Waits for the script to end.
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // A connection waiting to be accepted within timeoutMs, or -1.
    int Accept(int timeoutMs)
    {
        pollfd entry{m_listener, POLLIN, 0};
        if (::poll(&entry, 1, timeoutMs) <= 0)
            return -1;
        return ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    }

private:
    int m_listener = -1;
    unsigned int m_port = 0;
    std::thread m_thread;
};

} // namespace loopback

#endif
