// Reads a manifest through the library's XML packet and checks it as the check-in needs it: every
// name present and unique, files plain names, relationships between listed designs without a loop.
#include "AssemblyManifest.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <set>
#include <unordered_map>

#include <QorviCSECommon.h>

namespace {

const char16_t kDesigns[] = u"/manifest/design";
const char16_t kUses[] = u"/manifest/relationship";
const int kMaxQuantity = 999999999;

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

std::string Attribute(CSEXMLPacket& packet, const CSEString& path, int index, const char16_t* name)
{
    CSEString value;
    packet.getAttributeValueAt(path, index, CSEString(name), value);
    return Utf8(value);
}

CSEString Nth(const char16_t* path, int index)
{
    return CSEString(path) + u"[" + CSEString(std::to_string(index + 1).c_str()) + u"]";
}

// The name/value pairs of the "attribute" children of the element; false when a name is empty or
// given twice.
bool ReadPairs(CSEXMLPacket& packet, const CSEString& element, AssemblyManifest::Pairs& pairs)
{
    const CSEString path = element + u"/attribute";
    const int count = packet.getNodeCount(path);
    std::set<std::string> names;
    for (int i = 0; i < count; ++i) {
        pairs.emplace_back(Attribute(packet, path, i, u"name"), Attribute(packet, path, i, u"value"));
        if (pairs.back().first.empty() || !names.insert(pairs.back().first).second)
            return false;
    }
    return true;
}

// A file name that stays inside its folder and can be listed with others ("|" separates them).
bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/|") == std::string::npos;
}

bool ParseQuantity(const std::string& text, int& quantity)
{
    if (text.empty()) {
        quantity = 1;
        return true;
    }
    if (text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    quantity = std::atoi(text.c_str());
    return quantity >= 1 && quantity <= kMaxQuantity;
}

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

} // namespace

bool AssemblyManifest::Load(const std::string& path, std::string& error)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        error = "the manifest " + Quoted(path) + " cannot be found";
        return false;
    }
    const std::string absolute = real;
    std::free(real);
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (!packet || packet->loadXMLFile(CSEString(absolute.c_str())) != 0) {
        error = "the manifest " + Quoted(path) + " cannot be read as XML (see the library log)";
        return false;
    }
    m_filesFolder = absolute.substr(0, absolute.rfind('/') + 1) + "files";
    if (!Read(*packet, error)) {
        error = "the manifest " + Quoted(path) + ": " + error;
        return false;
    }
    return true;
}

bool AssemblyManifest::Parse(const std::string& text, const std::string& filesFolder, std::string& error)
{
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (!packet || packet->loadXMLinMemory(CSEString(text.c_str())) != 0) {
        error = "the manifest is not XML";
        return false;
    }
    m_filesFolder = filesFolder;
    return Read(*packet, error);
}

bool AssemblyManifest::Read(CSEXMLPacket& packet, std::string& error)
{
    m_designs.clear();
    m_uses.clear();
    CSEString root;
    if (packet.getRootNodeName(root) != 0 || Utf8(root) != "manifest") {
        error = "its root element must be 'manifest'";
        return false;
    }
    const CSEString designs(kDesigns);
    const int designCount = packet.getNodeCount(designs);
    std::unordered_map<std::string, int>& byName = m_byName;
    byName.clear();
    for (int i = 0; i < designCount; ++i) {
        Design design;
        design.name = Attribute(packet, designs, i, u"name");
        design.type = Attribute(packet, designs, i, u"type");
        design.serverType = Attribute(packet, designs, i, u"servertype");
        design.revision = Attribute(packet, designs, i, u"revision");
        if (design.revision.empty())
            design.revision = "A";
        const std::string where = "design " + std::to_string(i + 1);
        if (design.name.empty() || design.type.empty() || design.serverType.empty()) {
            error = where + " needs a name, a type and a servertype";
            return false;
        }
        if (!byName.emplace(design.name, i).second) {
            error = where + " repeats the name " + Quoted(design.name);
            return false;
        }
        const CSEString files = Nth(kDesigns, i) + u"/file";
        const int fileCount = packet.getNodeCount(files);
        for (int f = 0; f < fileCount; ++f) {
            design.files.push_back(Attribute(packet, files, f, u"name"));
            if (!IsPlainFileName(design.files.back())) {
                error = where + " (" + Quoted(design.name) + ") lists the file " + Quoted(design.files.back()) +
                        "; a file is named without folder, '|' or '/'";
                return false;
            }
        }
        if (design.files.empty()) {
            error = where + " (" + Quoted(design.name) + ") lists no file";
            return false;
        }
        if (!ReadPairs(packet, Nth(kDesigns, i), design.attributes)) {
            error = where + " (" + Quoted(design.name) + ") has an attribute without a name or one named twice";
            return false;
        }
        m_designs.push_back(std::move(design));
    }
    if (m_designs.empty()) {
        error = "it lists no design";
        return false;
    }
    const CSEString uses(kUses);
    const int useCount = packet.getNodeCount(uses);
    for (int i = 0; i < useCount; ++i) {
        Use use;
        const std::string where = "relationship " + std::to_string(i + 1);
        const std::string parent = Attribute(packet, uses, i, u"parent");
        const std::string child = Attribute(packet, uses, i, u"child");
        use.parent = Find(parent);
        use.child = Find(child);
        if (use.parent < 0 || use.child < 0) {
            error = where + " names " + Quoted(use.parent < 0 ? parent : child) + ", which no design is";
            return false;
        }
        use.relationship = Attribute(packet, uses, i, u"relationship");
        use.topNode = Attribute(packet, uses, i, u"topnode");
        if (use.topNode.empty())
            use.topNode = "dpt";
        if (use.relationship.empty()) {
            error = where + " needs a relationship";
            return false;
        }
        const std::string quantity = Attribute(packet, uses, i, u"quantity");
        if (!ParseQuantity(quantity, use.quantity)) {
            error = where + " has the quantity " + Quoted(quantity) + "; it must be a whole number from 1 to " +
                    std::to_string(kMaxQuantity);
            return false;
        }
        if (!ReadPairs(packet, Nth(kUses, i), use.attributes)) {
            error = where + " has an attribute without a name or one named twice";
            return false;
        }
        for (const auto& pair : use.attributes) {
            if (pair.first == "Quantity") {
                error = where + " has the attribute 'Quantity'; give it as quantity=\"N\"";
                return false;
            }
        }
        m_uses.push_back(std::move(use));
    }
    return CheckNoLoop(error);
}

int AssemblyManifest::Find(const std::string& name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? -1 : found->second;
}

std::vector<int> AssemblyManifest::TopLevel() const
{
    std::vector<char> placed(m_designs.size(), 0);
    for (const Use& use : m_uses)
        placed[use.child] = 1;
    std::vector<int> top;
    for (int i = 0; i < static_cast<int>(m_designs.size()); ++i)
        if (!placed[i])
            top.push_back(i);
    return top;
}

std::vector<std::vector<int>> AssemblyManifest::UsesByParent() const
{
    std::vector<std::vector<int>> byParent(m_designs.size());
    for (int i = 0; i < static_cast<int>(m_uses.size()); ++i)
        byParent[m_uses[i].parent].push_back(i);
    return byParent;
}

std::vector<int> AssemblyManifest::Reached(int design) const
{
    const std::vector<std::vector<int>> byParent = UsesByParent();
    std::vector<char> seen(m_designs.size(), 0);
    std::vector<int> reached, pending{design};
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        if (seen[next])
            continue;
        seen[next] = 1;
        reached.push_back(next);
        for (auto use = byParent[next].rbegin(); use != byParent[next].rend(); ++use)
            pending.push_back(m_uses[*use].child);
    }
    return reached;
}

bool AssemblyManifest::CheckNoLoop(std::string& error) const
{
    // Depth first without recursion: 0 not visited, 1 on the current path, 2 done.
    const std::vector<std::vector<int>> byParent = UsesByParent();
    std::vector<char> state(m_designs.size(), 0);
    for (int start = 0; start < static_cast<int>(m_designs.size()); ++start) {
        if (state[start] != 0)
            continue;
        std::vector<std::pair<int, std::size_t>> path{{start, 0}};
        state[start] = 1;
        while (!path.empty()) {
            auto& [design, next] = path.back();
            if (next == byParent[design].size()) {
                state[design] = 2;
                path.pop_back();
                continue;
            }
            const int child = m_uses[byParent[design][next++]].child;
            if (state[child] == 1) {
                error = "the design " + Quoted(m_designs[child].name) + " contains itself";
                return false;
            }
            if (state[child] == 0) {
                state[child] = 1;
                path.emplace_back(child, 0);
            }
        }
    }
    return true;
}
