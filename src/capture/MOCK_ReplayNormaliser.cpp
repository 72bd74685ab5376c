// Normalisation of replayed and captured documents: dictionaries by id, the structure tree, sorting.
#include "capture/MOCK_ReplayNormaliser.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "CSEString.h"
#include "commands/CSERequestMasking.h"
#include "host/DVKHashDico.h"
#include "capture/MOCK_ReplayOrdering.h"

namespace {

// Sets the condition text and answers false, for "return Broken(...)".
bool Broken(std::string& brokenCondition, const char* condition)
{
    brokenCondition = condition;
    return false;
}

bool IsPasswordName(const std::u16string& name)
{
    static const char16_t kPassword[] = u"password";
    if (name.size() != 8)
        return false;
    for (std::size_t i = 0; i < 8; ++i) {
        const char16_t c = name[i] >= u'A' && name[i] <= u'Z' ? static_cast<char16_t>(name[i] - u'A' + u'a') : name[i];
        if (c != kPassword[i])
            return false;
    }
    return true;
}

std::u16string NameValue(std::u16string name, const std::u16string& value)
{
    const bool masked = IsPasswordName(name);
    name += u'=';
    name += masked ? std::u16string(CSERequestMasking::kMaskedValue) : value;
    return name;
}

dvk::XmlNode FirstChildElement(const dvk::XmlNode& parent, const std::u16string& name)
{
    for (dvk::XmlNode child = parent.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.Name() == name)
            return child;
    }
    return dvk::XmlNode();
}

// The XML attributes other than the excluded ones, as sorted "name=value" texts.
MOCK_TextList OtherAttributes(const dvk::XmlNode& element, std::initializer_list<const char16_t*> excluded)
{
    std::vector<dvk::XmlAttribute> attributes = element.Attributes();
    MOCK_TextList texts;
    texts.reserve(attributes.size());
    for (dvk::XmlAttribute& attribute : attributes) {
        if (std::none_of(excluded.begin(), excluded.end(),
                         [&](const char16_t* name) { return attribute.name == name; }))
            texts.push_back(NameValue(std::move(attribute.name), attribute.value));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

// Calls take(name, value) for each "attribute" child with its "name" and "value" texts.
template <typename Take>
void ForEachAttributeChild(const dvk::XmlNode& element, Take take)
{
    for (dvk::XmlNode child = element.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.Name() == u"attribute")
            take(FirstChildElement(child, u"name").Text(), FirstChildElement(child, u"value").Text());
    }
}

// The single element of that name below the document element (null when there is none); false
// when there are several.
int ChildElementCount(const dvk::XmlNode& parent)
{
    int count = 0;
    for (dvk::XmlNode child = parent.FirstChild(); child; child = child.NextSibling())
        count += child.IsElement() ? 1 : 0;
    return count;
}

bool SingleElement(const dvk::XmlNode& documentElement, const char16_t* name, dvk::XmlNode& found)
{
    const std::vector<dvk::XmlNode> elements = documentElement.ElementsByTagName(name);
    found = elements.empty() ? dvk::XmlNode() : elements.front();
    return elements.size() <= 1;
}

void ReadRelationship(const dvk::XmlNode& element, MOCK_Relationship& relationship)
{
    relationship.RID = element.GetAttribute(u"rid");
    relationship.type = element.GetAttribute(u"cadrelationship");
    relationship.QXID = element.GetAttribute(u"qxid");
    relationship.xmlAttributes = OtherAttributes(element, {u"rid", u"iGSSLID"});
    std::u16string qxidAttribute;
    ForEachAttributeChild(element, [&](const std::u16string& name, const std::u16string& value) {
        if (name == u"UUID")
            relationship.UUID = value;
        else if (name == u"componentID")
            relationship.name = value;
        else if (name == u"qxid")
            qxidAttribute = value;
        else
            relationship.attributes.push_back(NameValue(name, value));
    });
    if (relationship.QXID.empty())
        relationship.QXID = qxidAttribute;
    std::sort(relationship.attributes.begin(), relationship.attributes.end());
}

void ReadObject(const dvk::XmlNode& element, MOCK_CADObject& object)
{
    object.CADID = element.GetAttribute(u"cadid");
    object.type = element.GetAttribute(u"type");
    object.dirname = element.GetAttribute(u"dirname");
    object.filename = element.GetAttribute(u"filename");
    object.xmlAttributes = OtherAttributes(element, {u"cadid", u"iGSSLID", u"parentid"});
    ForEachAttributeChild(element, [&](const std::u16string& name, const std::u16string& value) {
        if (name != u"sys:Version")
            object.attributes.push_back(NameValue(name, value));
    });
    std::sort(object.attributes.begin(), object.attributes.end());
}

class Normaliser
{
public:
    Normaliser(MOCK_MessageRoot& root, std::string& broken) : m_root(root), m_broken(broken) {}

    bool Run(const dvk::XmlNode& documentElement)
    {
        if (!ReadDictionaries(documentElement))
            return false;
        ReadRoot(documentElement);
        dvk::XmlNode lql;
        if (!SingleElement(documentElement, u"lql", lql))
            return Broken(m_broken, "SUCCEEDED(hr) && lql_list_length <= 1");
        m_root.lql = lql.Text();
        dvk::XmlNode structure;
        if (!SingleElement(documentElement, u"structure", structure))
            return Broken(m_broken, "SUCCEEDED(hr) && structure_length <= 1");
        if (structure) {
            if (!BuildStructure(FirstChildElement(structure, u"active")))
                return false;
        } else {
            for (const MOCK_CADObject& object : m_root.objects)
                m_root.rootObjects.push_back(&object);
            m_root.relationshipsWithoutStructure = !m_root.relationships.empty();
        }
        return SortBottomUp();
    }

private:
    bool ReadDictionaries(const dvk::XmlNode& documentElement)
    {
        dvk::XmlNode list;
        if (!SingleElement(documentElement, u"relationshiplist", list))
            return Broken(m_broken, "SUCCEEDED(hr) && check_length <= 1");
        m_relationships.Reserve(ChildElementCount(list));
        for (dvk::XmlNode child = list.FirstChild(); child; child = child.NextSibling()) {
            if (!child.IsElement() || child.Name() != u"relationship")
                continue;
            m_root.relationships.emplace_back();
            MOCK_Relationship& relationship = m_root.relationships.back();
            ReadRelationship(child, relationship);
            if (relationship.RID.empty())
                return Broken(m_broken, "relationship->RID != \"\"");
            if (!m_relationships.Insert(DVKUnicodeString(relationship.RID), &relationship))
                return Broken(m_broken, "!oRelationshipMap.Locate(relationship->RID)");
        }
        if (!SingleElement(documentElement, u"cadobjectlist", list))
            return Broken(m_broken, "SUCCEEDED(hr) && check_length <= 1");
        m_objects.Reserve(ChildElementCount(list));
        for (dvk::XmlNode child = list.FirstChild(); child; child = child.NextSibling()) {
            if (!child.IsElement() || child.Name() != u"cadobject")
                continue;
            m_root.objects.emplace_back();
            MOCK_CADObject& object = m_root.objects.back();
            object.index = m_root.objects.size() - 1;
            ReadObject(child, object);
            // Objects named only by name and folder (a checkout) are compared as they stand; the
            // structure cannot refer to them.
            if (object.CADID.empty())
                continue;
            if (!m_objects.Insert(DVKUnicodeString(object.CADID), &object))
                return Broken(m_broken, "!oCADObjectMap.Locate(cadobject->CADID)");
        }
        return true;
    }

    void ReadRoot(const dvk::XmlNode& element)
    {
        m_root.tag = element.Name();
        m_root.cname = element.GetAttribute(u"cname");
        m_root.cse = element.GetAttribute(u"cse");
        m_root.csever = element.GetAttribute(u"csever");
        m_root.ver = element.GetAttribute(u"ver");
        m_root.iid = element.GetAttribute(u"iid");
        m_root.addn = element.GetAttribute(u"addn");
        m_root.loglevel = element.GetAttribute(u"loglevel");
        m_root.focusbrowser = element.GetAttribute(u"focusbrowser");
        m_root.otherAttributes = OtherAttributes(element, {u"cname", u"cse", u"csever", u"ver", u"iid", u"addn",
                                                           u"loglevel", u"focusbrowser", u"username"});
    }

    MOCK_CADObject* Object(const dvk::XmlNode& element) const
    {
        return static_cast<MOCK_CADObject*>(m_objects.Locate(DVKUnicodeString(element.GetAttribute(u"cadid"))));
    }

    // Each object element of the structure adds its child objects to the object's record; nested
    // elements are walked with a stack, however deep the structure is.
    bool BuildStructure(const dvk::XmlNode& active)
    {
        std::vector<std::pair<dvk::XmlNode, MOCK_CADObject*>> pending;
        for (dvk::XmlNode element = active.FirstChild(); element; element = element.NextSibling()) {
            if (!element.IsElement() || element.Name() != u"cadobject")
                continue;
            MOCK_CADObject* object = Object(element);
            if (object == nullptr)
                return Broken(m_broken, "obj");
            m_root.rootObjects.push_back(object);
            pending.emplace_back(element, object);
        }
        while (!pending.empty()) {
            const dvk::XmlNode element = pending.back().first;
            MOCK_CADObject* parent = pending.back().second;
            pending.pop_back();
            for (dvk::XmlNode child = element.FirstChild(); child; child = child.NextSibling()) {
                if (!child.IsElement() || child.Name() == u"relationship")
                    continue;
                if (child.Name() != u"cadobject")
                    return Broken(m_broken, "TagName == \"relationship\"");
                MOCK_CADObject* object = Object(child);
                if (object == nullptr)
                    return Broken(m_broken, "obj");
                const dvk::XmlNode link = FirstChildElement(child, u"relationship");
                if (!link)
                    return Broken(m_broken, "SUCCEEDED(hr) && rel_count >= 1");
                const MOCK_Relationship* relationship = static_cast<const MOCK_Relationship*>(
                    m_relationships.Locate(DVKUnicodeString(link.GetAttribute(u"rid"))));
                if (relationship == nullptr)
                    return Broken(m_broken, "rel");
                parent->children.push_back(MOCK_Child{relationship, object});
                pending.emplace_back(child, object);
            }
        }
        return true;
    }

    // Sorts every object's children after those of its descendants (their order decides the
    // parent's), then the roots. An object found among its own descendants makes the document broken.
    bool SortBottomUp()
    {
        enum State { Unseen, Open, Done };
        std::vector<State> states(m_root.objects.size(), Unseen);
        MOCK_ReplayOrdering ordering;
        const auto before = [&ordering](const MOCK_Child& left, const MOCK_Child& right) {
            return ordering.CompareChildren(left, right) < 0;
        };
        for (const MOCK_CADObject* root : m_root.rootObjects) {
            if (states[root->index] == Done)
                continue;
            std::vector<std::pair<MOCK_CADObject*, std::size_t>> path;
            path.emplace_back(const_cast<MOCK_CADObject*>(root), 0);
            states[root->index] = Open;
            while (!path.empty()) {
                MOCK_CADObject* object = path.back().first;
                const std::size_t next = path.back().second++;
                if (next < object->children.size()) {
                    const MOCK_CADObject* child = object->children[next].object;
                    State& state = states[child->index];
                    if (state == Open)
                        return Broken(m_broken, "!CADObjectContainsItself");
                    if (state == Unseen) {
                        state = Open;
                        path.emplace_back(const_cast<MOCK_CADObject*>(child), 0);
                    }
                    continue;
                }
                std::stable_sort(object->children.begin(), object->children.end(), before);
                states[object->index] = Done;
                path.pop_back();
            }
        }
        std::stable_sort(m_root.rootObjects.begin(), m_root.rootObjects.end(),
                         [&ordering](const MOCK_CADObject* left, const MOCK_CADObject* right) {
                             return ordering.CompareObjects(*left, *right) < 0;
                         });
        return true;
    }

    MOCK_MessageRoot& m_root;
    std::string& m_broken;
    DVKHashDico m_relationships;
    DVKHashDico m_objects;
};

} // namespace

bool MOCK_ReplayNormaliser::Normalise(const dvk::XmlNode& documentElement, MOCK_MessageRoot& root,
                                      std::string& brokenCondition)
{
    brokenCondition.clear();
    return Normaliser(root, brokenCondition).Run(documentElement);
}
