// libFuzzer target: any answer file must be read without a fault by the lock-unlock, user lock
// status and extended check-in commands; the object counts must match the records read, and a
// lock answer's top-level local checkouts must be objects it read.
//
// Input: the full answer file that the thin response names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CSELockUnlockCmd.h"
#include "CSEResponse.h"
#include "CSEUserLockStatusCmd.h"
#include "DVKDCICheckinExCmd.h"
#include "common/SilentInstallation.h"

namespace {

const std::string& Prepare()
{
    return SilentInstallation("[CLIENT]\n",
        "<response><info><gsettings><attribute><name>OKT-EnableAutoRecognition</name><value>true</value>"
        "</attribute></gsettings></info></response>");
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string folder = Prepare();
    WriteScratchFile(folder + "/Response.xml", std::string(reinterpret_cast<const char*>(data), size));
    const CSEString thin(("<response dirname='" + folder + "' filename='Response.xml'/>").c_str());

    CSELockUnlockCmd lock;
    CSEObjectInfo root;
    root.fileName = u"top.asm";
    root.cadId = u"t1";
    lock.CreateRootObject(root);
    lock.GetResponseObject()->ParseResponse(thin);
    CSEObjectInfoVector locked;
    const int count = lock.GetCheckedoutObjListFromResponse(locked);
    Check(count >= -1 && locked.size() == (count < 0 ? 0 : count));
    Check(lock.GetObjListOfTopLevelRFAFilesBeingCheckedOut().size() <= locked.size());

    CSEUserLockStatusCmd status;
    status.GetResponseObject()->ParseResponse(thin);
    CSEObjectInfoVector states;
    status.GetObjectInfoListFromResponse(states);

    DVKDCICheckinExCmd checkin;
    checkin.CreateRootObject(root);
    checkin.GetResponseObject()->ParseResponse(thin);
    const int objects = checkin.GetNumObjectsFromResponse();
    Check(objects >= -1);
    for (int i = 0; i < objects && i < 64; ++i)
        checkin.GetObjectFromResponse(i);
    return 0;
}
