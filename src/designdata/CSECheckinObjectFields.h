// The fields of a check-in object that every check-in document carries (the request read back,
// the rebuilt response and the server's answer), each with its XML attribute.
#ifndef QORVI_DESIGNDATA_CSECHECKINOBJECTFIELDS_H
#define QORVI_DESIGNDATA_CSECHECKINOBJECTFIELDS_H

#include "CSEObjectInfo.h"
#include "designdata/CSEResponseList.h"

inline const CSEResponseField<CSEObjectInfo> kCheckinObjectFields[] = {
    {u"name", &CSEObjectInfo::name},
    {u"dirname", &CSEObjectInfo::dirName},
    {u"modified", &CSEObjectInfo::modified},
    {u"type", &CSEObjectInfo::type},
    {u"selected", &CSEObjectInfo::selected},
    {u"cadid", &CSEObjectInfo::cadId},
    {u"filename", &CSEObjectInfo::fileName},
    {u"seldepdoc", &CSEObjectInfo::selDepDoc},
    {u"manualseldepdoc", &CSEObjectInfo::manualSelDepDoc},
    {u"qxversion", &CSEObjectInfo::qxVersion},
    {u"qxtype", &CSEObjectInfo::busType},
    {u"typelist", &CSEObjectInfo::typeList},
    {u"designstatus", &CSEObjectInfo::designStatus},
};

#endif
