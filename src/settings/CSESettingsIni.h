// Parser of the "settings.ini" text, kept apart from the settings holder so it can be fuzzed.
#ifndef QORVI_SETTINGS_CSESETTINGSINI_H
#define QORVI_SETTINGS_CSESETTINGSINI_H

#include <string>

#include "CSEClientSettings.h"

namespace cse {

// Adds the sections and keys of the UTF-8 text to table (existing keys are overwritten).
void ParseSettingsText(const std::string& utf8Text, CSESettingsTable& table);

} // namespace cse

#endif
