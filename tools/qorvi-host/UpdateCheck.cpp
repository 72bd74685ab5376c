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

void AddRows(TextTable& table, const char* state, const CSEObjectInfoVector& objects)
{
    for (int i = 0; i < objects.size(); ++i)
        table.Add({state, Utf8(objects[i].fileName), Utf8(objects[i].dirName), Utf8(objects[i].downloadedPath),
                   Utf8(objects[i].qxVersion)});
}

} // namespace

DesignCheckout::Outcome UpdateCheck::Run(const std::vector<std::string>& files, std::FILE* out, std::string& error)
{
    CSEObjectInfoVector updated;
    CSEObjectInfoVector failed;
    DesignCheckout::Outcome outcome;
    if (files.empty()) {
        std::fprintf(out, "update check: every file\n");
        CSECheckForUpdateAllCmd command;
        outcome = LocalDesignFile::Exchange(command, "the update check", error);
        updated = command.GetSuccessObjectInfoList();
        failed = command.GetFailureObjectInfoList();
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
    }
    if (outcome != DesignCheckout::Outcome::Succeeded)
        return outcome;
    TextTable table({"STATE", "FILE", "FOLDER", "DOWNLOADED TO", "VERSION"});
    AddRows(table, "updated", updated);
    AddRows(table, "failed", failed);
    table.Print(out);
    std::fprintf(out, "updated: %d, failed: %d\n", updated.size(), failed.size());
    if (failed.size() == 0)
        return DesignCheckout::Outcome::Succeeded;
    error = std::to_string(failed.size()) + " files could not be brought up to date";
    return DesignCheckout::Outcome::Failed;
}
