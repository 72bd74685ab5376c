// Identifier maps of the replay engine.
#include "capture/MOCK_IdMap.h"

#include <memory>

const std::u16string* MOCK_IdMap::Find(const std::u16string& captured) const
{
    const auto* value = static_cast<const DVKUnicodeString*>(m_dico.Locate(DVKUnicodeString(captured)));
    return value == nullptr ? nullptr : &value->Text();
}

bool MOCK_IdMap::Insert(const std::u16string& captured, const std::u16string& replay)
{
    std::unique_ptr<DVKUnicodeString> copy(new DVKUnicodeString(replay));
    if (!m_dico.Insert(DVKUnicodeString(captured), copy.get()))
        return false;
    copy.release();
    return true;
}

void MOCK_IdMap::ForEach(const std::function<void(const std::u16string&, const std::u16string&)>& visit) const
{
    int position = 0;
    DVKUnicodeString key;
    while (const auto* value = static_cast<const DVKUnicodeString*>(m_dico.Next(position, &key)))
        visit(key.Text(), value->Text());
}

void MOCK_IdMap::Clear()
{
    int position = 0;
    while (void* value = m_dico.Next(position))
        delete static_cast<DVKUnicodeString*>(value);
    m_dico.RemoveAll();
}
