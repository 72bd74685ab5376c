// CSESocketChannel: every operation of the transport that reaches the platform, behind one interface.
//
// The communicator checks its arguments and keeps the connection state; each call that touches the
// outside world goes through a channel. The platform channel does the real work; a recording channel
// can wrap it, and a replaying one can stand in for it, without the communicator changing.
#ifndef QORVI_CONNECTION_CSESOCKETCHANNEL_H
#define QORVI_CONNECTION_CSESOCKETCHANNEL_H

#include <cstdint>
#include <memory>
#include <string>

#include "CSESocketCommunicator.h"

class CSESocketChannel
{
public:
    typedef CSESocketCommunicator::SocketHandle SocketHandle;

    virtual ~CSESocketChannel() = default;

    // Dotted IPv4 address of a host name or dotted address; empty when the host is unknown.
    virtual std::string GetHostIPAddress(const std::string& host) = 0;
    // A connection to a dotted address on a port already checked to be in range, or InvalidSocket.
    virtual SocketHandle CreateSocketActual(const std::string& address, std::uint16_t port) = 0;
    // Sends all of the text as UTF-8; true when every byte was handed over.
    virtual bool SendCSEString(SocketHandle socket, const CSEString& text) = 0;
    // One response (see CSESocketCommunicator::ReceiveCSEString); text is left alone when no byte could be read.
    virtual bool ReceiveCSEString(SocketHandle socket, CSEString& text) = 0;
    virtual void CloseSocket(SocketHandle socket) = 0;
};

// The channel for this process: the platform's sockets.
std::unique_ptr<CSESocketChannel> CreateSocketChannel();

#endif
