// The update check: one table row per file the answer lists, updated or failed.
#include "UpdateCheck.h"

#include <QorviCSECommon.h>

#include "LocalDesignFile.h"
#include "TextTable.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

// The service's reason for each failed file, in the order of the failure list (the library's
// records do not carry it).
std::vector<std::string> FailureReasons(CSECommand& command)
{
    std::vector<std::string> reasons;
    CSEResponse* response = command.GetResponseObject();
    CSEXMLPacket* packet = response != nullptr ? response->GetResponsePacket() : nullptr;
    if (packet == nullptr)
        return reasons;
    const CSEString path(u"//response/info/errorfiles/cadobject");
    const int count = packet->getNodeCount(path);
    for (int k = 1; k <= count; ++k) {
        CSEString reason;
        packet->getNodeValue(path + u"[" + CSEString(std::to_string(k).c_str()) + u"]/message", reason);
        reasons.push_back(Utf8(reason));
    }
    return reasons;
}

std::string At(const std::vector<std::string>& texts, int index)
{
    return index < static_cast<int>(texts.size()) ? texts[index] : std::string();
}

void AddRows(TextTable& table, const char* state, const CSEObjectInfoVector& objects,
             const std::vector<std::string>& versions, const std::vector<std::string>& reasons)
{
    for (int i = 0; i < objects.size(); ++i)
        table.Add({state, Utf8(objects[i].fileName), Utf8(objects[i].dirName), Utf8(objects[i].downloadedPath),
                   At(versions, i), At(reasons, i)});
}

std::vector<std::string> Versions(const CSEObjectInfoVector& objects)
{
    std::vector<std::string> versions;
    for (int i = 0; i < objects.size(); ++i)
        versions.push_back(Utf8(objects[i].qxVersion));
    return versions;
}

} // namespace

DesignCheckout::Outcome UpdateCheck::Run(const std::vector<std::string>& files, std::FILE* out, std::string& error)
{
    CSEObjectInfoVector updated;
    CSEObjectInfoVector failed;
    std::vector<std::string> versions;
    std::vector<std::string> reasons;
    DesignCheckout::Outcome outcome;
    if (files.empty()) {
        std::fprintf(out, "update check: every file\n");
        CSECheckForUpdateAllCmd command;
        outcome = LocalDesignFile::Exchange(command, "the update check", error);
        updated = command.GetSuccessObjectInfoList();
        failed = command.GetFailureObjectInfoList();
        // The versions of the same list, which the success records leave out.
        CSEObjectInfoVector described;
        command.GetObjectsFromRespForUserExit(described);
        versions = Versions(described);
        reasons = FailureReasons(command);
    } else {
        std::fprintf(out, "update check: %zu files\n", files.size());
        CSECheckForUpdateCurrentCmd command;
        for (const std::string& file : files) {
            CSEObjectInfo object;
            if (!LocalDesignFile::Record(file, object, error))
                return DesignCheckout::Outcome::Failed;
            command.AddCADObjectNode(object);
        }
        outcome = LocalDesignFile::Exchange(command, "the update check", error);
        updated = command.GetObjectInfoList();
        failed = command.GetFailureObjectInfoList();
        versions = Versions(updated);
        reasons = FailureReasons(command);
    }
    if (outcome != DesignCheckout::Outcome::Succeeded)
        return outcome;
    TextTable table({"STATE", "FILE", "FOLDER", "DOWNLOADED TO", "VERSION", "REASON"});
    AddRows(table, "updated", updated, versions, {});
    AddRows(table, "failed", failed, {}, reasons);
    table.Print(out);
    std::fprintf(out, "updated: %d, failed: %d\n", updated.size(), failed.size());
    if (failed.size() == 0)
        return DesignCheckout::Outcome::Succeeded;
    error = std::to_string(failed.size()) + " files could not be brought up to date";
    return DesignCheckout::Outcome::Failed;
}
