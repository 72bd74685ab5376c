// CSEResponseList: one list of elements of a response packet, read by position, and the tables of
// (XML attribute, field) pairs that fill records from its elements.
#ifndef QORVI_DESIGNDATA_CSERESPONSELIST_H
#define QORVI_DESIGNDATA_CSERESPONSELIST_H

#include <vector>

#include "CSEAttribute.h"
#include "CSEString.h"

class CSEResponse;
class CSEXMLPacket;

template <class Record>
struct CSEResponseField
{
    const char16_t* attribute;
    CSEString Record::*field;
};

// The packet answers a read of the path it read last from that path's result, so reading the
// elements at positions 0, 1, 2, ... costs no search of the document per element. Reading another
// path in between is fine: the list's result is remembered.
class CSEResponseList
{
public:
    CSEResponseList(CSEXMLPacket& packet, const CSEString& path);

    // The response's packet when it holds an answer (a document); null before any answer was read.
    static CSEXMLPacket* AnswerOf(CSEResponse* response);

    int Count() const { return m_iCount; }
    // The attribute of element index (from 0); empty when it or the attribute is absent.
    CSEString Attribute(int index, const CSEString& name) const;
    // Each field of the table (a range of CSEResponseField<Record>) from its attribute.
    template <class Record, class Fields>
    void ReadFields(int index, Record& record, const Fields& fields) const
    {
        for (const CSEResponseField<Record>& field : fields)
            record.*(field.field) = Attribute(index, CSEString(field.attribute));
    }
    // The name/value pairs of the "attribute" children of element index, in document order.
    std::vector<CSEAttribute> Pairs(int index) const;
    // A path that selects element index alone.
    CSEString PathOf(int index) const;

private:
    CSEXMLPacket& m_packet;
    CSEString m_sPath;
    int m_iCount;
    // All elements share one parent, so "path[k]" is the k-th of the list (the usual response);
    // otherwise "(path)[k]" is needed, which the packet evaluates afresh.
    bool m_bOneParent;
};

#endif
