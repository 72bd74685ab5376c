// MOCK_ReplaySocketChannel: answers every call of the transport from the numbered capture files; no socket is touched.
#ifndef QORVI_CAPTURE_MOCK_REPLAYSOCKETCHANNEL_H
#define QORVI_CAPTURE_MOCK_REPLAYSOCKETCHANNEL_H

#include "connection/CSESocketChannel.h"

class MOCK_ReplaySocketChannel : public CSESocketChannel
{
public:
    std::string GetHostIPAddress(const std::string& host) override;
    SocketHandle CreateSocketActual(const std::string& address, std::uint16_t port) override;
    bool SendCSEString(SocketHandle socket, const CSEString& text) override;
    bool ReceiveCSEString(SocketHandle socket, CSEString& text) override;
    void CloseSocket(SocketHandle socket) override;
};

#endif
