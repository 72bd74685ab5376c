// The normalised form of a request or response that replay compares: the message root, its objects
// with their children, and the relationships that link them. Identifiers are kept apart from the
// content so that two runs with different identifiers compare equal.
#ifndef QORVI_CAPTURE_MOCK_MESSAGEROOT_H
#define QORVI_CAPTURE_MOCK_MESSAGEROOT_H

#include <deque>
#include <string>
#include <vector>

typedef std::vector<std::u16string> MOCK_TextList; // sorted "name=value" texts

struct MOCK_Relationship
{
    std::u16string RID;
    std::u16string UUID;
    std::u16string type;
    std::u16string name;
    std::u16string QXID;
    MOCK_TextList xmlAttributes;
    MOCK_TextList attributes;
};

struct MOCK_CADObject;

// The relationship that links a child object to its parent, and the child.
struct MOCK_Child
{
    const MOCK_Relationship* relationship;
    const MOCK_CADObject* object;
};

struct MOCK_CADObject
{
    std::size_t index = 0; // position in MOCK_MessageRoot::objects
    std::u16string CADID;
    std::u16string type;
    std::u16string dirname;
    std::u16string filename;
    MOCK_TextList xmlAttributes;
    MOCK_TextList attributes;
    std::vector<MOCK_Child> children; // sorted once the document is normalised
};

struct MOCK_MessageRoot
{
    std::u16string tag;
    std::u16string cname;
    std::u16string cse;
    std::u16string csever;
    std::u16string ver;
    std::u16string iid;
    std::u16string addn;
    std::u16string loglevel;
    std::u16string focusbrowser;
    MOCK_TextList otherAttributes;
    std::vector<const MOCK_CADObject*> rootObjects; // sorted once the document is normalised
    std::u16string lql;
    // True when the document has relationships but no structure to place them in.
    bool relationshipsWithoutStructure = false;

    // Every record of the document; the lists above point into these.
    std::deque<MOCK_CADObject> objects;
    std::deque<MOCK_Relationship> relationships;
};

#endif
