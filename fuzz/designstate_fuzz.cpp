// libFuzzer target: any answer file must be read without a fault by the update checks, both
// attribute synchronisations and the object details, and a folder they hand over is empty or ends
// in "/" (an empty folder never becomes the root).
//
// Input: the full answer file that the thin response names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CSECheckForUpdateAllCmd.h"
#include "CSECheckForUpdateCurrentCmd.h"
#include "CSEGetObjectDetailsCmd.h"
#include "CSEMsgMgr.h"
#include "CSEResponse.h"
#include "CSEString.h"
#include "CSESynchAttrFromeLedgraCmd.h"
#include "CSESynchAttrToeLedgraCmd.h"
#include "common/ScratchInstallFolder.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void CheckFolders(const CSEObjectInfoVector& objects)
{
    for (int i = 0; i < objects.size(); ++i) {
        const std::u16string& folder = objects[i].dirName().Text();
        Check(folder.empty() || folder.back() == u'/');
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CSEMsgMgr silent;
    CSEMsgMgr::SetMsgMgr(&silent);
    const std::string& folder = ScratchInstallFolder("[CLIENT]\n");
    WriteScratchFile(folder + "/Response.xml", std::string(reinterpret_cast<const char*>(data), size));
    const CSEString thin(("<response dirname='" + folder + "' filename='Response.xml'/>").c_str());

    CSECheckForUpdateCurrentCmd current;
    current.GetResponseObject()->ParseResponse(thin);
    CheckFolders(current.GetObjectInfoList());
    CheckFolders(current.GetFailureObjectInfoList());
    CSECheckForUpdateAllCmd all;
    all.GetResponseObject()->ParseResponse(thin);
    CSEObjectInfoVector forExits;
    const int listed = all.GetObjectsFromRespForUserExit(forExits);
    Check(listed == forExits.size());
    Check(all.GetSuccessObjectInfoList().size() == forExits.size());

    CSESynchAttrFromeLedgraCmd from;
    from.GetResponseObject()->ParseResponse(thin);
    CSEObjectInfoVector synchronised;
    from.GetObjectInfoListFromResponse(synchronised);
    CheckFolders(synchronised);
    CSESynchAttrToeLedgraCmd to;
    to.GetResponseObject()->ParseResponse(thin);
    CSEObjectInfoVector sent;
    to.GetObjectInfoListFromResponse(sent);
    Check(sent.size() == synchronised.size());

    CSEGetObjectDetailsCmd details;
    details.GetResponseObject()->ParseResponse(thin);
    CSEObjectInfoVector states;
    details.getObjectInfoList(states);
    return 0;
}
