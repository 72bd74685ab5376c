// The transport's connection state and argument checks; the platform is reached through its channel.
#include "CSESocketCommunicator.h"

#include <cstring>
#include <string>
#include <utility>

#include "CSELogger.h"
#include "connection/CSECaughtException.h"
#include "connection/CSESocketChannel.h"
#include "host/DVKFatal.h"

namespace {

bool IsPortInRange(unsigned int port)
{
    return port >= CSESocketCommunicator::MinPort && port <= CSESocketCommunicator::MaxPort;
}

void LogPortOutOfRange(const char16_t* operation, unsigned int port)
{
    // Shown as the caller's signed value, so that a missing port (-1) reads as -1.
    const std::string number = std::to_string(static_cast<int>(port));
    CSELogger::LogMsg(3, CSEString(operation) + u" Port number " + CSEString(number.c_str())
                             + u" is outside 1 to 65535; no connection is attempted.");
}

// Marks a receive as running for as long as it runs, whichever way it ends.
class ReceivingMark
{
public:
    explicit ReceivingMark(bool& mark) : m_mark(mark) { m_mark = true; }
    ~ReceivingMark() { m_mark = false; }
    ReceivingMark(const ReceivingMark&) = delete;
    ReceivingMark& operator=(const ReceivingMark&) = delete;

private:
    bool& m_mark;
};

} // namespace

CSESocketCommunicator::CSESocketCommunicator() : CSESocketCommunicator(CreateSocketChannel())
{
}

CSESocketCommunicator::CSESocketCommunicator(std::unique_ptr<CSESocketChannel> channel)
    : m_hSocket(InvalidSocket), m_pChannel(std::move(channel)), m_bReceiving(false), m_uConnections(0)
{
    DVK_ASSERT(m_pChannel != nullptr);
}

CSESocketCommunicator::~CSESocketCommunicator()
{
    CloseSocket();
}

CSESocketCommunicator::SocketHandle CSESocketCommunicator::CreateSocket(const char* host, unsigned int port)
{
    CloseSocket();
    if (!IsPortInRange(port)) {
        LogPortOutOfRange(u"[CSESocketCommunicator::CreateSocket]", port);
        return m_hSocket;
    }
    char* address = nullptr;
    GetHostIPAddress(host, &address);
    if (address == nullptr)
        return m_hSocket;
    CreateSocketActual(address, port);
    delete[] address;
    return m_hSocket;
}

void CSESocketCommunicator::GetHostIPAddress(const char* host, char** oHostIP)
{
    if (oHostIP == nullptr)
        DVKFatalError("NULL != oHostIP");
    *oHostIP = nullptr;
    const std::string address = m_pChannel->GetHostIPAddress(host != nullptr ? host : "");
    if (address.empty())
        return;
    *oHostIP = new char[address.size() + 1];
    std::memcpy(*oHostIP, address.c_str(), address.size() + 1);
}

CSESocketCommunicator::SocketHandle CSESocketCommunicator::CreateSocketActual(const char* address,
                                                                             unsigned int port)
{
    CloseSocket();
    if (!IsPortInRange(port)) {
        LogPortOutOfRange(u"[CSESocketCommunicator::CreateSocketActual]", port);
        return m_hSocket;
    }
    if (address == nullptr || *address == '\0')
        return m_hSocket;
    m_hSocket = m_pChannel->CreateSocketActual(address, static_cast<std::uint16_t>(port));
    if (IsSocketAlive())
        ++m_uConnections;
    return m_hSocket;
}

unsigned char CSESocketCommunicator::SendCSEString(const CSEString& text)
{
    if (!IsSocketAlive())
        return false;
    if (m_bReceiving) {
        CSELogger::LogMsg(3, u"[CSESocketCommunicator::SendCSEString] A response is still awaited; nothing is sent.");
        return false;
    }
    return m_pChannel->SendCSEString(m_hSocket, text);
}

unsigned char CSESocketCommunicator::ReceiveCSEString(CSEString& text)
{
    CSELogger::LogDebugMsg(u"[CSESocketCommunicator::ReceiveCSEString] Entered");
    bool received = false;
    if (m_bReceiving) {
        CSELogger::LogMsg(3, u"[CSESocketCommunicator::ReceiveCSEString] A response is already awaited; "
                             u"a second receive is refused.");
    } else if (IsSocketAlive()) {
        ReceivingMark mark(m_bReceiving);
        received = ReceiveGuarded(text);
    }
    CSELogger::LogDebugMsg(u"[CSESocketCommunicator::ReceiveCSEString] Exiting");
    return received;
}

bool CSESocketCommunicator::ReceiveGuarded(CSEString& text)
{
    // Nothing may escape half-way through a response: the caller must see a failed receive and drop
    // the connection, or the rest of this response would be taken for the next one.
    try {
        return m_pChannel->ReceiveCSEString(m_hSocket, text);
    } catch (...) {
        CSELogger::LogMsg(3, u"[CSESocketCommunicator::ReceiveCSEString] Receiving stopped on "
                                 + DescribeCaughtException() + u".");
        return false;
    }
}

void CSESocketCommunicator::CloseSocket()
{
    if (!IsSocketAlive())
        return;
    const SocketHandle socket = m_hSocket;
    m_hSocket = InvalidSocket;
    m_pChannel->CloseSocket(socket);
}

bool CSESocketCommunicator::IsSocketAlive() const
{
    return m_hSocket != InvalidSocket;
}

bool CSESocketCommunicator::IsReceiving() const
{
    return m_bReceiving;
}

std::uint64_t CSESocketCommunicator::GetConnectionNumber() const
{
    return IsSocketAlive() ? m_uConnections : 0;
}
