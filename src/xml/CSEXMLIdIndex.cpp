// CSEXMLIdIndex: identifier -> element(s), kept in step with the document by the packet.
#include "xml/CSEXMLIdIndex.h"

#include <climits>
#include <new>
#include <string>

namespace {

const char16_t kPathPrefix[] = u"//*[@iGSSLID='";
const char16_t kPathSuffix[] = u"']";

bool ReadIdentifier(const dvk::XmlNode& element, int& identifier)
{
    return element.IsElement() &&
           CSEXMLIdIndex::ParseIdentifier(element.GetAttribute(CSEXMLIdIndex::AttributeName()), identifier);
}

} // namespace

bool CSEXMLIdIndex::ParseIdentifier(const std::u16string& text, int& identifier)
{
    const bool negative = !text.empty() && text[0] == u'-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t digits = text.size() - start;
    if (digits == 0 || digits > 10 || (text[start] == u'0' && (digits > 1 || negative)))
        return false;
    long long value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        value = value * 10 + (text[i] - u'0');
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return false;
    identifier = static_cast<int>(value);
    return true;
}

std::u16string CSEXMLIdIndex::PathOf(int identifier)
{
    const std::string digits = std::to_string(identifier);
    return kPathPrefix + std::u16string(digits.begin(), digits.end()) + kPathSuffix;
}

bool CSEXMLIdIndex::ParsePath(const std::u16string& path, int& identifier)
{
    const std::size_t prefix = std::char_traits<char16_t>::length(kPathPrefix);
    const std::size_t suffix = std::char_traits<char16_t>::length(kPathSuffix);
    if (path.size() <= prefix + suffix || path.compare(0, prefix, kPathPrefix) != 0 ||
        path.compare(path.size() - suffix, suffix, kPathSuffix) != 0)
        return false;
    return ParseIdentifier(path.substr(prefix, path.size() - prefix - suffix), identifier);
}

void CSEXMLIdIndex::Clear()
{
    m_entries.clear();
    m_bTrusted = true;
}

void CSEXMLIdIndex::Add(const dvk::XmlNode& element)
{
    int identifier = 0;
    if (!ReadIdentifier(element, identifier))
        return;
    try {
        auto inserted = m_entries.try_emplace(identifier);
        Entry& entry = inserted.first->second;
        if (inserted.second)
            entry.first = element;
        else if (entry.first != element)
            entry.others.insert(element);
    } catch (const std::bad_alloc&) {
        m_bTrusted = false;
    }
}

void CSEXMLIdIndex::Remove(const dvk::XmlNode& element)
{
    int identifier = 0;
    if (!ReadIdentifier(element, identifier))
        return;
    auto found = m_entries.find(identifier);
    if (found == m_entries.end()) {
        m_bTrusted = false;
        return;
    }
    Entry& entry = found->second;
    if (entry.first == element) {
        if (entry.others.empty()) {
            m_entries.erase(found);
            return;
        }
        entry.first = *entry.others.begin();
        entry.others.erase(entry.others.begin());
        return;
    }
    if (entry.others.erase(element) == 0)
        m_bTrusted = false;
}

void CSEXMLIdIndex::AddSubtree(const dvk::XmlNode& top)
{
    top.ForEachElement([this](const dvk::XmlNode& element) { Add(element); });
}

void CSEXMLIdIndex::RemoveSubtree(const dvk::XmlNode& top)
{
    top.ForEachElement([this](const dvk::XmlNode& element) { Remove(element); });
}

CSEXMLIdIndex::Answer CSEXMLIdIndex::Find(int identifier, dvk::XmlNode& element) const
{
    if (!m_bTrusted)
        return Answer::Unsure;
    auto found = m_entries.find(identifier);
    if (found == m_entries.end())
        return Answer::None;
    if (!found->second.others.empty())
        return Answer::Unsure;
    element = found->second.first;
    return Answer::One;
}
