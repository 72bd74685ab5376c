// CSEAttributeMappingList: the entries in order, a set of them and their positions by type.
#include "settings/CSEAttributeMappingList.h"

#include <algorithm>

namespace {

const char16_t kAllUpper[] = u"ALL";
const char16_t kAllLower[] = u"all";

bool StartsWithTypeAndComma(const std::u16string& entry, const std::u16string& type)
{
    return entry.size() > type.size() && entry[type.size()] == u',' && entry.compare(0, type.size(), type) == 0;
}

} // namespace

void CSEAttributeMappingList::Append(const std::u16string& entry)
{
    const std::size_t comma = entry.find(u',');
    if (comma != std::u16string::npos)
        m_positionsByType[entry.substr(0, comma)].push_back(m_entries.size());
    m_entrySet.insert(entry);
    m_entries.push_back(entry);
}

bool CSEAttributeMappingList::Holds(const std::u16string& type, const std::u16string& attribute) const
{
    return m_entrySet.count(type + u',' + attribute) != 0 || m_entrySet.count(kAllLower + (u',' + attribute)) != 0 ||
           m_entrySet.count(kAllUpper + (u',' + attribute)) != 0;
}

bool CSEAttributeMappingList::AttributeOf(const std::u16string& entry, const std::u16string& type,
                                          std::u16string& attribute)
{
    for (const std::u16string& prefix : {type, std::u16string(kAllUpper), std::u16string(kAllLower)}) {
        if (StartsWithTypeAndComma(entry, prefix)) {
            attribute = entry.substr(prefix.size() + 1);
            return true;
        }
    }
    return false;
}

CSEWrapperStringVector CSEAttributeMappingList::AttributesOf(const std::u16string& type) const
{
    // The entries that can answer: those whose text before the first comma is the type, "ALL" or
    // "all". A type holding a comma is matched against the whole list.
    std::vector<std::size_t> positions;
    if (type.find(u',') != std::u16string::npos) {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            positions.push_back(i);
    } else {
        for (const std::u16string& prefix : {type, std::u16string(kAllUpper), std::u16string(kAllLower)}) {
            const auto found = m_positionsByType.find(prefix);
            if (found != m_positionsByType.end())
                positions.insert(positions.end(), found->second.begin(), found->second.end());
        }
        std::sort(positions.begin(), positions.end());
        positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    }
    CSEWrapperStringVector attributes;
    std::u16string attribute;
    for (std::size_t position : positions) {
        if (AttributeOf(m_entries[position], type, attribute))
            attributes.push_back(CSEString(DVKUnicodeString(attribute)));
    }
    return attributes;
}

bool CSEAttributeMappingList::GivesAttribute(const std::u16string& type, const std::u16string& attribute) const
{
    // An entry gives the attribute only when it is one of these three texts and the prefix it
    // answers with is the one in front of the attribute.
    std::u16string given;
    for (const std::u16string& prefix : {type, std::u16string(kAllUpper), std::u16string(kAllLower)}) {
        const std::u16string entry = prefix + u',' + attribute;
        if (m_entrySet.count(entry) != 0 && AttributeOf(entry, type, given) && given == attribute)
            return true;
    }
    return false;
}
