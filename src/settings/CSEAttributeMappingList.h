// CSEAttributeMappingList: a list of "type,attribute" mappings of the global settings, hashed so the
// per-object questions stay cheap on lists of thousands of mappings.
#ifndef QORVI_SETTINGS_CSEATTRIBUTEMAPPINGLIST_H
#define QORVI_SETTINGS_CSEATTRIBUTEMAPPINGLIST_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "CSEString.h"
#include "CSEWrapperStringVector.h"

// Each entry is a type (for relationship attributes a relationship class), a comma and an
// attribute name; the type "all" or "ALL" stands for every type.
class CSEAttributeMappingList
{
public:
    void Append(const std::u16string& entry);
    // The list holds type + "," + attribute, "all," + attribute or "ALL," + attribute.
    bool Holds(const std::u16string& type, const std::u16string& attribute) const;
    // For each entry, in list order, the text after type + ",", or else after "ALL,", or else
    // after "all,"; entries with none of these beginnings give nothing.
    CSEWrapperStringVector AttributesOf(const std::u16string& type) const;
    // attribute is among AttributesOf(type).
    bool GivesAttribute(const std::u16string& type, const std::u16string& attribute) const;

private:
    // The attribute that entry gives for type; false when it gives none.
    static bool AttributeOf(const std::u16string& entry, const std::u16string& type, std::u16string& attribute);

    std::vector<std::u16string> m_entries;
    std::unordered_set<std::u16string> m_entrySet;
    // Positions of the entries by their text before the first comma.
    std::unordered_map<std::u16string, std::vector<std::size_t>> m_positionsByType;
};

#endif
