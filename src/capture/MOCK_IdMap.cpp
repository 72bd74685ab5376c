// Identifier maps of the replay engine.
#include "capture/MOCK_IdMap.h"

const std::u16string* MOCK_IdMap::Find(const std::u16string& captured) const
{
    return static_cast<const std::u16string*>(m_dico.Locate(DVKUnicodeString(captured)));
}

bool MOCK_IdMap::Insert(const std::u16string& captured, const std::u16string& replay)
{
    m_values.push_back(replay);
    if (m_dico.Insert(DVKUnicodeString(captured), &m_values.back()))
        return true;
    m_values.pop_back();
    return false;
}

void MOCK_IdMap::ForEach(const std::function<void(const std::u16string&, const std::u16string&)>& visit) const
{
    int position = 0;
    DVKUnicodeString key;
    while (const auto* value = static_cast<const std::u16string*>(m_dico.Next(position, &key)))
        visit(key.Text(), *value);
}

void MOCK_IdMap::Clear()
{
    m_dico.RemoveAll();
    m_values.clear();
}
