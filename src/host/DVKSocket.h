// TCP sockets of the platform (IPv4, blocking): the one place the library calls the socket API.
#ifndef QORVI_HOST_DVKSOCKET_H
#define QORVI_HOST_DVKSOCKET_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace dvk {

// A connected socket descriptor; kNoSocket when there is none.
using SocketFd = int;
constexpr SocketFd kNoSocket = -1;

enum class SocketStatus
{
    Ok,       // done (for a wait: data or an end of stream can be read)
    TimedOut, // a wait ended without anything to read
    Closed,   // the peer ended the stream
    Failed    // the call failed; `error` tells why
};

struct SocketResult
{
    SocketStatus status = SocketStatus::Ok;
    int error = 0; // errno, or the resolver's code for ResolveIPv4

    bool Ok() const { return status == SocketStatus::Ok; }
    // A one-line description of a failure, for logs.
    std::string Describe() const;
};

// Start and end of socket use by the process (nothing to do on this platform).
SocketResult SocketLibraryStart();
void SocketLibraryStop();

// The first IPv4 address of a host name or dotted address, in dotted notation.
SocketResult ResolveIPv4(const char* host, std::string& dottedAddress);

// A blocking stream socket connected to a dotted IPv4 address, with Nagle's delay switched off.
SocketResult SocketConnect(const char* dottedAddress, std::uint16_t port, SocketFd& fd);

// Writes every byte (short writes and interrupts are continued); never raises SIGPIPE.
SocketResult SocketSendAll(SocketFd fd, const char* data, std::size_t size);

// Waits up to timeoutMs for something to read; an interrupted wait reports TimedOut.
SocketResult SocketWaitReadable(SocketFd fd, int timeoutMs);

// Reads what is there, at most capacity bytes (at least 1); Closed when the peer ended the stream.
SocketResult SocketReceive(SocketFd fd, char* buffer, std::size_t capacity, std::size_t& received);

// Shuts the receiving side down and closes the descriptor.
void SocketClose(SocketFd fd);

} // namespace dvk

#endif
