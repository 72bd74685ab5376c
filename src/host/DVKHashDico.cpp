// The host dictionary: entries in insertion order, found through an open-addressed index.
#include "host/DVKHashDico.h"

#include <functional>

namespace {

std::uint32_t HashOf(const std::u16string& key)
{
    return static_cast<std::uint32_t>(std::hash<std::u16string>()(key));
}

// The smallest power of two that keeps count entries at most half of the slots.
std::size_t SlotsFor(std::size_t count)
{
    std::size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    return slots;
}

} // namespace

DVKHashDico::DVKHashDico(int dimension)
{
    Reserve(dimension);
}

std::size_t DVKHashDico::Probe(const std::u16string& key, std::uint32_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.entry < 0 ||
            (slot.hash == hash && m_entries[static_cast<std::size_t>(slot.entry)].key == key))
            return at;
    }
}

void DVKHashDico::Rehash(std::size_t slotCount)
{
    m_slots.assign(slotCount, Slot{0, -1});
    const std::size_t mask = slotCount - 1;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::uint32_t hash = HashOf(m_entries[i].key);
        std::size_t at = hash & mask;
        while (m_slots[at].entry >= 0)
            at = (at + 1) & mask;
        m_slots[at] = Slot{hash, static_cast<std::int32_t>(i)};
    }
}

void DVKHashDico::Reserve(int count)
{
    const std::size_t wanted = SlotsFor(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (wanted > m_slots.size())
        Rehash(wanted);
    if (count > 0)
        m_entries.reserve(static_cast<std::size_t>(count));
}

bool DVKHashDico::Insert(const DVKUnicodeString& key, void* value)
{
    if (value == nullptr)
        return false;
    if ((m_entries.size() + 1) * 2 > m_slots.size())
        Rehash(SlotsFor(m_entries.size() + 1));
    const std::uint32_t hash = HashOf(key.Text());
    Slot& slot = m_slots[Probe(key.Text(), hash)];
    if (slot.entry >= 0)
        return false;
    slot = Slot{hash, static_cast<std::int32_t>(m_entries.size())};
    m_entries.push_back(Entry{key.Text(), value});
    return true;
}

void* DVKHashDico::Locate(const DVKUnicodeString& key) const
{
    const Slot& slot = m_slots[Probe(key.Text(), HashOf(key.Text()))];
    return slot.entry < 0 ? nullptr : m_entries[static_cast<std::size_t>(slot.entry)].value;
}

void* DVKHashDico::Next(int& position, DVKUnicodeString* key) const
{
    if (position < 0 || position >= static_cast<int>(m_entries.size()))
        return nullptr;
    const Entry& entry = m_entries[static_cast<std::size_t>(position++)];
    if (key != nullptr)
        *key = DVKUnicodeString(entry.key);
    return entry.value;
}

void DVKHashDico::RemoveAll()
{
    m_entries.clear();
    for (Slot& slot : m_slots)
        slot.entry = -1;
}
