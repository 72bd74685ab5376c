// The host's typed list of CSEString pointers, positions 1..Size(); it never deletes the strings.
#ifndef DVKLISTPTRCSESTRING_H
#define DVKLISTPTRCSESTRING_H

#include "DVKRawCollPV.h"

class CSEString;

class DVKListPtrCSEString
{
public:
    // Orders two strings: negative, 0 or positive.
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

private:
    DVKRawCollPV m_coll;
};

#endif
