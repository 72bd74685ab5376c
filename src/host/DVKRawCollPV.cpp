// The host's raw pointer collection over a contiguous array; positions are 1-based.
#include "DVKRawCollPV.h"

#include <algorithm>
#include <unordered_set>

#include "host/DVKFatal.h"

namespace {

std::unordered_set<const void*> SetOf(const std::vector<void*>& values)
{
    return std::unordered_set<const void*>(values.begin(), values.end());
}

} // namespace

DVKRawCollPV::DVKRawCollPV(int dimension)
{
    if (dimension > 0)
        m_values.reserve(static_cast<std::size_t>(dimension));
}

DVKRawCollPV::DVKRawCollPV(void* const* values, int count)
{
    if (values != nullptr && count > 0)
        m_values.assign(values, values + count);
}

int DVKRawCollPV::Append(void* value)
{
    m_values.push_back(value);
    return Size();
}

int DVKRawCollPV::Append(const DVKRawCollPV& other)
{
    if (&other == this) {
        m_values.reserve(m_values.size() * 2);
        m_values.insert(m_values.end(), m_values.begin(), m_values.end());
        return Size();
    }
    m_values.insert(m_values.end(), other.m_values.begin(), other.m_values.end());
    return Size();
}

int DVKRawCollPV::InsertAt(int position, void* value)
{
    if (!DVK_CHECK(position >= 1 && position <= Size() + 1))
        return -1;
    m_values.insert(m_values.begin() + (position - 1), value);
    return 0;
}

int DVKRawCollPV::Size(int newSize)
{
    m_values.resize(static_cast<std::size_t>(std::max(newSize, 0)), nullptr);
    return Size();
}

void*& DVKRawCollPV::operator[](int position)
{
    DVK_ASSERT(position >= 1 && position <= Size());
    return m_values[static_cast<std::size_t>(position - 1)];
}

void* DVKRawCollPV::operator[](int position) const
{
    DVK_ASSERT(position >= 1 && position <= Size());
    return m_values[static_cast<std::size_t>(position - 1)];
}

int DVKRawCollPV::Locate(const void* value, int start) const
{
    for (int position = std::max(start, 1); position <= Size(); ++position)
        if (m_values[static_cast<std::size_t>(position - 1)] == value)
            return position;
    return 0;
}

int DVKRawCollPV::RemoveValue(const void* value)
{
    const int position = Locate(value);
    if (position != 0)
        RemovePosition(position);
    return position;
}

int DVKRawCollPV::Remove(const DVKRawCollPV& values)
{
    const std::unordered_set<const void*> unwanted = SetOf(values.m_values);
    const auto kept = std::remove_if(m_values.begin(), m_values.end(),
                                     [&unwanted](void* value) { return unwanted.count(value) != 0; });
    const int removed = static_cast<int>(m_values.end() - kept);
    m_values.erase(kept, m_values.end());
    return removed;
}

int DVKRawCollPV::RemovePosition(int position)
{
    return RemovePosition(position, 1);
}

int DVKRawCollPV::RemovePosition(int position, int count)
{
    if (!DVK_CHECK(position >= 1 && position <= Size() && count >= 0))
        return 0;
    const int removed = std::min(count, Size() - position + 1);
    const auto first = m_values.begin() + (position - 1);
    m_values.erase(first, first + removed);
    return removed;
}

void DVKRawCollPV::RemoveAll(DVKCollec::MemoryHandling memory)
{
    m_values.clear();
    if (memory == DVKCollec::FreeMemory)
        m_values.shrink_to_fit();
}

int DVKRawCollPV::RemoveNulls()
{
    const auto kept = std::remove(m_values.begin(), m_values.end(), nullptr);
    const int removed = static_cast<int>(m_values.end() - kept);
    m_values.erase(kept, m_values.end());
    return removed;
}

int DVKRawCollPV::RemoveDuplicates()
{
    std::unordered_set<const void*> seen;
    seen.reserve(m_values.size());
    const auto kept = std::remove_if(m_values.begin(), m_values.end(),
                                     [&seen](void* value) { return !seen.insert(value).second; });
    const int removed = static_cast<int>(m_values.end() - kept);
    m_values.erase(kept, m_values.end());
    return removed;
}

int DVKRawCollPV::Swap(int first, int second)
{
    if (!DVK_CHECK(first >= 1 && first <= Size() && second >= 1 && second <= Size()))
        return -1;
    std::swap(m_values[static_cast<std::size_t>(first - 1)], m_values[static_cast<std::size_t>(second - 1)]);
    return 0;
}

void DVKRawCollPV::QuickSort(CompareFunction compare, const void* context)
{
    if (compare == nullptr)
        return;
    std::stable_sort(m_values.begin(), m_values.end(), [compare, context](void* left, void* right) {
        return compare(left, right, context) < 0;
    });
}

int DVKRawCollPV::FillArray(void** array) const
{
    if (array == nullptr)
        return 0;
    std::copy(m_values.begin(), m_values.end(), array);
    return Size();
}

int DVKRawCollPV::NbOccur(const void* value) const
{
    return static_cast<int>(std::count(m_values.begin(), m_values.end(), value));
}

int DVKRawCollPV::Intersection(const DVKRawCollPV& first, const DVKRawCollPV& second,
                               DVKRawCollPV& result)
{
    const std::unordered_set<const void*> inSecond = SetOf(second.m_values);
    std::unordered_set<const void*> taken;
    std::vector<void*> common;
    for (void* value : first.m_values)
        if (inSecond.count(value) != 0 && taken.insert(value).second)
            common.push_back(value);
    result.m_values.swap(common);
    return result.Size();
}

int DVKRawCollPV::Compare(const DVKRawCollPV& first, const DVKRawCollPV& second,
                          CompareFunction compare, const void* context)
{
    if (compare == nullptr)
        return first == second ? 0 : 1;
    const std::size_t common = std::min(first.m_values.size(), second.m_values.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int order = compare(first.m_values[i], second.m_values[i], context);
        if (order != 0)
            return order;
    }
    if (first.m_values.size() == second.m_values.size())
        return 0;
    return first.m_values.size() < second.m_values.size() ? -1 : 1;
}
