// Every call of the transport answered from the numbered capture files, in the order capture wrote them.
#include "capture/MOCK_ReplaySocketChannel.h"

#include "MOCK_CloseSocket.h"
#include "MOCK_CreateSocketActual.h"
#include "MOCK_EnvironmentServices.h"
#include "MOCK_FakeRLXEngine.h"
#include "MOCK_GetHostIPAddress.h"
#include "TST_ReceiveCSEString.h"
#include "TST_SendCSEString.h"
#include "TST_XMLServices.h"
#include "capture/MOCK_CallHooks.h"
#include "host/DVKFatal.h"

MOCK_ReplaySocketChannel::MOCK_ReplaySocketChannel()
    : MOCK_ReplaySocketChannel(std::make_unique<MOCK_FakeRLXEngine>(
          CSEString(), [](const CSEString& name, CSEString& file) {
              DVKUnicodeString path;
              const bool found = TST_XMLServices::GetCaptureXMLFileName(name(), path) == 0;
              file = CSEString(path);
              return found;
          }))
{
}

MOCK_ReplaySocketChannel::MOCK_ReplaySocketChannel(std::unique_ptr<MOCK_FakeRLXEngine> engine)
    : _pEngine(std::move(engine))
{
}

MOCK_ReplaySocketChannel::~MOCK_ReplaySocketChannel() = default;

MOCK_FakeRLXEngine& MOCK_ReplaySocketChannel::Engine()
{
    if (!_pEngine)
        DVKFatalError("_pEngine");
    return *_pEngine;
}

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

bool MOCK_ReplaySocketChannel::SendCSEString(SocketHandle, const CSEString& text)
{
    MOCK_CallHooks::LogCall(u"SendCSEString", u" (XML sent to OKT)");
    DVKUnicodeString input;
    DVKUnicodeString output;
    MOCK_CallHooks::ArgumentFiles(u"SendCSEString", input, output);
    // Takes the next number for the recorded request and ends the process when the requests differ.
    Engine().SendToRLX(text);
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
    // The recorded response, with this run's identifiers, where the service would have written it.
    Engine().PrepareRLXResponse(MOCK_CallHooks::InstallationFile(u"Response.xml"));
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
