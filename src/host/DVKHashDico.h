// DVKHashDico: the host's dictionary of untyped pointers keyed by text.
#ifndef QORVI_HOST_DVKHASHDICO_H
#define QORVI_HOST_DVKHASHDICO_H

#include <cstdint>
#include <string>
#include <vector>

#include "DVKUnicodeString.h"

// Look-up by exact text in constant average time; iteration in insertion order. The dictionary does
// not own its values: whoever inserts them deletes them (after RemoveAll or before destruction).
class DVKHashDico
{
public:
    // dimension: the number of entries expected at first; the dictionary grows beyond it.
    explicit DVKHashDico(int dimension = 10);
    DVKHashDico(const DVKHashDico&) = delete;
    DVKHashDico& operator=(const DVKHashDico&) = delete;

    // Adds the value under key; false (and nothing changes) when the key is already there or the
    // value is null.
    bool Insert(const DVKUnicodeString& key, void* value);
    // The value stored under key; null when absent.
    void* Locate(const DVKUnicodeString& key) const;
    // Steps the cursor (0 before the first entry) to the next entry in insertion order and returns
    // its value, writing its key when asked; null at the end.
    void* Next(int& position, DVKUnicodeString* key = nullptr) const;
    int Size() const { return static_cast<int>(m_entries.size()); }
    // Makes room for count entries at once (a hint: the dictionary grows as needed anyway).
    void Reserve(int count);
    // Forgets every entry (the values are not deleted).
    void RemoveAll();

private:
    struct Entry
    {
        std::u16string key;
        void* value;
    };
    // Open addressing with linear probing over a power-of-two table kept at most half full; a slot
    // holds the key's hash beside the entry's position, so a probe rarely reads a key.
    struct Slot
    {
        std::uint32_t hash;
        std::int32_t entry; // -1: empty
    };

    // The slot that holds key, or the empty slot where it would go.
    std::size_t Probe(const std::u16string& key, std::uint32_t hash) const;
    void Rehash(std::size_t slotCount);

    std::vector<Entry> m_entries; // insertion order
    std::vector<Slot> m_slots;
};

#endif
