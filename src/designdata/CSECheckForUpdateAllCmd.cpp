// CSECheckForUpdateAllCmd: the request of "checkforupdateall" and the lists of its response.
#include "CSECheckForUpdateAllCmd.h"

#include "CSEXMLPacket.h"
#include "designdata/CSEUpdateResults.h"

namespace {

using Field = CSEResponseField<CSEObjectInfo>;

const Field kPath = {u"downloadedpath", &CSEObjectInfo::downloadedPath};
const Field kFileName = {u"filename", &CSEObjectInfo::fileName};

} // namespace

CSECheckForUpdateAllCmd::CSECheckForUpdateAllCmd()
{
    ConstructCommand(CSEString(u"[CSECheckForUpdateAllCmd::CSECheckForUpdateAllCmd()]"),
                     CSEString(u"checkforupdateall"));
}

CSECheckForUpdateAllCmd::CSECheckForUpdateAllCmd(const CSECheckForUpdateAllCmd& other) = default;
CSECheckForUpdateAllCmd& CSECheckForUpdateAllCmd::operator=(const CSECheckForUpdateAllCmd& other) = default;
CSECheckForUpdateAllCmd::~CSECheckForUpdateAllCmd() = default;

CSEObjectInfoVector CSECheckForUpdateAllCmd::GetSuccessObjectInfoList()
{
    CSEObjectInfoVector objects;
    CSEUpdateResults::Append(m_pResponse, u"cadobjectlist", {kPath, kFileName}, CSEUpdateResults::AsWritten,
                             objects);
    return objects;
}

CSEObjectInfoVector CSECheckForUpdateAllCmd::GetFailureObjectInfoList()
{
    CSEObjectInfoVector objects;
    CSEUpdateResults::Append(m_pResponse, u"errorfiles", {kPath, kFileName}, CSEUpdateResults::AsWritten,
                             objects);
    return objects;
}

int CSECheckForUpdateAllCmd::GetObjectsFromRespForUserExit(CSEObjectInfoVector& out)
{
    CSEUpdateResults::Append(m_pResponse, u"cadobjectlist",
                             {kFileName,
                              {u"qxversion", &CSEObjectInfo::qxVersion},
                              {u"qxtype", &CSEObjectInfo::busType},
                              {u"name", &CSEObjectInfo::name}},
                             CSEUpdateResults::AsWritten, out);
    return out.size();
}

void CSECheckForUpdateAllCmd::CreateResponseForUserExit(const CSEString& result)
{
    CreateResponseHeader();
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(CSEString(u"//response"), CSEString(u"result"), result, 0);
}
