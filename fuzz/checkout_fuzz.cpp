// libFuzzer target: any checkout answer file must be read without a fault by the checkout command
// (objects, attributes, relationships, structure, old file names, top-level search), no path it
// makes may step out of its folder, and a cadid it does not hold must stay unknown.
//
// Input: the full answer file that the thin response names.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "CSECheckoutCmd.h"
#include "CSEException.h"
#include "CSEResponse.h"
#include "CSEString.h"
#include "common/SilentInstallation.h"

namespace {

// Installation folder without logs, the selective attribute rules on, a silent message manager and
// global settings with a mapping of each kind.
const std::string& Prepare()
{
    return SilentInstallation("[CLIENT]\ncompatiblewkcversion=QTL2010\n",
        "<response><info><gsettings><attribute><name>Vexlin-QxToCADAttribMapping</name><value>"
        "<attribute><name>CAD Part,Description</name><value>part,Description</value></attribute>"
        "<attribute><name>CAD Part,$$description$$</name><value>part,Title</value></attribute>"
        "<attribute><name>CAD Part,expr(a)</name><value>part,Label</value></attribute>"
        "<attribute><name>CAD Part,$$rev$$</name><value>part,Revision</value></attribute>"
        "</value></attribute></gsettings></info></response>");
}

// A path the command made: every "|"-separated entry is a file name joined to an absolute folder
// (or alone), without "." or ".." steps.
bool StaysInItsFolder(const CSEString& path)
{
    const std::u16string& text = path().Text();
    std::size_t begin = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != u'/' && text[at] != u'\\' && text[at] != u'|')
            continue;
        const std::u16string step = text.substr(begin, at - begin);
        if (step == u"." || step == u"..")
            return false;
        begin = at + 1;
    }
    return true;
}

bool IsBareName(const CSEString& name)
{
    const std::u16string& text = name().Text();
    return text != u"." && text != u".." && text.find_first_of(u"/\\") == std::u16string::npos;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void Read(CSECheckoutCmd& command)
{
    CSEObjectInfoVector objects;
    command.getObjectInfoList(objects);
    CSERelationshipVector relationships;
    command.getRelationshipList(relationships);
    for (int i = 0; i < objects.size(); ++i) {
        Check(StaysInItsFolder(objects[i].fullFileName) && StaysInItsFolder(objects[i].parentFullPath));
        CSEObjectInfo copy = objects[i];
        command.setOldFileName(copy);
        Check(copy.fileName == objects[i].fileName || IsBareName(copy.fileName));
        CSEObjectInfo found;
        Check(command.GetCSEObjectInfoFromCadId(objects[i].cadId, found) != 0);
        command.SetFileNameFromCadId(objects[i].cadId, u"renamed.prt");
    }
    for (int i = 0; i < relationships.size(); ++i)
        Check(StaysInItsFolder(relationships[i].parentFullPath) && StaysInItsFolder(relationships[i].childFullPath) &&
              relationships[i].quantity >= 1);
    CSEObjectInfo unknown;
    unknown.name = u"unknown";
    Check(!command.GetCSEObjectInfoFromCadId(u"\x01unknown", unknown) && unknown.name == u"unknown");
    Check(!command.GetCSEObjectInfoFromCadId(u"\x01unknown", unknown));

    CSEXMLPacket* answer = command.GetResponseObject()->GetXMLPacket();
    command.findAllTopLevelObjects(u"//response/info/structure/cadobject", answer, objects);
    command.findTopLevelObject(u"//response/info/structure", answer, objects);
    Check(command.GetTopLevelObjectInfoList().size() <= objects.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string folder = Prepare();
    WriteScratchFile(folder + "/Response.xml", std::string(reinterpret_cast<const char*>(data), size));
    const CSEString thin(("<response dirname='" + folder + "' filename='Response.xml'/>").c_str());

    CSECheckoutCmd command;
    command.GetResponseObject()->ParseResponse(thin);
    // Without the switches an object with several formats, or none, ends the reading.
    unsetenv("DV5_001");
    unsetenv("DV5_003");
    try {
        Read(command);
    } catch (const CSEException&) {
    }
    setenv("DV5_001", "1", 1);
    setenv("DV5_003", "1", 1);
    Read(command);
    return 0;
}
