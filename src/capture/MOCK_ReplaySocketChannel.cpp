// Every call of the transport answered from the numbered capture files, in the order capture wrote them.
#include "capture/MOCK_ReplaySocketChannel.h"

#include "MOCK_CloseSocket.h"
#include "MOCK_CreateSocketActual.h"
#include "MOCK_EnvironmentServices.h"
#include "MOCK_GetHostIPAddress.h"
#include "TST_ReceiveCSEString.h"
#include "TST_SendCSEString.h"
#include "capture/MOCK_CallHooks.h"

std::string MOCK_ReplaySocketChannel::GetHostIPAddress(const std::string&)
{
    MOCK_CallHooks::LogCall(u"GetHostIPAddress");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"GetHostIPAddress", input, output);
    DVKUnicodeString address;
    MOCK_CallHooks::Require(MOCK_GetHostIPAddress::RetrieveOutputArgument(output, address),
                            "MOCK_GetHostIPAddress::RetrieveOutputArgument(sOutputArgumentFileName, sHostIP)");
    return address.ToUTF8();
}

CSESocketChannel::SocketHandle MOCK_ReplaySocketChannel::CreateSocketActual(const std::string&, std::uint16_t)
{
    MOCK_CallHooks::LogCall(u"CreateSocketActual");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"CreateSocketActual", input, output);
    int handle = -1;
    MOCK_CallHooks::Require(MOCK_CreateSocketActual::RetrieveOutputArgument(output, handle),
                            "MOCK_CreateSocketActual::RetrieveOutputArgument(sOutputArgumentFileName, iSocket)");
    return handle < 0 ? CSESocketCommunicator::InvalidSocket : static_cast<SocketHandle>(handle);
}

bool MOCK_ReplaySocketChannel::SendCSEString(SocketHandle, const CSEString&)
{
    MOCK_CallHooks::LogCall(u"SendCSEString", u" (XML sent to OKT)");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"SendCSEString", input, output);
    // The replay engine's SendToRLX(text) replaces the next line: it takes this number for the recorded request.
    MOCK_CallHooks::CaptureFile(u"RequestFileXML");
    bool sent = false;
    MOCK_CallHooks::Require(TST_SendCSEString::RetrieveOutputArgument(output, sent),
                            "TST_SendCSEString::RetrieveOutputArgument(sOutputArgumentFileName, bSent)");
    return sent;
}

bool MOCK_ReplaySocketChannel::ReceiveCSEString(SocketHandle, CSEString& text)
{
    MOCK_CallHooks::LogCall(u"ReceiveCSEString", u" (XML recieved from OKT)");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"ReceiveCSEString", input, output);
    bool received = false;
    MOCK_CallHooks::Require(TST_ReceiveCSEString::RetrieveOutputArgument(output, received, text),
                            "TST_ReceiveCSEString::RetrieveOutputArgument(sOutputArgumentFileName, bReceived, oString)");
    // The replay engine's PrepareRLXResponse("Response.xml") replaces the next line, writing the rewritten copy.
    MOCK_CallHooks::RestoreInstallationFile(MOCK_CallHooks::CaptureFile(u"ResponseFileXML"), u"Response.xml");
    MOCK_CallHooks::CopyFolder(MOCK_CallHooks::CheckoutDirectory(u"ReceiveCSEString"),
                               MOCK_EnvironmentServices::GetMockCheckoutPath());
    return received;
}

void MOCK_ReplaySocketChannel::CloseSocket(SocketHandle)
{
    MOCK_CallHooks::LogCall(u"CloseSocket");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"CloseSocket", input, output);
    MOCK_CallHooks::Require(MOCK_CloseSocket::RetrieveOutputArgument(output),
                            "MOCK_CloseSocket::RetrieveOutputArgument(sOutputArgumentFileName)");
}
