// CSEXMLIdIndex: which elements of a packet's document carry each identifier ("iGSSLID"), so that
// an element is found by its identifier without searching the document.
#ifndef QORVI_XML_CSEXMLIDINDEX_H
#define QORVI_XML_CSEXMLIDINDEX_H

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "host/DVKXmlNode.h"

// The index must see every change: an element is added when it enters the document or gets its
// identifier, and removed before its identifier changes or before it leaves the document (a
// removed node is freed). Only canonical decimal texts ("%d") are indexed, because only they match
// the node path of an identifier.
class CSEXMLIdIndex
{
public:
    enum class Answer
    {
        None,  // no element carries the identifier
        One,   // exactly one element carries it
        Unsure // several carry it, or the index lost track: search the document instead
    };

    static const char16_t* AttributeName() { return u"iGSSLID"; }
    // True when text is the canonical decimal text of an int ("7", "-3"; not "07", "+7", "-0").
    static bool ParseIdentifier(const std::u16string& text, int& identifier);
    // The node path of the element carrying the identifier: "//*[@iGSSLID='7']".
    static std::u16string PathOf(int identifier);
    // True when path is exactly the node path of an identifier.
    static bool ParsePath(const std::u16string& path, int& identifier);

    void Clear();
    void Add(const dvk::XmlNode& element);
    void Remove(const dvk::XmlNode& element);
    // The node and its descendant elements.
    void AddSubtree(const dvk::XmlNode& top);
    void RemoveSubtree(const dvk::XmlNode& top);
    Answer Find(int identifier, dvk::XmlNode& element) const;

private:
    struct Entry
    {
        dvk::XmlNode first;
        // Further carriers, hashed so that removing many carriers of one identifier stays linear.
        std::unordered_set<dvk::XmlNode, dvk::XmlNodeHash> others;
    };

    std::unordered_map<int, Entry> m_entries;
    bool m_bTrusted = true;
};

#endif
