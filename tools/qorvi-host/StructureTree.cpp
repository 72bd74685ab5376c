// Children are found through a map of cadids, so that building the tree is linear in the answer.
#include "StructureTree.h"

#include <algorithm>
#include <array>

#include <CSEObjectInfo.h>
#include <CSERelationship.h>

#include "TextTable.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

std::string FileColumn(const std::string& fileNames)
{
    std::string column;
    for (const char c : fileNames)
        column += c == '|' ? std::string(", ") : std::string(1, c);
    return column;
}

} // namespace

std::vector<StructureTree::Line> StructureTree::Lines(const CSEObjectInfoVector& objects,
                                                      const CSERelationshipVector& relationships,
                                                      const std::vector<std::string>& topLevel,
                                                      const std::vector<std::string>& ridOrder)
{
    std::unordered_map<std::string, int> byCadId;
    for (int i = 0; i < objects.size(); ++i)
        byCadId.emplace(Utf8(objects[i].cadId), i);
    const auto indexOf = [&byCadId](const std::string& cadid) {
        const auto found = byCadId.find(cadid);
        return found == byCadId.end() ? -1 : found->second;
    };
    std::unordered_map<std::string, std::size_t> position;
    for (std::size_t i = 0; i < ridOrder.size(); ++i)
        position.emplace(ridOrder[i], i);

    struct Use
    {
        std::size_t position;
        std::string rid;
        int child;
        int quantity;
    };
    std::vector<std::vector<Use>> children(static_cast<std::size_t>(objects.size()));
    for (int r = 0; r < relationships.size(); ++r) {
        const CSERelationship& relationship = relationships[r];
        const int parent = indexOf(Utf8(relationship.parentCadId));
        const int child = indexOf(Utf8(relationship.childCadId));
        if (parent < 0 || child < 0)
            continue;
        const std::string rid = Utf8(relationship.rid);
        const auto at = position.find(rid);
        children[static_cast<std::size_t>(parent)].push_back(
            Use{at == position.end() ? ridOrder.size() : at->second, rid, child, relationship.quantity});
    }
    for (std::vector<Use>& uses : children) {
        std::sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) {
            return a.position != b.position ? a.position < b.position : a.rid < b.rid;
        });
    }

    std::vector<Line> lines;
    std::vector<char> shown(children.size(), 0);
    std::vector<char> expanded(children.size(), 0);
    struct Frame
    {
        int object;
        int depth;
        int quantity;
    };
    std::vector<Frame> stack;
    const auto walk = [&](int root, bool firstOutside) {
        stack.push_back(Frame{root, 0, 1});
        while (!stack.empty()) {
            const Frame frame = stack.back();
            stack.pop_back();
            const std::size_t object = static_cast<std::size_t>(frame.object);
            const bool repeated = expanded[object] && !children[object].empty();
            lines.push_back(Line{frame.object, frame.depth, frame.quantity, repeated, firstOutside && frame.depth == 0});
            shown[object] = 1;
            if (expanded[object])
                continue;
            expanded[object] = 1;
            for (auto use = children[object].rbegin(); use != children[object].rend(); ++use)
                stack.push_back(Frame{use->child, frame.depth + 1, use->quantity});
        }
    };
    for (const std::string& cadid : topLevel) {
        const int root = indexOf(cadid);
        if (root >= 0 && !shown[static_cast<std::size_t>(root)])
            walk(root, false);
    }
    bool outside = false;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (!shown[i]) {
            walk(static_cast<int>(i), !outside);
            outside = true;
        }
    }
    return lines;
}

void StructureTree::Print(const std::vector<Line>& lines, const CSEObjectInfoVector& objects,
                          const std::unordered_map<std::string, std::string>& problems, std::FILE* out)
{
    constexpr std::size_t kColumns = 5;
    std::vector<std::array<std::string, kColumns>> rows;
    rows.push_back({"object", "type", "version", "lock", "file"});
    for (const Line& line : lines) {
        const CSEObjectInfo& object = objects[line.object];
        std::string name = std::string(2 * static_cast<std::size_t>(line.depth), ' ') + Utf8(object.name);
        if (line.quantity > 1)
            name += " x" + std::to_string(line.quantity);
        if (line.repeated)
            name += " (as above)";
        rows.push_back({name, Utf8(object.type), Utf8(object.qxVersion), object.lock == u"true" ? "locked" : "-",
                        FileColumn(Utf8(object.fileName))});
    }
    std::array<std::size_t, kColumns> widths{};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], TextTable::DisplayWidth(row[c]));
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Line* line = r == 0 ? nullptr : &lines[r - 1];
        if (line != nullptr && line->firstOutside)
            std::fprintf(out, "not in the structure:\n");
        std::string text;
        for (std::size_t c = 0; c < kColumns; ++c) {
            text += rows[r][c];
            if (c + 1 < kColumns)
                text.append(widths[c] - TextTable::DisplayWidth(rows[r][c]) + 2, ' ');
        }
        if (line != nullptr) {
            const auto problem = problems.find(Utf8(objects[line->object].cadId));
            if (problem != problems.end())
                text += "  FAILED: " + problem->second;
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        std::fprintf(out, "  %s\n", text.c_str());
    }
}
