// CSECopyToCADSelection: which attributes of a checked-out object the host is to write into its CAD
// file, by the server's Qx-to-CAD attribute mapping.
#ifndef QORVI_DESIGNDATA_CSECOPYTOCADSELECTION_H
#define QORVI_DESIGNDATA_CSECOPYTOCADSELECTION_H

#include "CSEString.h"

class CSEObjectInfo;
class CSEServerSettings;

// An attribute is selected when its mapping (the CAD side is the object's type and the attribute,
// the server side "server type,server attribute") computes its value ("expr(...)"), names a
// special value ("$$...$$", except "$$description$$"), or names an attribute that the server
// modified ("modifiedcadattributes") on the object's own server type. "$$description$$" counts as
// the server attribute "description".
class CSECopyToCADSelection
{
public:
    CSECopyToCADSelection(const CSEServerSettings& settings, const CSEObjectInfo& object);

    bool Selects(const CSEString& attributeName) const;

private:
    const CSEServerSettings& m_settings;
    const CSEObjectInfo& m_object;
};

#endif
