// Lock state comes from "userlockstatus"; locking and unlocking go through "lock-unlock" with the
// objects to change as roots of the request.
#include "DesignLocks.h"

#include <algorithm>
#include <unordered_map>

#include <QorviCSECommon.h>

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

bool IsLocked(const CSEObjectInfo& object)
{
    return object.lock == u"true";
}

// The service's result, or why there is none.
std::string Refusal(CSECommand& command)
{
    CSEResponse* response = command.GetResponseObject();
    const std::string result = response != nullptr ? Utf8(response->GetResult()) : std::string();
    if (result == "success")
        return std::string();
    const std::string reason = response != nullptr ? Utf8(response->GetReason()) : std::string();
    return !reason.empty() ? reason : result.empty() ? "its answer could not be read (see the library log)"
                                                     : "no reason given";
}

void Print(const std::vector<std::vector<std::string>>& rows, std::FILE* out)
{
    for (const std::string& line : DesignLocks::Table(rows))
        std::fprintf(out, "  %s\n", line.c_str());
}

const char* ActionName(DesignLocks::Action action)
{
    return action == DesignLocks::Action::Lock ? "lock" : action == DesignLocks::Action::Unlock ? "unlock" : "lock status";
}

// Characters, not bytes, of a UTF-8 text: what the terminal's columns count.
std::size_t Columns(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::vector<std::string> DesignLocks::Table(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], Columns(row[i]));
    }
    std::vector<std::string> lines;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += (i == 0 ? "" : "  ") + row[i] +
                    (i + 1 < row.size() ? std::string(widths[i] - Columns(row[i]), ' ') : "");
        lines.push_back(line);
        if (lines.size() == 1) {
            std::size_t total = 0;
            for (std::size_t i = 0; i < widths.size(); ++i)
                total += widths[i] + (i == 0 ? 0 : 2);
            lines.push_back(std::string(total, '-'));
        }
    }
    return lines;
}

DesignLocks::Outcome DesignLocks::Status(const CSEObjectInfoVector& objects, CSEObjectInfoVector& answered,
                                         std::vector<std::string>& holders, std::string& error)
{
    CSEUserLockStatusCmd command;
    CSEObjectInfoVector asked;
    for (int i = 0; i < objects.size(); ++i) {
        asked.push_back(objects[i]);
        CSEObjectInfo& object = asked[asked.size() - 1];
        object.success = u"true"; // the request stops at the first object not marked
        // One file per object: a design of several formats is asked for by its first.
        const std::string files = Utf8(object.fileName);
        object.fileName = CSEString(files.substr(0, files.find('|')).c_str());
    }
    command.AddObjectList(asked);
    CSEString thinResponse;
    if (command.Execute(thinResponse) != CSE_SUCCESS)
        return Outcome::NoAnswer;
    const std::string refusal = Refusal(command);
    if (!refusal.empty()) {
        error = "lock status refused: " + refusal;
        return Outcome::Failed;
    }
    command.GetObjectInfoListFromResponse(answered);
    // The holder is in the answer but not in the library's records.
    CSEXMLPacket* answer = command.GetResponseObject()->GetResponsePacket();
    for (int i = 0; i < answered.size(); ++i) {
        CSEString holder;
        if (answer != nullptr)
            answer->getAttributeValueAt(u"//response/info/cadobjectlist/cadobject", i, u"lockedby", holder);
        holders.push_back(IsLocked(answered[i]) ? Utf8(holder) : std::string());
    }
    return Outcome::Succeeded;
}

DesignLocks::Outcome DesignLocks::Run(Action action, const CSEObjectInfoVector& objects, const std::string& user,
                                      std::FILE* out, std::string& error)
{
    std::fprintf(out, "%s: %d objects\n", ActionName(action), objects.size());
    CSEObjectInfoVector states;
    std::vector<std::string> holders;
    const Outcome asked = Status(objects, states, holders, error);
    if (asked != Outcome::Succeeded)
        return asked;
    if (action == Action::Status) {
        std::vector<std::vector<std::string>> rows = {{"object", "file", "folder", "version", "locked by"}};
        for (int i = 0; i < states.size(); ++i)
            rows.push_back({Utf8(states[i].name), Utf8(states[i].fileName), Utf8(states[i].dirName),
                            Utf8(states[i].qxVersion), holders[i].empty() ? "-" : holders[i]});
        Print(rows, out);
        if (states.size() != objects.size()) {
            error = "the service answered for " + std::to_string(states.size()) + " of " +
                    std::to_string(objects.size()) + " objects";
            return Outcome::Failed;
        }
        return Outcome::Succeeded;
    }

    const bool lock = action == Action::Lock;
    std::unordered_map<std::string, std::string> holderById;
    for (int i = 0; i < states.size(); ++i)
        holderById[Utf8(states[i].cadId)] = holders[i];
    // A lock is asked for whatever the objects' state ("prelock"); the service unlocks when the
    // user holds every object sent, so an unlock sends only those.
    CSELockUnlockCmd command;
    command.SetPrelock(lock ? 1 : 0);
    int sent = 0;
    for (int i = 0; i < objects.size(); ++i) {
        const auto state = holderById.find(Utf8(objects[i].cadId));
        const bool held = state != holderById.end() && state->second == user;
        if (held == lock)
            continue;
        CSEObjectInfo object = objects[i];
        object.selected = u"true";
        try {
            command.CreateRootObject(object);
        } catch (const CSEException& refusal) {
            error = "the " + std::string(ActionName(action)) + " request could not be made: " + Utf8(refusal.GetMsg());
            return Outcome::Failed;
        }
        ++sent;
    }
    if (sent == 0) {
        std::fprintf(out, "  %s holds %s of the objects\n", user.c_str(), lock ? "every one" : "none");
        return Outcome::Succeeded;
    }
    CSEString thinResponse;
    if (command.Execute(thinResponse) != CSE_SUCCESS)
        return Outcome::NoAnswer;
    const std::string refusal = Refusal(command);
    if (!refusal.empty()) {
        error = std::string(ActionName(action)) + " refused: " + refusal;
        return Outcome::Failed;
    }
    CSEObjectInfoVector changed;
    command.GetCheckedoutObjListFromResponse(changed); // failures are shown through the message manager
    std::vector<std::vector<std::string>> rows = {{"object", "file", "version", "locked", "was locked"}};
    int done = 0;
    for (int i = 0; i < changed.size(); ++i) {
        rows.push_back({Utf8(changed[i].name), Utf8(changed[i].fileName), Utf8(changed[i].qxVersion),
                        IsLocked(changed[i]) ? "yes" : "no", changed[i].isPrevLocked == u"true" ? "yes" : "no"});
        if (IsLocked(changed[i]) == lock)
            ++done;
    }
    Print(rows, out);
    std::fprintf(out, "  %sed %d of %d objects sent\n", lock ? "lock" : "unlock", done, sent);
    if (done != sent) {
        error = std::to_string(sent - done) + " of " + std::to_string(sent) + " objects could not be " +
                (lock ? "locked" : "unlocked");
        return Outcome::Failed;
    }
    return Outcome::Succeeded;
}
