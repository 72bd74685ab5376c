// Numbered capture files and the DOM helpers that capture and replay share.
#include "TST_XMLServices.h"

#include <cstdio>
#include <string>
#include <vector>

#include "CSELogger.h"
#include "DVKListValDVKUnicodeString.h"
#include "MOCK_EnvironmentServices.h"
#include "capture/MOCK_EnvironmentState.h"
#include "host/DVKFiles.h"
#include "host/DVKXmlDocument.h"

namespace {

int g_callCounter = 0;

const char16_t kServicesHeading[] = u"XML SERVICES";
const char16_t kFrame[] = u"        ***************  ERROR  ***************";
const char16_t kRule[] = u"        ***************************************";

DVKUnicodeString FromUtf8(const std::string& text)
{
    return DVKUnicodeString::FromUTF8(text.data(), text.size());
}

void LogServices(int priority)
{
    DVKUnicodeString line(kServicesHeading);
    line += MOCK_EnvironmentServices::GetMockDataPath();
    CSELogger::LogRTMMsg(priority, line);
}

void LogFramedError(const DVKUnicodeString& path, const char16_t* reason)
{
    DVKUnicodeString first = path;
    first += DVKUnicodeString(reason).Strip(1);
    DVKUnicodeString named(u"        Xml file :");
    named += path;
    named += reason;
    DVKListValDVKUnicodeString lines;
    for (const DVKUnicodeString& line : {first, DVKUnicodeString(kFrame), DVKUnicodeString(kRule), named,
                                         DVKUnicodeString(kRule), DVKUnicodeString(kFrame)})
        lines.Append(line);
    CSELogger::LogRTMMsg(3, lines);
}

// The next number and the data folder; E_FAIL (logged) in customer mode, where there is no folder.
int NextNumber(DVKUnicodeString& number, std::string& folder)
{
    if (MOCK_EnvironmentServices::IsCustomerMode()) {
        CSELogger::LogRTMMsg(3, u"Incorrect RTM Mode -> Error !!! ");
        CSELogger::LogRTMMsg(3, u"FAIL");
        return TST_XMLServices::E_FAIL;
    }
    LogServices(5);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", ++g_callCounter);
    number = DVKUnicodeString(digits);
    folder = MOCK_EnvironmentServices::GetMockDataPath().ToUTF8();
    // A capture into a folder that is not there yet makes it, instead of failing at its first write.
    if (MOCK_EnvironmentServices::IsCapture() && !dvk::PathExists(folder) && !dvk::CreateDirectories(folder))
        LogFramedError(FromUtf8(folder), u" cannot be created -> Error !!! ");
    return 0;
}

// The file must be absent in capture and present in replay.
bool IsRightForMode(const DVKUnicodeString& path)
{
    const bool exists = dvk::PathExists(path.ToUTF8());
    if (MOCK_EnvironmentServices::IsCapture() && exists) {
        LogFramedError(path, u" already exist -> Error !!! ");
        return false;
    }
    if (MOCK_EnvironmentServices::IsReplay() && !exists) {
        LogFramedError(path, u" not found -> Error !!! ");
        return false;
    }
    return true;
}

// Names the numbered files (one number for all of them) and checks each for the mode.
int NumberedFiles(const DVKUnicodeString& name, const std::vector<const char16_t*>& suffixes,
                  std::vector<DVKUnicodeString*> files)
{
    DVKUnicodeString number;
    std::string folder;
    if (NextNumber(number, folder) != 0)
        return TST_XMLServices::E_FAIL;
    for (std::size_t i = 0; i < suffixes.size(); ++i) {
        DVKUnicodeString fileName = number;
        fileName += name;
        fileName += suffixes[i];
        *files[i] = FromUtf8(dvk::MakePath(folder, fileName.ToUTF8()));
    }
    for (DVKUnicodeString* file : files) {
        if (!IsRightForMode(*file))
            return TST_XMLServices::E_FAIL;
    }
    CSELogger::LogRTMMsg(5, u"OK");
    LogServices(5);
    return 0;
}

} // namespace

namespace mock {

void ResetCaptureCounter()
{
    g_callCounter = 0;
}

} // namespace mock

int TST_XMLServices::GetCaptureArgumentsFileNames(const DVKUnicodeString& callName, DVKUnicodeString& inputFile,
                                                   DVKUnicodeString& outputFile)
{
    return NumberedFiles(callName, {u"_InputArgument.xml", u"_OutputArgument.xml"}, {&inputFile, &outputFile});
}

int TST_XMLServices::GetCaptureXMLFileName(const DVKUnicodeString& name, DVKUnicodeString& file)
{
    return NumberedFiles(name, {u"_Capture.xml"}, {&file});
}

int TST_XMLServices::GetCaptureCheckoutDirectory(const DVKUnicodeString& name, DVKUnicodeString& directory)
{
    return NumberedFiles(name, {u"_Checkout_Directory"}, {&directory});
}

int TST_XMLServices::CreateXMLDocument(std::unique_ptr<dvk::XmlDocument>& document)
{
    document = std::make_unique<dvk::XmlDocument>();
    return 0;
}

int TST_XMLServices::LoadFromFile(const DVKUnicodeString& fileName, dvk::XmlDocument& document,
                                  dvk::XmlNode& rootElement)
{
    rootElement = dvk::XmlNode();
    if (!document.LoadFile(fileName.Text()))
        return E_FAIL;
    rootElement = document.DocumentElement();
    return rootElement.IsNull() ? E_FAIL : 0;
}

int TST_XMLServices::GetUniqueChild(const dvk::XmlNode& node, const DVKUnicodeString& name, dvk::XmlNode& child)
{
    child = node.FirstElementByTagName(name.Text());
    return child.IsNull() ? E_FAIL : 0;
}

int TST_XMLServices::GetUniqueChild(const dvk::XmlNode& node, const char* name, dvk::XmlNode& child)
{
    return GetUniqueChild(node, DVKUnicodeString(name), child);
}

int TST_XMLServices::GetNodeValue(const dvk::XmlNode& node, DVKUnicodeString& text)
{
    text = DVKUnicodeString(node.Text());
    return node.IsNull() ? E_FAIL : 0;
}
