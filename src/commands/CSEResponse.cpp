// CSEResponse: reads the thin response, loads the full response file it names and reads the
// response envelope.
#include "CSEResponse.h"

#include <memory>

#include "CSELogger.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"

namespace {

const char16_t kResponsePath[] = u"//response";
const char16_t kReasonPath[] = u"//response/info/reason";
const char16_t kObjectListPath[] = u"response/info/cadobjectlist";
// From this release year on the service always copies the attributes.
const char16_t kCopyAttributeYear[] = u"2010";

} // namespace

CSEResponse::CSEResponse() : m_pXMLPacket(CSEXMLPacket::GetXMLPacketPtr(-1))
{
}

CSEResponse::CSEResponse(const CSEResponse& other) : CSEResponse()
{
    *this = other;
}

CSEResponse& CSEResponse::operator=(const CSEResponse& other)
{
    if (this == &other)
        return *this;
    m_sCmdName = other.m_sCmdName;
    m_sIID = other.m_sIID;
    m_sVersion = other.m_sVersion;
    m_sMCAD = other.m_sMCAD;
    m_sResult = other.m_sResult;
    m_sDeleteFiles = other.m_sDeleteFiles;
    m_sCopyAttribute = other.m_sCopyAttribute;
    m_sCreatePreview = other.m_sCreatePreview;
    m_sReason = other.m_sReason;
    m_sLoadFiles = other.m_sLoadFiles;
    m_sBackGroundCheckin = other.m_sBackGroundCheckin;
    m_sMaintainLock = other.m_sMaintainLock;
    if (m_pXMLPacket != nullptr && other.m_pXMLPacket != nullptr)
        *m_pXMLPacket = *other.m_pXMLPacket;
    return *this;
}

CSEResponse::~CSEResponse()
{
    delete m_pXMLPacket;
}

bool CSEResponse::ParseResponse(const CSEString& text)
{
    return ParseEnvelope(text) == ParseDone;
}

CSEResponse::ParseOutcome CSEResponse::ParseEnvelope(const CSEString& text)
{
    if (text.size() == 0) {
        CSELogger::LogMsg(4, CSEString(u"[CSEResponse::ParseResponse] Empty response text; "
                                       u"nothing is read."));
        return ParseNoText;
    }
    CSEString fileName;
    // The response keeps one packet for its whole life (callers may hold its pointer); a failed
    // load leaves it without a document, so nothing of an earlier response survives a parse.
    if (!GetFilenameFromThinResp(text, fileName) || m_pXMLPacket == nullptr ||
        m_pXMLPacket->loadXMLFile(fileName) != 0) {
        CSELogger::LogMsg(3, CSEString(u"[CSEResponse::ParseResponse] The response file could not "
                                       u"be loaded: ") +
                                 fileName);
        Clear();
        std::unique_ptr<CSEXMLPacket> empty(CSEXMLPacket::GetXMLPacketPtr(-1));
        if (m_pXMLPacket != nullptr && empty != nullptr)
            *m_pXMLPacket = *empty;
        return ParseNotLoaded;
    }

    static const struct
    {
        const char16_t* attribute;
        CSEString CSEResponse::*member;
    } kEnvelope[] = {
        {u"cname", &CSEResponse::m_sCmdName},
        {u"iid", &CSEResponse::m_sIID},
        {u"ver", &CSEResponse::m_sVersion},
        {u"MCAD", &CSEResponse::m_sMCAD},
        {u"result", &CSEResponse::m_sResult},
        {u"deletefiles", &CSEResponse::m_sDeleteFiles},
        {u"copyattribute", &CSEResponse::m_sCopyAttribute},
        {u"loadfiles", &CSEResponse::m_sLoadFiles},
        {u"createpreview", &CSEResponse::m_sCreatePreview},
        {u"backgroundcheckin", &CSEResponse::m_sBackGroundCheckin},
        {u"maintainlock", &CSEResponse::m_sMaintainLock},
    };
    const CSEString responsePath(kResponsePath);
    for (const auto& field : kEnvelope)
        m_pXMLPacket->getAttributeValue(responsePath, CSEString(field.attribute), this->*field.member);
    CSELogger::LogDebugMsg(CSEString(u"[ParseResponse] parsed result = ") + m_sResult);
    if (CSEUtil::IsVersionEqualOrLater(m_sVersion, CSEString(kCopyAttributeYear), -1))
        m_sCopyAttribute = u"true";
    m_pXMLPacket->getNodeValue(CSEString(kReasonPath), m_sReason);
    return ParseDone;
}

void CSEResponse::Clear()
{
    m_sCmdName.clear();
    m_sIID.clear();
    m_sVersion.clear();
    m_sMCAD.clear();
    m_sResult.clear();
    m_sDeleteFiles.clear();
    m_sCopyAttribute.clear();
    m_sCreatePreview.clear();
    m_sReason.clear();
    m_sLoadFiles.clear();
    m_sBackGroundCheckin.clear();
    m_sMaintainLock.clear();
}

bool CSEResponse::GetFilenameFromThinResp(const CSEString& thin, CSEString& fileName)
{
    fileName.clear();
    if (thin.size() == 0)
        return false;
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (packet == nullptr || packet->loadXMLinMemory(thin) != 0) {
        CSELogger::LogMsg(3, CSEString(u"[CSEResponse::GetFilenameFromThinResp] The thin response "
                                       u"is not XML."));
        return false;
    }
    CSEString dirName;
    CSEString name;
    packet->getAttributeValue(CSEString(kResponsePath), CSEString(u"dirname"), dirName);
    packet->getAttributeValue(CSEString(kResponsePath), CSEString(u"filename"), name);
    if (name.size() == 0) {
        CSELogger::LogMsg(3, CSEString(u"[CSEResponse::GetFilenameFromThinResp] The thin response "
                                       u"names no response file."));
        return false;
    }
    if (dirName.size() != 0)
        CSEUtil::AppendSlash(dirName);
    fileName = dirName + name;
    return true;
}

CSEString CSEResponse::GetCmdName() const { return m_sCmdName; }
CSEString CSEResponse::GetIID() const { return m_sIID; }
CSEString CSEResponse::GetVersion() const { return m_sVersion; }
CSEString CSEResponse::GetAddin() const { return m_sMCAD; }
CSEString CSEResponse::GetResult() const { return m_sResult; }
CSEString CSEResponse::GetDeleteFiles() const { return m_sDeleteFiles; }
CSEString CSEResponse::GetCopyAttribute() const { return m_sCopyAttribute; }
CSEString CSEResponse::GetCreatePreview() const { return m_sCreatePreview; }
CSEString CSEResponse::GetLoadFiles() const { return m_sLoadFiles; }
CSEString CSEResponse::GetBackGroundCheckin() const { return m_sBackGroundCheckin; }
CSEString CSEResponse::GetMaintainLock() const { return m_sMaintainLock; }
CSEString CSEResponse::GetReason() const { return m_sReason; }

CSEXMLPacket* CSEResponse::GetXMLPacket()
{
    return m_pXMLPacket;
}

CSEXMLPacket* CSEResponse::GetResponsePacket()
{
    return m_pXMLPacket;
}

int CSEResponse::GetNumObjets()
{
    if (m_pXMLPacket == nullptr)
        return 0;
    return m_pXMLPacket->getChildNodeCount(CSEString(kObjectListPath));
}

CSEString CSEResponse::GetXmlNodeForObject(int i)
{
    CSEString text;
    if (m_pXMLPacket == nullptr || i < 1)
        return text;
    const CSEString path = CSEString(u"//response/info/cadobjectlist/cadobject[") +
                           CSEUtil::getCSEStringFromInt(i) + u"]";
    if (m_pXMLPacket->getNodeXMLString(path, text) != 0)
        text.clear();
    return text;
}
