/// \file
/// CSESocketCommunicator: the TCP connection to the integration service; one request out, one response in.
#ifndef CSESOCKETCOMMUNICATOR_H
#define CSESOCKETCOMMUNICATOR_H

#include <cstddef>
#include <cstdint>
#include <memory>

#include "CSEString.h"

class CSESocketChannel;

/// The TCP connection to the integration service; one request out, one response in.
class CSESocketCommunicator
{
public:
    /// Platform socket descriptor; all bits set means that there is no connection.
    typedef std::uintptr_t SocketHandle;
    static constexpr SocketHandle InvalidSocket = ~static_cast<SocketHandle>(0);  ///<The handle of a socket that is not open.

    /// Ports outside this range fail the connection before anything is tried.
    static constexpr unsigned int MinPort = 1;
    static constexpr unsigned int MaxPort = 65535;  ///<The highest port number accepted.
    /// A response that grows past this many bytes without its closing tag fails the receive.
    static constexpr std::size_t MaxResponseBytes = std::size_t{16} * 1024 * 1024;

    CSESocketCommunicator();
    /// Works through the given channel instead of the platform's (capture, replay, tests); owns it.
    explicit CSESocketCommunicator(std::unique_ptr<CSESocketChannel> channel);
    ~CSESocketCommunicator();
    CSESocketCommunicator(const CSESocketCommunicator&) = delete;
    CSESocketCommunicator& operator=(const CSESocketCommunicator&) = delete;

    /// Connects to host (UTF-8 name or dotted address) on port, closing any earlier connection first.
    SocketHandle CreateSocket(const char* host, unsigned int port);
    /// Dotted IPv4 address of host in a new buffer (delete[] it), or null when the host is unknown.
    void GetHostIPAddress(const char* host, char** oHostIP);
    /// Connects to a dotted IPv4 address, keeps the connection (closing any earlier one) and returns it.
    SocketHandle CreateSocketActual(const char* address, unsigned int port);

    /// Sends the text as UTF-8, every byte; true when it was all handed to the platform.
    unsigned char SendCSEString(const CSEString& text);
    /// Waits for one response (the host's interface gets a turn about every 400 ms, none in silent
    /// mode) and reads until the text holds "</response>": true then. Bytes that came after the tag in
    /// that same read stay at the end of the text; nothing after that read is taken. False when the
    /// peer closes or fails first or the response passes MaxResponseBytes (text = what came), or when
    /// there is no connection, the wait fails, or the socket is closed during the interface turn
    /// before anything came (text untouched). What the host's interface turn throws is logged and
    /// the wait goes on; anything else thrown while receiving fails the receive.
    unsigned char ReceiveCSEString(CSEString& text);

    /// Closes the socket, if open.
    void CloseSocket();
    /// True while a connection is held; a peer that has gone away is only noticed by send or receive.
    bool IsSocketAlive() const;
    /// True while a receive waits or reads (the host's interface turn runs inside it).
    bool IsReceiving() const;
    /// Tells connections apart where handles cannot (a closed descriptor's number is given out again):
    /// a new number for every connection made, 0 while none is held.
    std::uint64_t GetConnectionNumber() const;

private:
    /// The channel's receive; whatever it throws ends in a failed receive.
    bool ReceiveGuarded(CSEString& text);

    SocketHandle m_hSocket;
    std::unique_ptr<CSESocketChannel> m_pChannel;
    bool m_bReceiving; ///< a receive is waiting; the host's interface turn must not start another exchange
    std::uint64_t m_uConnections; ///< connections made so far
};

#endif
