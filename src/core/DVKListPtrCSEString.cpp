// The typed string-pointer list: every operation forwards to the raw pointer collection.
#include "DVKListPtrCSEString.h"

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
DVKListPtrCSEString& DVKListPtrCSEString::operator=(const DVKListPtrCSEString& other) = default;

int DVKListPtrCSEString::Append(CSEString* value)
{
    return m_coll.Append(value);
}

int DVKListPtrCSEString::Append(const DVKListPtrCSEString& other)
{
    return m_coll.Append(other.m_coll);
}

int DVKListPtrCSEString::InsertAt(int position, CSEString* value)
{
    return m_coll.InsertAt(position, value);
}

int DVKListPtrCSEString::Size() const
{
    return m_coll.Size();
}

int DVKListPtrCSEString::Size(int newSize)
{
    return m_coll.Size(newSize);
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
    return m_coll.RemoveValue(value);
}

int DVKListPtrCSEString::Remove(const DVKListPtrCSEString& values)
{
    return m_coll.Remove(values.m_coll);
}

int DVKListPtrCSEString::RemovePosition(int position)
{
    return m_coll.RemovePosition(position);
}

int DVKListPtrCSEString::RemovePosition(int position, int count)
{
    return m_coll.RemovePosition(position, count);
}

void DVKListPtrCSEString::RemoveAll(DVKCollec::MemoryHandling memory)
{
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
    return DVKRawCollPV::Intersection(first.m_coll, second.m_coll, result.m_coll);
}

int DVKListPtrCSEString::Compare(const DVKListPtrCSEString& first, const DVKListPtrCSEString& second,
                                 CompareFunction compare)
{
    if (compare == nullptr)
        return DVKRawCollPV::Compare(first.m_coll, second.m_coll, nullptr);
    const TypedCompare typed{compare};
    return DVKRawCollPV::Compare(first.m_coll, second.m_coll, &CompareThroughContext, &typed);
}
