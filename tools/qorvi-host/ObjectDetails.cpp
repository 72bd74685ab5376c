// Object details: one table row per object of the answer.
#include "ObjectDetails.h"

#include <QorviCSECommon.h>

#include "LocalDesignFile.h"
#include "TextTable.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

} // namespace

DesignCheckout::Outcome ObjectDetails::Run(const std::vector<std::string>& files, std::FILE* out, std::string& error)
{
    std::fprintf(out, "details:    %zu files\n", files.size());
    CSEGetObjectDetailsCmd command;
    if (command.AddObjectListNodeInObjectDetailsCmd() < 0) {
        error = "the details request could not be made (see the library log)";
        return DesignCheckout::Outcome::Failed;
    }
    for (const std::string& file : files) {
        CSEObjectInfo object;
        if (!LocalDesignFile::Record(file, object, error))
            return DesignCheckout::Outcome::Failed;
        if (command.AddObjectToCmdPacket(object, 0) < 0) {
            error = "the details request could not be made (see the library log)";
            return DesignCheckout::Outcome::Failed;
        }
    }
    const DesignCheckout::Outcome outcome = LocalDesignFile::Exchange(command, "the details request", error);
    if (outcome != DesignCheckout::Outcome::Succeeded)
        return outcome;
    CSEObjectInfoVector objects;
    command.getObjectInfoList(objects);
    TextTable table({"NAME", "FILE", "STATUS", "LOCKED", "LOCKED BY", "CHECK-IN", "SERVER TYPE", "REVISION",
                     "VERSION"});
    for (int i = 0; i < objects.size(); ++i) {
        const CSEObjectInfo& object = objects[i];
        table.Add({Utf8(object.name), Utf8(object.fileName), Utf8(object.designStatus), Utf8(object.isLocked),
                   Utf8(object.locker), Utf8(object.checkinAccess), Utf8(object.detailBusType),
                   Utf8(object.detailBusRevision), Utf8(object.busRevision)});
    }
    table.Print(out);
    std::fprintf(out, "details of %d objects\n", objects.size());
    return DesignCheckout::Outcome::Succeeded;
}
