// POSIX implementation of the platform's TCP sockets.
#include "host/DVKSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <type_traits>

namespace dvk {
namespace {

SocketResult Failure(int error)
{
    return SocketResult{SocketStatus::Failed, error};
}

// Waits until the socket accepts more bytes (after EAGAIN or an interrupted connect).
bool WaitWritable(SocketFd fd)
{
    pollfd entry{fd, POLLOUT, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, -1);
        if (ready > 0)
            return (entry.revents & POLLNVAL) == 0;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

// connect() interrupted by a signal goes on in the background; its outcome is read afterwards.
int FinishInterruptedConnect(SocketFd fd)
{
    if (!WaitWritable(fd))
        return errno != 0 ? errno : EBADF;
    int error = 0;
    socklen_t size = sizeof(error);
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        return errno;
    return error;
}

} // namespace

std::string SocketResult::Describe() const
{
    switch (status) {
    case SocketStatus::Ok: return "ok";
    case SocketStatus::TimedOut: return "timed out";
    case SocketStatus::Closed: return "closed by the peer";
    case SocketStatus::Failed: break;
    }
    if (error < 0)
        return std::string("host lookup failed: ") + ::gai_strerror(error);
    char text[128] = {};
    // The GNU form returns the text (possibly a static one), the XSI form fills the buffer.
    const auto described = ::strerror_r(error, text, sizeof(text));
    if constexpr (std::is_same_v<decltype(described), char* const>)
        return described;
    else
        return text;
}

SocketResult SocketLibraryStart()
{
    return SocketResult{};
}

void SocketLibraryStop()
{
}

SocketResult ResolveIPv4(const char* host, std::string& dottedAddress)
{
    dottedAddress.clear();
    if (host == nullptr || *host == '\0')
        return Failure(EAI_NONAME);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host, nullptr, &hints, &found);
    if (status != 0)
        return Failure(status == EAI_SYSTEM ? errno : status);
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool formatted = ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof(text)) != nullptr;
    ::freeaddrinfo(found);
    if (!formatted)
        return Failure(errno);
    dottedAddress = text;
    return SocketResult{};
}

SocketResult SocketConnect(const char* dottedAddress, std::uint16_t port, SocketFd& fd)
{
    fd = kNoSocket;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (dottedAddress == nullptr || ::inet_pton(AF_INET, dottedAddress, &address.sin_addr) != 1)
        return Failure(EINVAL);

    const SocketFd created = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (created < 0)
        return Failure(errno);
    int error = 0;
    if (::connect(created, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        error = errno == EINTR ? FinishInterruptedConnect(created) : errno;
    if (error != 0) {
        ::close(created);
        return Failure(error);
    }
    // Requests are short and answered at once: send them without waiting for more data.
    const int on = 1;
    ::setsockopt(created, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    fd = created;
    return SocketResult{};
}

SocketResult SocketSendAll(SocketFd fd, const char* data, std::size_t size)
{
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t written = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
        if (written >= 0) {
            sent += static_cast<std::size_t>(written);
            continue;
        }
        if (errno == EINTR)
            continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitWritable(fd))
            continue;
        return Failure(errno);
    }
    return SocketResult{};
}

SocketResult SocketWaitReadable(SocketFd fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return SocketResult{SocketStatus::TimedOut, 0};
    if (ready < 0)
        return Failure(errno);
    if (entry.revents & POLLNVAL)
        return Failure(EBADF);
    // POLLHUP and POLLERR count as readable: the read that follows reports the end or the error.
    return SocketResult{};
}

SocketResult SocketReceive(SocketFd fd, char* buffer, std::size_t capacity, std::size_t& received)
{
    received = 0;
    for (;;) {
        const ssize_t count = ::recv(fd, buffer, capacity, 0);
        if (count > 0) {
            received = static_cast<std::size_t>(count);
            return SocketResult{};
        }
        if (count == 0)
            return SocketResult{SocketStatus::Closed, 0};
        if (errno != EINTR)
            return Failure(errno);
    }
}

void SocketClose(SocketFd fd)
{
    if (fd < 0)
        return;
    ::shutdown(fd, SHUT_RD);
    ::close(fd);
}

} // namespace dvk
