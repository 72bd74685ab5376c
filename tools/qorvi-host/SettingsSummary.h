// A readable summary of the global settings of a login, as a plug-in's user would want to see
// them: what is switched on, the site's user exits, disabled commands, folders and type mappings.
#ifndef QORVI_HOST_SETTINGSSUMMARY_H
#define QORVI_HOST_SETTINGSSUMMARY_H

#include <cstdio>
#include <string>
#include <vector>

class CSEServerSettings;
class CSEString;
class CSEWrapperStringVector;

class SettingsSummary
{
public:
    static void Print(const CSEServerSettings& settings, std::FILE* out);

private:
    static void PrintTypeMappings(const CSEServerSettings& settings, std::FILE* out);
    // "  label:  item, item, ..." wrapped below the first item; nothing when there are no items.
    static void PrintField(std::FILE* out, const std::string& label, const std::vector<std::string>& items);
    static void PrintText(std::FILE* out, const std::string& label, const CSEString& text);
    static std::vector<std::string> Items(const CSEWrapperStringVector& list);
};

#endif
