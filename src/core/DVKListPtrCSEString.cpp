// The typed string-pointer list over the raw pointer collection; values enter and leave through the
// ownership hooks, which an owning derived list overrides.
#include "DVKListPtrCSEString.h"

#include <algorithm>
#include <vector>

#include "CSEString.h"

namespace {

// Adapts the list's typed compare function to the raw collection's untyped one.
struct TypedCompare
{
    DVKListPtrCSEString::CompareFunction compare;
};

int CompareThroughContext(const void* left, const void* right, const void* context)
{
    return static_cast<const TypedCompare*>(context)->compare(static_cast<const CSEString*>(left),
                                                              static_cast<const CSEString*>(right));
}

} // namespace

DVKListPtrCSEString::DVKListPtrCSEString(int dimension) : m_coll(dimension) {}
DVKListPtrCSEString::DVKListPtrCSEString(const DVKListPtrCSEString& other) = default;
DVKListPtrCSEString::DVKListPtrCSEString(CSEString* const* values, int count) : m_coll(count)
{
    for (int index = 0; values != nullptr && index < count; ++index)
        m_coll.Append(values[index]);
}
DVKListPtrCSEString::~DVKListPtrCSEString() = default;

DVKListPtrCSEString& DVKListPtrCSEString::operator=(const DVKListPtrCSEString& other)
{
    if (&other != this)
        ReplaceWith(other.m_coll);
    return *this;
}

CSEString* DVKListPtrCSEString::Admit(CSEString* value)
{
    return value;
}

void DVKListPtrCSEString::Release(CSEString*) {}

int DVKListPtrCSEString::RemoveRange(int first, int count)
{
    // Out of range: the collection refuses and reports it.
    if (first < 1 || first > Size() || count < 0)
        return m_coll.RemovePosition(first, count);
    const int last = first + std::min(count, Size() - first + 1) - 1;
    std::vector<CSEString*> leaving;
    leaving.reserve(static_cast<std::size_t>(last - first + 1));
    for (int position = first; position <= last; ++position)
        leaving.push_back((*this)[position]);
    const int removed = m_coll.RemovePosition(first, count);
    for (auto value = leaving.rbegin(); value != leaving.rend(); ++value)
        Release(*value);
    return removed;
}

void DVKListPtrCSEString::ReplaceWith(const DVKRawCollPV& values)
{
    DVKRawCollPV admitted(values.Size());
    for (int position = 1; position <= values.Size(); ++position)
        admitted.Append(Admit(static_cast<CSEString*>(values[position])));
    RemoveAll();
    m_coll = admitted;
}

int DVKListPtrCSEString::Append(CSEString* value)
{
    return m_coll.Append(Admit(value));
}

int DVKListPtrCSEString::Append(const DVKListPtrCSEString& other)
{
    // The count is taken first: a list appended to itself grows while it is read.
    const int count = other.Size();
    for (int position = 1; position <= count; ++position)
        m_coll.Append(Admit(other[position]));
    return Size();
}

int DVKListPtrCSEString::InsertAt(int position, CSEString* value)
{
    CSEString* admitted = Admit(value);
    const int result = m_coll.InsertAt(position, admitted);
    if (result != 0)
        Release(admitted);
    return result;
}

int DVKListPtrCSEString::Size() const
{
    return m_coll.Size();
}

int DVKListPtrCSEString::Size(int newSize)
{
    const int kept = std::max(newSize, 0);
    if (kept < Size())
        RemoveRange(kept + 1, Size() - kept);
    return m_coll.Size(kept);
}

CSEString*& DVKListPtrCSEString::operator[](int position)
{
    return reinterpret_cast<CSEString*&>(m_coll[position]);
}

CSEString* DVKListPtrCSEString::operator[](int position) const
{
    return static_cast<CSEString*>(m_coll[position]);
}

int DVKListPtrCSEString::Locate(const CSEString* value, int start) const
{
    return m_coll.Locate(value, start);
}

int DVKListPtrCSEString::RemoveValue(const CSEString* value)
{
    const int position = m_coll.Locate(value);
    if (position != 0)
        RemoveRange(position, 1);
    return position;
}

int DVKListPtrCSEString::Remove(const DVKListPtrCSEString& values)
{
    // Which values leave is known before they do (values may be this very list).
    DVKRawCollPV leaving;
    DVKRawCollPV::Intersection(m_coll, values.m_coll, leaving);
    const int removed = m_coll.Remove(values.m_coll);
    for (int position = 1; position <= leaving.Size(); ++position)
        Release(static_cast<CSEString*>(leaving[position]));
    return removed;
}

int DVKListPtrCSEString::RemovePosition(int position)
{
    return RemoveRange(position, 1);
}

int DVKListPtrCSEString::RemovePosition(int position, int count)
{
    return RemoveRange(position, count);
}

void DVKListPtrCSEString::RemoveAll(DVKCollec::MemoryHandling memory)
{
    if (Size() > 0)
        RemoveRange(1, Size());
    m_coll.RemoveAll(memory);
}

int DVKListPtrCSEString::RemoveNulls()
{
    return m_coll.RemoveNulls();
}

int DVKListPtrCSEString::RemoveDuplicates()
{
    return m_coll.RemoveDuplicates();
}

bool DVKListPtrCSEString::operator==(const DVKListPtrCSEString& other) const
{
    return m_coll == other.m_coll;
}

bool DVKListPtrCSEString::operator!=(const DVKListPtrCSEString& other) const
{
    return m_coll != other.m_coll;
}

int DVKListPtrCSEString::Swap(int first, int second)
{
    return m_coll.Swap(first, second);
}

void DVKListPtrCSEString::QuickSort(CompareFunction compare)
{
    if (compare == nullptr)
        return;
    const TypedCompare typed{compare};
    m_coll.QuickSort(&CompareThroughContext, &typed);
}

int DVKListPtrCSEString::FillArray(CSEString** array) const
{
    if (array == nullptr)
        return 0;
    for (int position = 1; position <= Size(); ++position)
        array[position - 1] = (*this)[position];
    return Size();
}

int DVKListPtrCSEString::NbOccur(const CSEString* value) const
{
    return m_coll.NbOccur(value);
}

int DVKListPtrCSEString::Intersection(const DVKListPtrCSEString& first,
                                      const DVKListPtrCSEString& second, DVKListPtrCSEString& result)
{
    DVKRawCollPV common;
    DVKRawCollPV::Intersection(first.m_coll, second.m_coll, common);
    result.ReplaceWith(common);
    return result.Size();
}

int DVKListPtrCSEString::Compare(const DVKListPtrCSEString& first, const DVKListPtrCSEString& second,
                                 CompareFunction compare)
{
    if (compare == nullptr)
        return DVKRawCollPV::Compare(first.m_coll, second.m_coll, nullptr);
    const TypedCompare typed{compare};
    return DVKRawCollPV::Compare(first.m_coll, second.m_coll, &CompareThroughContext, &typed);
}
