// MOCK_CaptureSocketChannel: the platform's channel, every call recorded into the numbered capture files.
#ifndef QORVI_CAPTURE_MOCK_CAPTURESOCKETCHANNEL_H
#define QORVI_CAPTURE_MOCK_CAPTURESOCKETCHANNEL_H

#include <memory>

#include "connection/CSESocketChannel.h"

class MOCK_CaptureSocketChannel : public CSESocketChannel
{
public:
    explicit MOCK_CaptureSocketChannel(std::unique_ptr<CSESocketChannel> platform);

    std::string GetHostIPAddress(const std::string& host) override;
    SocketHandle CreateSocketActual(const std::string& address, std::uint16_t port) override;
    bool SendCSEString(SocketHandle socket, const CSEString& text) override;
    bool ReceiveCSEString(SocketHandle socket, CSEString& text) override;
    void CloseSocket(SocketHandle socket) override;

private:
    std::unique_ptr<CSESocketChannel> m_pPlatform;
};

#endif
