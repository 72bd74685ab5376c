// Reads the global settings sections of a loaded login response, kept apart from the settings
// holder so that the holder only swaps in a complete result.
#ifndef QORVI_SETTINGS_CSESERVERSETTINGSREADER_H
#define QORVI_SETTINGS_CSESERVERSETTINGSREADER_H

#include "CSEString.h"
#include "settings/CSEServerSettingsData.h"

class CSEXMLPacket;

namespace cse {

// Reads "/gsettings/attribute", "/gsettings/customattributes/attribute", "/lsettings/attribute" and
// "/othersettings/attribute" below basePath into data (which starts from its defaults; keys it
// does not know are ignored), then derives the switches and look-ups that depend on several
// settings.
void ReadServerSettings(CSEXMLPacket& packet, const CSEString& basePath, CSEServerSettingsData& data);

} // namespace cse

#endif
