/// \file
/// The host's typed list of CSEString pointers, positions 1..Size(); it never deletes the strings.
/// A derived list that owns its strings (CSEWrapperStringVector) takes them in and lets them go
/// through two hooks, which every operation below calls, so that ownership holds whichever
/// operation is used, also through a reference to this class.
#ifndef DVKLISTPTRCSESTRING_H
#define DVKLISTPTRCSESTRING_H

#include "DVKRawCollPV.h"

class CSEString;

/// The host's typed list of CSEString pointers, positions 1..Size(); it never deletes the strings. A derived
/// list that owns its strings (CSEWrapperStringVector) takes them in and lets them go through two hooks,
/// which every operation below calls, so that ownership holds whichever operation is used, also through a
/// reference to this class.
class DVKListPtrCSEString
{
public:
    /// Orders two strings: negative, 0 or positive.
    typedef int (*CompareFunction)(const CSEString* left, const CSEString* right);

    explicit DVKListPtrCSEString(int dimension = 0);
    DVKListPtrCSEString(const DVKListPtrCSEString& other);
    DVKListPtrCSEString(CSEString* const* values, int count);
    virtual ~DVKListPtrCSEString();
    DVKListPtrCSEString& operator=(const DVKListPtrCSEString& other);

    int Append(CSEString* value);
    int Append(const DVKListPtrCSEString& other);
    int InsertAt(int position, CSEString* value);
    int Size() const;
    int Size(int newSize);
    CSEString*& operator[](int position);
    CSEString* operator[](int position) const;
    int Locate(const CSEString* value, int start = 1) const;
    int RemoveValue(const CSEString* value);
    int Remove(const DVKListPtrCSEString& values);
    int RemovePosition(int position);
    int RemovePosition(int position, int count);
    void RemoveAll(DVKCollec::MemoryHandling memory = DVKCollec::KeepMemory);
    int RemoveNulls();
    int RemoveDuplicates();
    bool operator==(const DVKListPtrCSEString& other) const;
    bool operator!=(const DVKListPtrCSEString& other) const;
    int Swap(int first, int second);
    void QuickSort(CompareFunction compare);
    int FillArray(CSEString** array) const;
    int NbOccur(const CSEString* value) const;

    static int Intersection(const DVKListPtrCSEString& first, const DVKListPtrCSEString& second,
                            DVKListPtrCSEString& result);
    static int Compare(const DVKListPtrCSEString& first, const DVKListPtrCSEString& second,
                       CompareFunction compare);

protected:
    /// What the list stores for a value that comes in: the value itself here.
    virtual CSEString* Admit(CSEString* value);
    /// Called for every value that leaves the list (removed, cut off or replaced by assignment):
    /// nothing to do here.
    virtual void Release(CSEString* value);

private:
    /// Removes count values from position first on (as RemovePosition) and releases them.
    int RemoveRange(int first, int count);
    /// Makes the list hold the admitted values, releasing its own; values may be this list's own.
    void ReplaceWith(const DVKRawCollPV& values);

    DVKRawCollPV m_coll;
};

#endif
