// MOCK_ReplaySocketChannel: answers every call of the transport from the numbered capture files; no socket is touched.
#ifndef QORVI_CAPTURE_MOCK_REPLAYSOCKETCHANNEL_H
#define QORVI_CAPTURE_MOCK_REPLAYSOCKETCHANNEL_H

#include <memory>

#include "connection/CSESocketChannel.h"

class MOCK_FakeRLXEngine;

class MOCK_ReplaySocketChannel : public CSESocketChannel
{
public:
    // With a replay engine that finds the recorded requests and responses by their numbered files.
    MOCK_ReplaySocketChannel();
    // Works with the given engine; a null engine ends the process at the first send or receive.
    explicit MOCK_ReplaySocketChannel(std::unique_ptr<MOCK_FakeRLXEngine> engine);
    ~MOCK_ReplaySocketChannel() override;

    std::string GetHostIPAddress(const std::string& host) override;
    SocketHandle CreateSocketActual(const std::string& address, std::uint16_t port) override;
    bool SendCSEString(SocketHandle socket, const CSEString& text) override;
    bool ReceiveCSEString(SocketHandle socket, CSEString& text) override;
    void CloseSocket(SocketHandle socket) override;

private:
    // The engine, checked before each use.
    MOCK_FakeRLXEngine& Engine();

    // Compares the requests sent with the recorded ones and rewrites the recorded responses.
    std::unique_ptr<MOCK_FakeRLXEngine> _pEngine;
};

#endif
