// Attribute synchronisation: one table row per object of the answer.
#include "AttributeSync.h"

#include <memory>

#include <QorviCSECommon.h>

#include "LocalDesignFile.h"
#include "TextTable.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

std::string Joined(const CSEAttributeVector& attributes)
{
    std::string text;
    for (int i = 0; i < attributes.size(); ++i)
        text += (i == 0 ? "" : ", ") + Utf8(attributes[i].name) + "=" + Utf8(attributes[i].value);
    return text;
}

} // namespace

DesignCheckout::Outcome AttributeSync::Run(const std::vector<HostOptions::SyncFile>& files, bool toServer,
                                           std::FILE* out, std::string& error)
{
    std::fprintf(out, "attribute sync: %zu files %s the server\n", files.size(), toServer ? "to" : "from");
    std::unique_ptr<CSESynchAttrCmd> command;
    if (toServer)
        command.reset(new CSESynchAttrToeLedgraCmd());
    else
        command.reset(new CSESynchAttrFromeLedgraCmd());
    for (const HostOptions::SyncFile& file : files) {
        CSEObjectInfo object;
        if (!LocalDesignFile::Record(file.file, object, error))
            return DesignCheckout::Outcome::Failed;
        for (const auto& attribute : file.attributes)
            object.attributes.push_back(CSEAttribute(attribute.first.c_str(), attribute.second.c_str()));
        if (command->AddObjectToRequest(object) < 0) {
            error = "the attribute sync request could not be made (see the library log)";
            return DesignCheckout::Outcome::Failed;
        }
    }
    const DesignCheckout::Outcome outcome = LocalDesignFile::Exchange(*command, "the attribute sync", error);
    if (outcome != DesignCheckout::Outcome::Succeeded)
        return outcome;
    CSEObjectInfoVector objects;
    command->GetObjectInfoListFromResponse(objects);
    // CAD UPDATE: the CAD file is to take the server's values.
    TextTable table({"FILE", "NAME", "SUCCESS", "CAD UPDATE", "MESSAGE", "ATTRIBUTES"});
    int failures = 0;
    for (int i = 0; i < objects.size(); ++i) {
        const CSEObjectInfo& object = objects[i];
        failures += object.success == u"true" ? 0 : 1;
        table.Add({Utf8(object.fileName), Utf8(object.name), Utf8(object.success), Utf8(object.modified),
                   Utf8(object.message), Joined(object.attributes)});
    }
    table.Print(out);
    std::fprintf(out, "synchronised: %d, failed: %d\n", objects.size() - failures, failures);
    if (failures == 0)
        return DesignCheckout::Outcome::Succeeded;
    error = std::to_string(failures) + " files were not synchronised (see their messages above)";
    return DesignCheckout::Outcome::Failed;
}
