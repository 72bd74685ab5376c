// MOCK_IdMap: a map from a captured identifier to the identifier the replayed run uses, over the
// host dictionary; it owns the copies it stores.
#ifndef QORVI_CAPTURE_MOCK_IDMAP_H
#define QORVI_CAPTURE_MOCK_IDMAP_H

#include <deque>
#include <functional>
#include <string>

#include "host/DVKHashDico.h"

class MOCK_IdMap
{
public:
    MOCK_IdMap() : m_dico(10) {}
    ~MOCK_IdMap() { Clear(); }
    MOCK_IdMap(const MOCK_IdMap&) = delete;
    MOCK_IdMap& operator=(const MOCK_IdMap&) = delete;

    // The replay id mapped to captured; null when there is none.
    const std::u16string* Find(const std::u16string& captured) const;
    // Maps captured to replay; false when captured is mapped already (the map is left as it is).
    bool Insert(const std::u16string& captured, const std::u16string& replay);
    int Size() const { return m_dico.Size(); }
    // Makes room for count more entries.
    void Reserve(int count) { m_dico.Reserve(Size() + count); }
    // Calls visit(captured, replay) for every entry in the order they were added.
    void ForEach(const std::function<void(const std::u16string&, const std::u16string&)>& visit) const;
    void Clear();

private:
    DVKHashDico m_dico;                 // values point into m_values
    std::deque<std::u16string> m_values; // the copies, in blocks rather than one allocation each
};

#endif
