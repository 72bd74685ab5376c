// The replay engine: loads the recorded documents, has them normalised and matched, rewrites ids.
#include "MOCK_FakeRLXEngine.h"

#include <algorithm>
#include <string>
#include <vector>

#include "CSELogger.h"
#include "DVKListValDVKUnicodeString.h"
#include "capture/MOCK_ReplayMatcher.h"
#include "capture/MOCK_ReplayNormaliser.h"
#include "host/DVKFatal.h"
#include "host/DVKFiles.h"
#include "host/DVKUtf.h"
#include "host/DVKXmlDocument.h"

namespace {

const int kErrorPriority = 3;
const int kWarningPriority = 4;
const int kTracePriority = 5;

void LogLines(int priority, const std::vector<std::u16string>& lines)
{
    DVKListValDVKUnicodeString list;
    for (const std::u16string& line : lines)
        list.Append(DVKUnicodeString(line));
    CSELogger::LogRTMMsg(priority, list);
}

[[noreturn]] void Fatal(const std::string& condition)
{
    DVKFatalError(condition.c_str());
}

std::string Utf8(const CSEString& text)
{
    return dvk::Utf16ToUtf8(text().Text());
}

// Five spaces, the captured id right-aligned in four columns, thirteen spaces, the replay id
// right-aligned in four columns.
std::u16string MappingLine(const std::u16string& captured, const std::u16string& replay)
{
    const auto aligned = [](const std::u16string& id) {
        return std::u16string(id.size() < 4 ? 4 - id.size() : 0, u' ') + id;
    };
    return u"     " + aligned(captured) + u"             " + aligned(replay);
}

void DumpMap(const MOCK_IdMap& map, const char16_t* empty, const char16_t* heading, const char16_t* noChange,
             DVKListValDVKUnicodeString& lines)
{
    if (map.Size() == 0) {
        lines.Append(DVKUnicodeString(empty));
        return;
    }
    lines.Append(DVKUnicodeString(heading));
    std::vector<std::u16string> changes;
    map.ForEach([&changes](const std::u16string& captured, const std::u16string& replay) {
        if (captured != replay)
            changes.push_back(MappingLine(captured, replay));
    });
    std::sort(changes.begin(), changes.end());
    if (changes.empty())
        lines.Append(DVKUnicodeString(noChange));
    for (const std::u16string& line : changes)
        lines.Append(DVKUnicodeString(line));
}

// Replaces the element's text by text, keeping CDATA when the element held CDATA.
void ReplaceText(dvk::XmlNode element, const std::u16string& text)
{
    const bool cdata = element.FirstChild().Kind() == dvk::XmlNodeKind::CData;
    while (dvk::XmlNode child = element.FirstChild())
        element.RemoveChild(child);
    if (cdata)
        element.AppendCData(text);
    else
        element.AppendText(text);
}

void ReplaceAttribute(dvk::XmlNode& element, const char16_t* name, const MOCK_IdMap& map)
{
    const std::u16string value = element.GetAttribute(name);
    if (value.empty())
        return;
    if (const std::u16string* mapped = map.Find(value))
        element.SetAttribute(name, *mapped);
}

dvk::XmlNode FirstChildElement(const dvk::XmlNode& parent, const char16_t* name)
{
    for (dvk::XmlNode child = parent.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.Name() == name)
            return child;
    }
    return dvk::XmlNode();
}

void Normalise(const dvk::XmlDocument& document, MOCK_MessageRoot& root)
{
    std::string broken;
    if (!MOCK_ReplayNormaliser::Normalise(document.DocumentElement(), root, broken))
        Fatal(broken);
    if (root.relationshipsWithoutStructure)
        CSELogger::LogRTMMsg(kWarningPriority, CSEString(u"The xml contains relationships although there is no structure."));
}

} // namespace

MOCK_FakeRLXEngine::MOCK_FakeRLXEngine(const CSEString& outputPath, CaptureFileNamer namer)
    : m_pMatcher(new MOCK_ReplayMatcher), m_namer(std::move(namer)), m_sOutputPath(outputPath), m_bFailed(false)
{
}

MOCK_FakeRLXEngine::~MOCK_FakeRLXEngine()
{
    ResetTransaction();
}

CSEString MOCK_FakeRLXEngine::CaptureFile(const char* name)
{
    CSEString file;
    bool found = false;
    try {
        found = m_namer && m_namer(CSEString(name), file);
    } catch (...) {
        found = false;
    }
    if (!found || file().IsEmpty())
        Fatal(std::string("SUCCEEDED(TST_XMLServices::GetCaptureXMLFileName(DVKUnicodeString(\"") + name + "\"), file))");
    return file;
}

void MOCK_FakeRLXEngine::SendToRLX(const CSEString& text)
{
    dvk::XmlDocument pointer;
    const dvk::XmlStatus status = pointer.LoadText(text().Text());
    const dvk::XmlNode root = pointer.DocumentElement();
    const std::u16string folder = root.GetAttribute(u"dirname");
    const std::u16string name = root.GetAttribute(u"filename");
    if (!status || folder.empty())
        Fatal("SUCCEEDED(hr) && DirectoryName != \"\"");
    if (name.empty())
        Fatal("SUCCEEDED(hr) && FileName != \"\"");
    SendToRLX(DVKUnicodeString(dvk::Utf8ToUtf16(dvk::MakePath(dvk::Utf16ToUtf8(folder), dvk::Utf16ToUtf8(name)))));
}

void MOCK_FakeRLXEngine::SendToRLX(const DVKUnicodeString& path)
{
    dvk::XmlDocument request;
    if (!request.LoadFile(path.Text()) || request.DocumentElement().IsNull())
        Fatal("!!spIDOMDocumentRequest");
    SendToRLX(request);
}

void MOCK_FakeRLXEngine::SendToRLX(dvk::XmlDocument& document)
{
    m_sCapturedRequestPath = CaptureFile("RequestFileXML");
    dvk::XmlDocument captured;
    if (!captured.LoadFile(m_sCapturedRequestPath().Text()) || captured.DocumentElement().IsNull())
        Fatal("!!spIDOMDocumentCapturedRequest");
    CSELogger::LogRTMMsg(kTracePriority,
                         CSEString(u"MOCK_FakeRLXEngine::SendToRLX: Starting request matching with ") +
                             m_sCapturedRequestPath);

    const std::u16string tag = document.DocumentElement().Name();
    if (tag != captured.DocumentElement().Name())
        Fatal("RootTagName == CapturedRootTagName");
    if (tag == u"command")
        ResetTransaction();
    else if (tag != u"response")
        Fatal("RootTagName == \"response\"");

    MOCK_MessageRoot replayRoot;
    MOCK_MessageRoot capturedRoot;
    Normalise(document, replayRoot);
    Normalise(captured, capturedRoot);
    m_pMatcher->ClearDifferences();
    const bool consistent = m_pMatcher->MatchMessage(capturedRoot, replayRoot);
    for (const MOCK_ReplayMatcher::Lines& block : m_pMatcher->Differences())
        LogLines(kErrorPriority, block);
    if (!m_pMatcher->Differences().empty())
        m_bFailed = true;
    m_pMatcher->ClearDifferences();
    if (!consistent)
        Fatal(m_pMatcher->BrokenCondition());

    if (!m_sOutputPath().IsEmpty()) {
        TransformXMLDocument(captured);
        WriteCopy(captured, m_sCapturedRequestPath, "TransformedMockRequest.xml");
    }
    m_sCapturedRequestPath = CSEString();
    if (m_bFailed) {
        LogLines(kErrorPriority, {u"        ***************  ERROR  ***************",
                                  u"        ***************************************", u"XML Comparison failed;",
                                  u"        ***************************************",
                                  u"        ***************  ERROR  ***************"});
        Fatal("FALSE");
    }
}

void MOCK_FakeRLXEngine::PrepareRLXResponse(const CSEString& targetPath)
{
    m_sCapturedResponsePath = CaptureFile("ResponseFileXML");
    dvk::XmlDocument response;
    if (!response.LoadFile(m_sCapturedResponsePath().Text()) || response.DocumentElement().IsNull())
        Fatal("!!spIDOMDocumentCapturedResponse");
    TransformXMLDocument(response);
    const dvk::XmlStatus written = response.SaveFile(targetPath().Text());
    if (!written)
        Fatal("SUCCEEDED(WriteToFile(spIDOMDocumentCapturedResponse, targetPath))");
    if (!m_sOutputPath().IsEmpty())
        WriteCopy(response, m_sCapturedResponsePath, "TransformedMockResponse.xml");
    m_sCapturedResponsePath = CSEString();
}

void MOCK_FakeRLXEngine::WriteCopy(const dvk::XmlDocument& document, const CSEString& capturedPath,
                                   const char* fallbackName) const
{
    std::string folder;
    std::string name;
    dvk::SplitPath(Utf8(capturedPath), folder, name);
    if (name.empty())
        name = fallbackName;
    const std::string target = dvk::MakePath(Utf8(m_sOutputPath), name);
    const dvk::XmlStatus written = document.SaveFile(dvk::Utf8ToUtf16(target));
    if (!written)
        CSELogger::LogRTMMsg(kWarningPriority, CSEString(("Could not write " + target + ": " + written.Description()).c_str()));
}

void MOCK_FakeRLXEngine::TransformXMLDocument(dvk::XmlDocument& document) const
{
    dvk::XmlNode root = document.DocumentElement();
    if (root.IsNull())
        return;
    const std::u16string iid = root.GetAttribute(u"iid");
    if (iid == m_pMatcher->CapturedIID()) {
        if (root.HasAttribute(u"iid") || !m_pMatcher->ReplayIID().empty())
            root.SetAttribute(u"iid", m_pMatcher->ReplayIID());
    } else {
        CSELogger::LogRTMMsg(kWarningPriority,
                             CSEString(u"Warning while preparing RLX response: Mock response IID ") +
                                 CSEString(DVKUnicodeString(iid)) + u" doesn't match mock request IID " +
                                 CSEString(DVKUnicodeString(m_pMatcher->CapturedIID())));
    }
    // Collected first: replacing a text removes nodes, which must not happen under a running walk.
    std::vector<dvk::XmlNode> elements;
    root.ForEachElement([&elements](const dvk::XmlNode& element) { elements.push_back(element); });
    for (dvk::XmlNode& element : elements) {
        const std::u16string name = element.Name();
        if (name == u"cadobject") {
            ReplaceAttribute(element, u"cadid", m_pMatcher->CADIDs());
            ReplaceAttribute(element, u"parentid", m_pMatcher->CADIDs());
        } else if (name == u"relationship") {
            ReplaceAttribute(element, u"rid", m_pMatcher->RIDs());
        } else if (name == u"attribute" && FirstChildElement(element, u"name").Text() == u"UUID") {
            const dvk::XmlNode value = FirstChildElement(element, u"value");
            const std::u16string uuid = value.Text();
            if (uuid.empty())
                continue;
            if (const std::u16string* mapped = m_pMatcher->UUIDs().Find(uuid))
                ReplaceText(value, *mapped);
        }
    }
}

void MOCK_FakeRLXEngine::DumpMappings(DVKListValDVKUnicodeString& lines) const
{
    DumpMap(m_pMatcher->CADIDs(), u"Mock CADID to replay CADID map is empty.", u"Captured CADID => Replay CADID",
            u"No CADID Changes", lines);
    DumpMap(m_pMatcher->RIDs(), u"Mock RID to replay RID map is empty.", u"Captured RID   => Replay RID",
            u"No RID Changes", lines);
}

void MOCK_FakeRLXEngine::ResetTransaction()
{
    m_pMatcher->ResetTransaction();
}

void MOCK_FakeRLXEngine::FullReset()
{
    m_pMatcher->FullReset();
}
