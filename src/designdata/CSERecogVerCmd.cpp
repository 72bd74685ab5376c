// CSERecogVerCmd: the version recognition request and the objects of its response.
#include "CSERecogVerCmd.h"

#include "CSELogger.h"
#include "CSEProductStructureCreator.h"
#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "host/DVKFatal.h"

namespace {

struct ResponseField
{
    const char16_t* attribute;
    CSEString CSEObjectInfo::*field;
};

const ResponseField kObjectFields[] = {
    {u"name", &CSEObjectInfo::name},         {u"dirname", &CSEObjectInfo::dirName},
    {u"filename", &CSEObjectInfo::fileName}, {u"type", &CSEObjectInfo::type},
    {u"qxversion", &CSEObjectInfo::qxVersion}, {u"qxtype", &CSEObjectInfo::busType},
};

const char16_t kObjectsPath[] = u"//response/info/cadobjectlist/cadobject";

} // namespace

CSERecogVerCmd::CSERecogVerCmd()
{
    CSELogger::LogMsg(5, u"[CSERecogVerCmd ::CSERecogVerCmd ] Entering.");
    if (m_pCmdXMLPacket == nullptr)
        DVKFatalError("m_pCmdXMLPacket != NULL");
    SetCmdName(u"recognizeversion");
    CreateCmdHeader();
    m_pStructureCreator = new CSEProductStructureCreator(m_pCmdXMLPacket, 1);
    CSELogger::LogMsg(5, u"[CSERecogVerCmd ::CSERecogVerCmd ] Exiting.");
}

CSERecogVerCmd::~CSERecogVerCmd()
{
    CSELogger::LogMsg(5, u"[CSERecogVerCmd ::~CSERecogVerCmd ] Entering.");
    CSEProductStructureCreator::Release(m_pStructureCreator);
    CSELogger::LogMsg(5, u"[CSERecogVerCmd ::~CSERecogVerCmd ] Exiting.");
}

CSEObjectInfoVector CSERecogVerCmd::GetSuccessObjectInfoList()
{
    CSELogger::LogMsg(5, u"[CSERecogVerCmd ::GetSuccessObjectInfoList] Entering.");
    CSEObjectInfoVector objects;
    CSEXMLPacket* packet = m_pResponse == nullptr ? nullptr : m_pResponse->GetResponsePacket();
    const int count = packet == nullptr ? 0 : packet->getNodeCount(kObjectsPath);
    for (int index = 0; index < count; ++index) {
        CSEObjectInfo object;
        for (const ResponseField& field : kObjectFields)
            packet->getAttributeValueAt(kObjectsPath, index, field.attribute, object.*field.field);
        objects.push_back(object);
    }
    CSELogger::LogMsg(5, u"[CSERecogVerCmd ::GetSuccessObjectInfoList] Exiting.");
    return objects;
}
