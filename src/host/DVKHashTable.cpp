// The host hash table: entries in an insertion-ordered slot array, chained per bucket by index.
#include "DVKHashTable.h"

#include <algorithm>

#include "host/DVKFatal.h"

namespace {

// Serials are renumbered at a rebuild once they pass this, long before an int would overflow.
const int kSerialRenumberLimit = 1 << 30;
// Removed slots are swept out once they outnumber the live ones (and there are at least this many).
const int kSweepThreshold = 32;

} // namespace

DVKHashTable::DVKHashTable(DVKHashFunction hash, DVKCompareFunction compare, int dimension)
    : m_hash(hash), m_compare(compare), m_iDimension(std::max(dimension, 1)),
      m_heads(static_cast<std::size_t>(m_iDimension), -1),
      m_tails(static_cast<std::size_t>(m_iDimension), -1)
{
    DVK_ASSERT(hash != nullptr && compare != nullptr);
}

int DVKHashTable::BucketOf(unsigned int hashCode) const
{
    return static_cast<int>(hashCode % static_cast<unsigned int>(m_heads.size()));
}

bool DVKHashTable::Insert(void* entry)
{
    if (!DVK_CHECK(entry != nullptr))
        return false;
    if (m_slots.size() >= m_heads.size())
        Rebuild(static_cast<int>(m_heads.size()) * 2);
    const unsigned int hashCode = m_hash(entry);
    const int slot = static_cast<int>(m_slots.size());
    m_slots.push_back(Slot{entry, hashCode, ++m_iLastSerial, -1});
    const int bucket = BucketOf(hashCode);
    if (m_tails[static_cast<std::size_t>(bucket)] < 0)
        m_heads[static_cast<std::size_t>(bucket)] = slot;
    else
        m_slots[static_cast<std::size_t>(m_tails[static_cast<std::size_t>(bucket)])].chainNext = slot;
    m_tails[static_cast<std::size_t>(bucket)] = slot;
    ++m_iLive;
    return true;
}

int DVKHashTable::Collisions() const
{
    return m_iLive - (Dimension() - Unused());
}

int DVKHashTable::Unused() const
{
    std::vector<char> used(m_heads.size(), 0);
    for (const Slot& slot : m_slots)
        if (slot.entry != nullptr)
            used[static_cast<std::size_t>(BucketOf(slot.hash))] = 1;
    return static_cast<int>(std::count(used.begin(), used.end(), 0));
}

void* DVKHashTable::Take(int slot, DVKHashPosition& position) const
{
    const Slot& found = m_slots[static_cast<std::size_t>(slot)];
    position.bucket = slot + 1;
    position.position = found.serial;
    return found.entry;
}

void* DVKHashTable::KeyLocate(unsigned int hashCode) const
{
    DVKHashPosition position;
    return KeyLocatePosition(hashCode, position);
}

void* DVKHashTable::KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const
{
    for (int slot = m_heads[static_cast<std::size_t>(BucketOf(hashCode))]; slot >= 0;
         slot = m_slots[static_cast<std::size_t>(slot)].chainNext) {
        const Slot& candidate = m_slots[static_cast<std::size_t>(slot)];
        if (candidate.entry != nullptr && candidate.hash == hashCode)
            return Take(slot, position);
    }
    return nullptr;
}

void* DVKHashTable::Locate(const void* entry) const
{
    DVKHashPosition position;
    return LocatePosition(entry, position);
}

void* DVKHashTable::LocatePosition(const void* entry, DVKHashPosition& position) const
{
    if (entry == nullptr)
        return nullptr;
    const unsigned int hashCode = m_hash(entry);
    for (int slot = m_heads[static_cast<std::size_t>(BucketOf(hashCode))]; slot >= 0;
         slot = m_slots[static_cast<std::size_t>(slot)].chainNext) {
        const Slot& candidate = m_slots[static_cast<std::size_t>(slot)];
        if (candidate.entry != nullptr && candidate.hash == hashCode &&
            m_compare(candidate.entry, entry) == 0)
            return Take(slot, position);
    }
    return nullptr;
}

int DVKHashTable::SlotOf(const DVKHashPosition& position) const
{
    if (position.position <= 0)
        return -1;
    const int hint = position.bucket - 1;
    if (hint >= 0 && hint < static_cast<int>(m_slots.size()) &&
        m_slots[static_cast<std::size_t>(hint)].serial == position.position)
        return hint;
    // The slots moved in a rebuild since the cursor was taken; serials are still in order.
    const auto found = std::lower_bound(m_slots.begin(), m_slots.end(), position.position,
                                        [](const Slot& slot, int serial) { return slot.serial < serial; });
    if (found == m_slots.end() || found->serial != position.position)
        return -1;
    return static_cast<int>(found - m_slots.begin());
}

int DVKHashTable::FirstSlotAfter(const DVKHashPosition& position) const
{
    if (position.position <= 0)
        return m_iFirstLive;
    const int slot = SlotOf(position);
    if (slot >= 0)
        return std::max(slot + 1, m_iFirstLive);
    const auto after = std::upper_bound(m_slots.begin(), m_slots.end(), position.position,
                                        [](int serial, const Slot& slot) { return serial < slot.serial; });
    return std::max(static_cast<int>(after - m_slots.begin()), m_iFirstLive);
}

void* DVKHashTable::Retrieve(const DVKHashPosition& position) const
{
    const int slot = SlotOf(position);
    return slot < 0 ? nullptr : m_slots[static_cast<std::size_t>(slot)].entry;
}

void* DVKHashTable::Next(DVKHashPosition& position) const
{
    const int count = static_cast<int>(m_slots.size());
    for (int slot = FirstSlotAfter(position); slot < count; ++slot)
        if (m_slots[static_cast<std::size_t>(slot)].entry != nullptr)
            return Take(slot, position);
    return nullptr;
}

void* DVKHashTable::Next(DVKHashPosition& position, unsigned int hashCode) const
{
    if (position.position <= 0)
        return KeyLocatePosition(hashCode, position);
    int slot = SlotOf(position);
    if (slot >= 0 && m_slots[static_cast<std::size_t>(slot)].hash == hashCode) {
        slot = m_slots[static_cast<std::size_t>(slot)].chainNext;
    } else {
        // The cursor's entry is gone (or of another code): walk the chain past its serial.
        slot = m_heads[static_cast<std::size_t>(BucketOf(hashCode))];
        while (slot >= 0 && m_slots[static_cast<std::size_t>(slot)].serial <= position.position)
            slot = m_slots[static_cast<std::size_t>(slot)].chainNext;
    }
    for (; slot >= 0; slot = m_slots[static_cast<std::size_t>(slot)].chainNext) {
        const Slot& candidate = m_slots[static_cast<std::size_t>(slot)];
        if (candidate.entry != nullptr && candidate.hash == hashCode)
            return Take(slot, position);
    }
    return nullptr;
}

void* DVKHashTable::Remove(const void* entry)
{
    DVKHashPosition position;
    if (LocatePosition(entry, position) == nullptr)
        return nullptr;
    return RemovePosition(position);
}

void* DVKHashTable::RemovePosition(const DVKHashPosition& position)
{
    const int slot = SlotOf(position);
    if (slot < 0)
        return nullptr;
    void* entry = m_slots[static_cast<std::size_t>(slot)].entry;
    if (entry != nullptr)
        Kill(slot);
    return entry;
}

void DVKHashTable::Kill(int slot)
{
    m_slots[static_cast<std::size_t>(slot)].entry = nullptr;
    --m_iLive;
    const int count = static_cast<int>(m_slots.size());
    while (m_iFirstLive < count && m_slots[static_cast<std::size_t>(m_iFirstLive)].entry == nullptr)
        ++m_iFirstLive;
    const int removed = count - m_iLive;
    if (removed > m_iLive && removed >= kSweepThreshold)
        Rebuild(Dimension());
}

void DVKHashTable::RemoveAll()
{
    m_slots.clear();
    m_slots.shrink_to_fit();
    m_heads.assign(static_cast<std::size_t>(m_iDimension), -1);
    m_tails.assign(static_cast<std::size_t>(m_iDimension), -1);
    m_iLive = 0;
    m_iFirstLive = 0;
}

void DVKHashTable::Rebuild(int bucketCount)
{
    std::vector<Slot> live;
    live.reserve(static_cast<std::size_t>(m_iLive) + 1);
    for (const Slot& slot : m_slots)
        if (slot.entry != nullptr)
            live.push_back(slot);
    if (m_iLastSerial > kSerialRenumberLimit) {
        m_iLastSerial = 0;
        for (Slot& slot : live)
            slot.serial = ++m_iLastSerial;
    }
    m_slots.swap(live);
    m_heads.assign(static_cast<std::size_t>(std::max(bucketCount, 1)), -1);
    m_tails.assign(m_heads.size(), -1);
    for (std::size_t index = 0; index < m_slots.size(); ++index) {
        Slot& slot = m_slots[index];
        slot.chainNext = -1;
        const auto bucket = static_cast<std::size_t>(BucketOf(slot.hash));
        if (m_tails[bucket] < 0)
            m_heads[bucket] = static_cast<int>(index);
        else
            m_slots[static_cast<std::size_t>(m_tails[bucket])].chainNext = static_cast<int>(index);
        m_tails[bucket] = static_cast<int>(index);
    }
    m_iFirstLive = 0;
}

bool DVKHashTable::operator==(const DVKHashTable& other) const
{
    if (m_iLive != other.m_iLive)
        return false;
    for (const Slot& slot : m_slots)
        if (slot.entry != nullptr && other.Locate(slot.entry) == nullptr)
            return false;
    return true;
}

void DVKHashTable::ApplyGlobalFunct(void (*function)(void* entry, void* context), void* context) const
{
    if (function == nullptr)
        return;
    for (const Slot& slot : m_slots)
        if (slot.entry != nullptr)
            function(slot.entry, context);
}
