// Test peer: a raw TCP socket listening on 127.0.0.1 whose script runs on its own thread, and the
// helpers its scripts read and write with. Every wait ends by itself (kPeerTimeoutMs), so that a
// broken transport fails a test instead of hanging it.
#ifndef QORVI_TESTS_COMMON_LOOPBACKPEER_H
#define QORVI_TESTS_COMMON_LOOPBACKPEER_H

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
#include <mutex>
#include <string>
#include <thread>

namespace loopback {

constexpr int kPeerTimeoutMs = 5000;

inline void Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Writes all bytes; false when the client has gone.
inline bool SendBytes(int fd, const std::string& bytes)
{
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0 && !(count < 0 && errno == EINTR))
            return false;
        sent += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return true;
}

// Reads until `count` bytes or the text `end` have come, or the client closes or stays silent.
inline std::string ReadBytes(int fd, std::size_t count, const std::string& end = std::string())
{
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < count && (end.empty() || bytes.find(end) == std::string::npos)) {
        pollfd entry{fd, POLLIN, 0};
        const std::size_t want = end.empty() ? std::min(sizeof(buffer), count - bytes.size()) : 1;
        const ssize_t got = ::poll(&entry, 1, kPeerTimeoutMs) > 0 ? ::recv(fd, buffer, want, 0) : 0;
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

inline std::string ReadUntilClosed(int fd)
{
    return ReadBytes(fd, std::string::npos);
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
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::listen(m_listener, 4) == 0 && ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) == 0)
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
            SetClient(fd);
            script(fd);
            SetClient(-1);
            ::close(fd);
        });
    }

    // Waits for the script to end.
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // Ends the conversation from outside: the script's reads see the end of the stream and an accept
    // still waiting gives up. The peer serves no one afterwards.
    void Hangup()
    {
        std::lock_guard<std::mutex> lock(m_clientMutex);
        if (m_client >= 0)
            ::shutdown(m_client, SHUT_RDWR);
        ::shutdown(m_listener, SHUT_RDWR);
    }

    // A connection waiting to be accepted within timeoutMs, or -1.
    int Accept(int timeoutMs)
    {
        pollfd entry{m_listener, POLLIN, 0};
        if (::poll(&entry, 1, timeoutMs) <= 0 || (entry.revents & POLLIN) == 0)
            return -1;
        return ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    }

private:
    void SetClient(int fd)
    {
        std::lock_guard<std::mutex> lock(m_clientMutex);
        m_client = fd;
    }

    int m_listener = -1;
    unsigned int m_port = 0;
    std::mutex m_clientMutex;
    int m_client = -1;
    std::thread m_thread;
};

} // namespace loopback

#endif
