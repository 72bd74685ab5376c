// The platform's channel with every call recorded, in the order replay asks for the same files.
#include "capture/MOCK_CaptureSocketChannel.h"

#include <climits>
#include <exception>
#include <utility>

#include "MOCK_CloseSocket.h"
#include "MOCK_CreateSocketActual.h"
#include "MOCK_EnvironmentServices.h"
#include "MOCK_GetHostIPAddress.h"
#include "TST_ReceiveCSEString.h"
#include "TST_SendCSEString.h"
#include "capture/MOCK_CallHooks.h"
#include "host/DVKFatal.h"

namespace {

DVKUnicodeString FromUtf8(const std::string& text)
{
    return DVKUnicodeString::FromUTF8(text.data(), text.size());
}

// The handle as the recording holds it: -1 for no connection.
int RecordedHandle(CSESocketChannel::SocketHandle handle)
{
    return handle == CSESocketCommunicator::InvalidSocket || handle > static_cast<CSESocketChannel::SocketHandle>(INT_MAX)
               ? -1
               : static_cast<int>(handle);
}

} // namespace

MOCK_CaptureSocketChannel::MOCK_CaptureSocketChannel(std::unique_ptr<CSESocketChannel> platform)
    : m_pPlatform(std::move(platform))
{
    DVK_ASSERT(m_pPlatform != nullptr);
}

std::string MOCK_CaptureSocketChannel::GetHostIPAddress(const std::string& host)
{
    MOCK_CallHooks::LogCall(u"GetHostIPAddress");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"GetHostIPAddress", input, output);
    MOCK_CallHooks::Require(MOCK_GetHostIPAddress::CaptureInputArgument(input, FromUtf8(host)),
                            "MOCK_GetHostIPAddress::CaptureInputArgument(sInputArgumentFileName, sHostName)");
    const std::string address = m_pPlatform->GetHostIPAddress(host);
    MOCK_CallHooks::Require(MOCK_GetHostIPAddress::CaptureOutputArgument(output, FromUtf8(address)),
                            "MOCK_GetHostIPAddress::CaptureOutputArgument(sOutputArgumentFileName, sHostIP)");
    return address;
}

CSESocketChannel::SocketHandle MOCK_CaptureSocketChannel::CreateSocketActual(const std::string& address,
                                                                             std::uint16_t port)
{
    MOCK_CallHooks::LogCall(u"CreateSocketActual");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"CreateSocketActual", input, output);
    MOCK_CallHooks::Require(MOCK_CreateSocketActual::CaptureInputArguments(input, FromUtf8(address), port),
                            "MOCK_CreateSocketActual::CaptureInputArguments(sInputArgumentFileName, sServer, iNumPort)");
    const SocketHandle handle = m_pPlatform->CreateSocketActual(address, port);
    MOCK_CallHooks::Require(MOCK_CreateSocketActual::CaptureOutputArgument(output, RecordedHandle(handle)),
                            "MOCK_CreateSocketActual::CaptureOutputArgument(sOutputArgumentFileName, iSocket)");
    return handle;
}

bool MOCK_CaptureSocketChannel::SendCSEString(SocketHandle socket, const CSEString& text)
{
    MOCK_CallHooks::LogCall(u"SendCSEString");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"SendCSEString", input, output);
    const DVKUnicodeString requestCopy = MOCK_CallHooks::CaptureFile(u"RequestFileXML");
    MOCK_CallHooks::Require(TST_SendCSEString::CaptureInputArgument(input, text),
                            "TST_SendCSEString::CaptureInputArgument(sInputArgumentFileName, iString)");
    MOCK_CallHooks::CopyInstallationFile(u"QxRequest.xml", requestCopy);
    const bool sent = m_pPlatform->SendCSEString(socket, text);
    MOCK_CallHooks::Require(TST_SendCSEString::CaptureOutputArgument(output, sent),
                            "TST_SendCSEString::CaptureOutputArgument(sOutputArgumentFileName, bSent)");
    return sent;
}

bool MOCK_CaptureSocketChannel::ReceiveCSEString(SocketHandle socket, CSEString& text)
{
    MOCK_CallHooks::LogCall(u"ReceiveCSEString", u" (XML recieved from OKT)");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"ReceiveCSEString", input, output);
    MOCK_CallHooks::Require(TST_ReceiveCSEString::CaptureInputArgument(input, text),
                            "TST_ReceiveCSEString::CaptureInputArgument(sInputArgumentFileName, oString)");
    const DVKUnicodeString responseCopy = MOCK_CallHooks::CaptureFile(u"ResponseFileXML");
    const DVKUnicodeString checkoutCopy = MOCK_CallHooks::CheckoutDirectory(u"ReceiveCSEString");
    bool received = false;
    std::exception_ptr failure;
    try {
        received = m_pPlatform->ReceiveCSEString(socket, text);
    } catch (...) {
        // The transport turns this into a failed receive; the recording says so as well.
        failure = std::current_exception();
    }
    MOCK_CallHooks::Require(TST_ReceiveCSEString::CaptureOutputArgument(output, received, text),
                            "TST_ReceiveCSEString::CaptureOutputArgument(sOutputArgumentFileName, bReceived, oString)");
    MOCK_CallHooks::CopyInstallationFile(u"Response.xml", responseCopy);
    MOCK_CallHooks::CopyFolder(MOCK_EnvironmentServices::GetMockCheckoutPath(), checkoutCopy);
    if (failure)
        std::rethrow_exception(failure);
    return received;
}

void MOCK_CaptureSocketChannel::CloseSocket(SocketHandle socket)
{
    MOCK_CallHooks::LogCall(u"CloseSocket");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"CloseSocket", input, output);
    MOCK_CallHooks::Require(MOCK_CloseSocket::CaptureInputArgument(input),
                            "MOCK_CloseSocket::CaptureInputArgument(sInputArgumentFileName)");
    m_pPlatform->CloseSocket(socket);
    MOCK_CallHooks::Require(MOCK_CloseSocket::CaptureOutputArgument(output),
                            "MOCK_CloseSocket::CaptureOutputArgument(sOutputArgumentFileName)");
}
