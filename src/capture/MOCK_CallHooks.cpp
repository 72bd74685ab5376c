// The steps every capture/replay hook shares, and the hooks of the port file and the browser.
#include "capture/MOCK_CallHooks.h"

#include "CSELogger.h"
#include "CSEUtil.h"
#include "MOCK_EnvironmentServices.h"
#include "MOCK_StartBrowser.h"
#include "TST_ReadPortFromFile.h"
#include "TST_XMLServices.h"
#include "commands/CSERequestMasking.h"
#include "host/DVKFatal.h"
#include "host/DVKFiles.h"
#include "host/DVKFileTree.h"

namespace {

std::string Narrow(const char16_t* text)
{
    return DVKUnicodeString(text).ToUTF8();
}

std::string InstallationPath(const char16_t* fileName)
{
    return dvk::MakePath(CSEUtil::GetInstallationFolder(CSEString())().ToUTF8(), Narrow(fileName));
}

} // namespace

void MOCK_CallHooks::LogCall(const char16_t* call, const char16_t* detail)
{
    CSEString line(MOCK_EnvironmentServices::IsReplay() ? u"Replaying --> " : u"Capturing --> ");
    line += call;
    line += detail;
    CSELogger::LogRTMMsg(6, line);
}

void MOCK_CallHooks::Require(int result, const std::string& call)
{
    if (result != 0)
        DVKFatalError(("SUCCEEDED(" + call + ")").c_str());
}

void MOCK_CallHooks::ArgumentFiles(const char16_t* call, DVKUnicodeString& inputFile, DVKUnicodeString& outputFile)
{
    Require(TST_XMLServices::GetCaptureArgumentsFileNames(call, inputFile, outputFile),
            "TST_XMLServices::GetCaptureArgumentsFileNames(DVKUnicodeString(\"" + Narrow(call) +
                "\"), sInputArgumentFileName, sOutputArgumentFileName)");
}

DVKUnicodeString MOCK_CallHooks::CaptureFile(const char16_t* name)
{
    DVKUnicodeString file;
    Require(TST_XMLServices::GetCaptureXMLFileName(name, file),
            "TST_XMLServices::GetCaptureXMLFileName(DVKUnicodeString(\"" + Narrow(name) + "\"), sCaptureFileName)");
    return file;
}

DVKUnicodeString MOCK_CallHooks::CheckoutDirectory(const char16_t* name)
{
    DVKUnicodeString directory;
    Require(TST_XMLServices::GetCaptureCheckoutDirectory(name, directory),
            "TST_XMLServices::GetCaptureCheckoutDirectory(DVKUnicodeString(\"" + Narrow(name) +
                "\"), sCheckoutDirectory)");
    return directory;
}

void MOCK_CallHooks::CopyInstallationFile(const char16_t* fileName, const DVKUnicodeString& captureFile)
{
    std::string bytes;
    if (!dvk::ReadWholeFile(InstallationPath(fileName), bytes)) {
        CSELogger::LogRTMMsg(4, CSEString(u"No ") + fileName + u" to record in " + CSEString(captureFile));
        bytes.clear();
    }
    // The request of a login carries the user's password: a recorded run must not.
    if (!dvk::WriteWholeFile(captureFile.ToUTF8(), CSERequestMasking::MaskPasswords(bytes), dvk::kOwnerOnlyFile))
        DVKFatalError(("CSEUtil::CopyFileW(" + Narrow(fileName) + ", sCaptureFileName, 0)").c_str());
}

CSEString MOCK_CallHooks::InstallationFile(const char16_t* fileName)
{
    const std::string path = InstallationPath(fileName);
    return CSEString(DVKUnicodeString::FromUTF8(path.data(), path.size()));
}

void MOCK_CallHooks::CopyFolder(const DVKUnicodeString& from, const DVKUnicodeString& to)
{
    if (!dvk::CreateDirectories(to.ToUTF8()))
        DVKFatalError("CSEUtil::CreateDirectoryW(sCheckoutDirectory)");
    if (!dvk::IsDirectory(from.ToUTF8())) {
        CSELogger::LogRTMMsg(4, CSEString(u"No checkout folder to copy: ") + CSEString(from));
        return;
    }
    if (!CSEUtil::CopyDirectoryContent(CSEString(from), CSEString(to)))
        DVKFatalError("CSEUtil::CopyDirectoryContent(sFrom, sTo)");
}

int MOCK_CallHooks::ReadSocketPortFromFile(const std::function<int()>& read)
{
    if (MOCK_EnvironmentServices::IsCustomerMode())
        return read();
    LogCall(u"ReadSocketPortFromFile");
    DVKUnicodeString input;
    DVKUnicodeString output;
    ArgumentFiles(u"ReadSocketPortFromFile", input, output);
    int port = -1;
    if (MOCK_EnvironmentServices::IsReplay()) {
        Require(TST_ReadPortFromFile::RetrieveOutputArgument(output, port),
                "TST_ReadPortFromFile::RetrieveOutputArgument(sOutputArgumentFileName, iPort)");
        return port;
    }
    Require(TST_ReadPortFromFile::CaptureInputArgument(input),
            "TST_ReadPortFromFile::CaptureInputArgument(sInputArgumentFileName)");
    port = read();
    Require(TST_ReadPortFromFile::CaptureOutputArgument(output, port),
            "TST_ReadPortFromFile::CaptureOutputArgument(sOutputArgumentFileName, iPort)");
    return port;
}

int MOCK_CallHooks::StartBrowser(const CSEString& url, const std::function<int()>& start)
{
    if (MOCK_EnvironmentServices::IsCustomerMode())
        return start();
    LogCall(u"StartBrowser");
    DVKUnicodeString input;
    DVKUnicodeString output;
    ArgumentFiles(u"StartBrowser", input, output);
    int result = 0;
    if (MOCK_EnvironmentServices::IsReplay()) {
        Require(MOCK_StartBrowser::RetrieveOutputArgument(output, result),
                "MOCK_StartBrowser::RetrieveOutputArgument(sOutputArgumentFileName, iResult)");
        return result;
    }
    Require(MOCK_StartBrowser::CaptureInputArgument(input, url()),
            "MOCK_StartBrowser::CaptureInputArgument(sInputArgumentFileName, sURL)");
    result = start();
    Require(MOCK_StartBrowser::CaptureOutputArgument(output, result),
            "MOCK_StartBrowser::CaptureOutputArgument(sOutputArgumentFileName, iResult)");
    return result;
}
