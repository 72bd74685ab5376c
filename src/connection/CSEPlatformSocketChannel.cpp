// The transport over the platform's sockets: send every byte, wait with the host's interface turn,
// read one response.
#include "connection/CSEPlatformSocketChannel.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "CSEClientSettings.h"
#include "CSELogger.h"
#include "DVKApplication.h"
#include "connection/CSECaughtException.h"
#include "host/DVKUtf.h"

namespace {

constexpr char16_t kResponseEndTag[] = u"</response>";
constexpr std::size_t kResponseEndTagLength = sizeof(kResponseEndTag) / sizeof(char16_t) - 1;
// Room for the bytes of a UTF-8 sequence cut by the end of the previous read.
constexpr std::size_t kMaxCarriedBytes = 3;

dvk::SocketFd ToFd(CSESocketChannel::SocketHandle socket)
{
    return socket > static_cast<CSESocketChannel::SocketHandle>(INT_MAX) ? dvk::kNoSocket
                                                                         : static_cast<dvk::SocketFd>(socket);
}

CSEString Narrow(const std::string& utf8)
{
    return CSEString(utf8.c_str());
}

void LogFailure(const CSEString& context, const dvk::SocketResult& result)
{
    CSELogger::LogMsg(3, context + Narrow(result.Describe()));
}

// Clears the waiting mark however the wait ends.
class WaitingMark
{
public:
    WaitingMark(dvk::SocketFd& mark, dvk::SocketFd fd) : m_mark(mark) { m_mark = fd; }
    ~WaitingMark() { m_mark = dvk::kNoSocket; }
    WaitingMark(const WaitingMark&) = delete;
    WaitingMark& operator=(const WaitingMark&) = delete;

private:
    dvk::SocketFd& m_mark;
};

} // namespace

CSEPlatformSocketChannel::CSEPlatformSocketChannel()
    : m_fdWaiting(dvk::kNoSocket), m_bClosedWhileWaiting(false)
{
    const dvk::SocketResult started = dvk::SocketLibraryStart();
    if (!started.Ok())
        LogFailure(u"[CSESocketCommunicator] Socket use could not be started: ", started);
}

CSEPlatformSocketChannel::~CSEPlatformSocketChannel()
{
    dvk::SocketLibraryStop();
}

std::string CSEPlatformSocketChannel::GetHostIPAddress(const std::string& host)
{
    std::string address;
    const dvk::SocketResult resolved = dvk::ResolveIPv4(host.c_str(), address);
    if (!resolved.Ok())
        LogFailure(u"[CSESocketCommunicator::GetHostIPAddress] No IPv4 address for '" + Narrow(host) + u"': ",
                   resolved);
    return address;
}

CSESocketChannel::SocketHandle CSEPlatformSocketChannel::CreateSocketActual(const std::string& address,
                                                                           std::uint16_t port)
{
    dvk::SocketFd fd = dvk::kNoSocket;
    const dvk::SocketResult connected = dvk::SocketConnect(address.c_str(), port, fd);
    if (!connected.Ok()) {
        LogFailure(u"[CSESocketCommunicator::CreateSocketActual] Connection to " + Narrow(address) + u":"
                       + Narrow(std::to_string(port)) + u" failed: ",
                   connected);
        return CSESocketCommunicator::InvalidSocket;
    }
    return static_cast<SocketHandle>(fd);
}

bool CSEPlatformSocketChannel::SendCSEString(SocketHandle socket, const CSEString& text)
{
    const std::string bytes = dvk::Utf16ToUtf8(text().Text());
    const dvk::SocketResult sent = dvk::SocketSendAll(ToFd(socket), bytes.data(), bytes.size());
    if (!sent.Ok())
        LogFailure(u"[CSESocketCommunicator::SendCSEString] Sending failed: ", sent);
    return sent.Ok();
}

bool CSEPlatformSocketChannel::ReceiveCSEString(SocketHandle socket, CSEString& text)
{
    const dvk::SocketFd fd = ToFd(socket);
    WaitingMark mark(m_fdWaiting, fd);
    m_bClosedWhileWaiting = false;
    Clock::time_point nextTurn = Clock::now() + InterfaceTurnInterval;
    if (!WaitForData(fd, nextTurn))
        return false;
    const bool received = ReadResponse(fd, text, nextTurn);
    CSELogger::LogDebugMsg(u"[CSESocketCommunicator::receiveCSEString] Final : Received string:\n");
    return received;
}

void CSEPlatformSocketChannel::CloseSocket(SocketHandle socket)
{
    const dvk::SocketFd fd = ToFd(socket);
    if (fd != dvk::kNoSocket && fd == m_fdWaiting)
        m_bClosedWhileWaiting = true;
    dvk::SocketClose(fd);
}

bool CSEPlatformSocketChannel::WaitForData(dvk::SocketFd fd, Clock::time_point& nextTurn)
{
    for (;;) {
        // Wait until the next interface turn at most, so that data is taken the moment it comes.
        const auto untilTurn = std::chrono::duration_cast<std::chrono::milliseconds>(nextTurn - Clock::now());
        const int timeoutMs = static_cast<int>(std::max<long long>(0, untilTurn.count() + 1));
        const dvk::SocketResult waited = dvk::SocketWaitReadable(fd, timeoutMs);
        if (waited.Ok())
            return true;
        if (waited.status == dvk::SocketStatus::Failed) {
            LogFailure(u"[CSESocketCommunicator::ReceiveCSEString] Waiting for the response failed: ", waited);
            return false;
        }
        if (Clock::now() < nextTurn)
            continue;
        GiveInterfaceTurn();
        if (m_bClosedWhileWaiting) {
            CSELogger::LogMsg(3, u"[CSESocketCommunicator::ReceiveCSEString] The connection was closed while "
                                 u"the response was awaited.");
            return false;
        }
        nextTurn = Clock::now() + InterfaceTurnInterval;
    }
}

bool CSEPlatformSocketChannel::ReadResponse(dvk::SocketFd fd, CSEString& text, Clock::time_point& nextTurn)
{
    std::u16string& received = text().Text();
    received.clear();
    char buffer[kMaxCarriedBytes + ChunkBytes];
    std::size_t carried = 0; // bytes of a cut sequence kept at the front of buffer
    std::size_t totalBytes = 0;
    for (bool first = true;; first = false) {
        // A peer that stalls in the middle of a response must not freeze the host's interface either.
        if (!first && !WaitForData(fd, nextTurn))
            return false;
        std::size_t count = 0;
        const dvk::SocketResult read = dvk::SocketReceive(fd, buffer + carried, ChunkBytes, count);
        if (!read.Ok()) {
            CSELogger::LogDebugMsg(u"[CSESocketCommunicator::receiveCSEString] 'recv' gave 0 bytes while reading loop.!");
            if (read.status == dvk::SocketStatus::Failed)
                LogFailure(u"[CSESocketCommunicator::receiveCSEString] Reading failed: ", read);
            received += dvk::Utf8ToUtf16(buffer, carried); // a cut sequence at the very end stays visible
            return false;
        }
        totalBytes += count;
        const std::size_t available = carried + count;
        const std::size_t whole = dvk::Utf8CompletePrefix(buffer, available);
        const std::u16string piece = dvk::Utf8ToUtf16(buffer, whole);
        carried = available - whole;
        std::memmove(buffer, buffer + whole, carried);

        // Only the new text and the tag's length before it can hold a tag not seen yet.
        const std::size_t searchFrom =
            received.size() >= kResponseEndTagLength ? received.size() - (kResponseEndTagLength - 1) : 0;
        received += piece;
        CSELogger::LogDebugMsg(
            u"[CSESocketCommunicator::receiveCSEString] Intermediate : String received so far from the socket : "
            + CSEString(DVKUnicodeString(piece)));
        if (received.find(kResponseEndTag, searchFrom) != std::u16string::npos) {
            // Whatever came after the tag in this read stays in the text; nothing further is read.
            received += dvk::Utf8ToUtf16(buffer, carried);
            return true;
        }
        if (totalBytes > CSESocketCommunicator::MaxResponseBytes) {
            CSELogger::LogMsg(3, u"[CSESocketCommunicator::receiveCSEString] The response exceeds "
                                 + Narrow(std::to_string(CSESocketCommunicator::MaxResponseBytes))
                                 + u" bytes without \"</response>\"; reading stopped.");
            return false;
        }
    }
}

void CSEPlatformSocketChannel::GiveInterfaceTurn()
{
    if (IsSilentMode())
        return;
    DVKApplication* application = DVKApplication::GetCurrent();
    if (application == nullptr)
        return;
    // What the host throws is its own failure: the response still belongs to the request sent, so
    // the wait goes on rather than leave that response unread on a connection that stays up.
    try {
        application->PumpMessages();
    } catch (...) {
        CSELogger::LogMsg(3, u"[CSESocketCommunicator::ReceiveCSEString] The host's interface turn failed ("
                                 + DescribeCaughtException() + u"); the response is still awaited.");
    }
}

bool CSEPlatformSocketChannel::IsSilentMode()
{
    // Without client settings (no installation folder) the library is not the silent processor.
    try {
        return CSEClientSettings::GetInstance(0)->IsSilentMode() != 0;
    } catch (...) {
        return false;
    }
}
