// The host dictionary: a hashed map of text to pointer plus the order in which keys came.
#include "host/DVKHashDico.h"

#include <algorithm>

DVKHashDico::DVKHashDico(int dimension)
{
    m_entries.reserve(static_cast<std::size_t>(std::max(dimension, 1)));
}

bool DVKHashDico::Insert(const DVKUnicodeString& key, void* value)
{
    if (value == nullptr)
        return false;
    const auto inserted = m_entries.emplace(key.Text(), value);
    if (!inserted.second)
        return false;
    m_order.push_back(&*inserted.first);
    return true;
}

void* DVKHashDico::Locate(const DVKUnicodeString& key) const
{
    const auto found = m_entries.find(key.Text());
    return found == m_entries.end() ? nullptr : found->second;
}

void* DVKHashDico::Next(int& position, DVKUnicodeString* key) const
{
    if (position < 0 || position >= static_cast<int>(m_order.size()))
        return nullptr;
    const Entries::value_type* entry = m_order[static_cast<std::size_t>(position++)];
    if (key != nullptr)
        *key = DVKUnicodeString(entry->first);
    return entry->second;
}

void DVKHashDico::Reserve(int count)
{
    if (count > 0) {
        m_entries.reserve(static_cast<std::size_t>(count));
        m_order.reserve(static_cast<std::size_t>(count));
    }
}

void DVKHashDico::RemoveAll()
{
    m_order.clear();
    m_entries.clear();
}
