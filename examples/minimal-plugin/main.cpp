// A minimal CAD plug-in over QorviCSECommon. It does what a plug-in's commands do, one after the
// other: install its message manager and interface turn, connect to the integration service, log
// in, check a design out (locked) into a folder, change its file as the user would, check it in
// again and log out.
//
//   minimal-plugin DESIGN FOLDER
//
// The library finds its installation folder in QX_DRAVIK_INSTALL_DIR ("settings.ini" there names the
// service's machine: [SERVER] clientname=HOST) and the service's port in the profile folder
// (USERPROFILE, else HOME). Exit status 0 when every step succeeded, else 1.
#include <cstdio>
#include <fstream>
#include <string>

#include <QorviCSECommon.h>

#include "DesignCheckoutCmd.h"
#include "PluginMsgMgr.h"
#include "PluginTurn.h"

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

// The answer of an executed command: "" when it succeeded, else why not.
std::string Refusal(CSECommand& command)
{
    CSEResponse* response = command.GetResponseObject();
    if (response == nullptr)
        return "no answer (see the library log)";
    if (Utf8(response->GetResult()) == "success")
        return "";
    const std::string reason = Utf8(response->GetReason());
    return reason.empty() ? "refused without a reason" : reason;
}

int Fail(const std::string& step, const std::string& why)
{
    std::fprintf(stderr, "minimal-plugin: %s failed: %s\n", step.c_str(), why.c_str());
    CSEIntegrationAgent::GetIntegrationAgent().Disconnect();
    return 1;
}

// Checks the design out, locked, into the folder; answers its one object.
std::string CheckOut(const std::string& design, const std::string& folder, CSEObjectInfo& object)
{
    DesignCheckoutCmd checkout;
    CSEString thin;
    if (!checkout.AddDesign(CSEString(design.c_str()), CSEString(folder.c_str()), true))
        return "the request could not be made";
    if (checkout.Execute(thin) != CSE_SUCCESS)
        return "no answer (see the library log)";
    const std::string refusal = Refusal(checkout);
    if (!refusal.empty())
        return refusal;
    CSEObjectInfoVector objects;
    try {
        checkout.getObjectInfoList(objects); // throws CSEException on an answer it cannot use
    } catch (const CSEException& error) {
        return Utf8(error.GetMsg());
    }
    // This example keeps to a design of one file (a part); an assembly's check-in also places its
    // children with CSECheckinCmd::AddObject and the relationships of getRelationshipList.
    if (objects.size() != 1)
        return "the design has " + std::to_string(objects.size()) + " objects; this example takes a part";
    object = objects[0];
    return "";
}

// Checks the object in as a new version; answers the version the vault stored.
std::string CheckIn(const CSEObjectInfo& checkedOut, std::string& version)
{
    CSEObjectInfo object;
    object.cadId = CSEString(u"1");
    object.name = checkedOut.name;
    object.fileName = checkedOut.fileName;
    object.dirName = checkedOut.dirName;
    object.type = checkedOut.type;
    object.busRevision = checkedOut.busRevision;
    CSECheckinCmd checkin;
    CSEString thin;
    try {
        checkin.CreateRootObject(object);
        checkin.AddCheckinModeinXMLRequestPacket();
    } catch (const CSEException& error) {
        return Utf8(error.GetMsg());
    }
    if (checkin.Execute(thin) != CSE_SUCCESS)
        return "no answer (see the library log)";
    const std::string refusal = Refusal(checkin);
    if (!refusal.empty())
        return refusal;
    if (checkin.GetNumObjectsFromFinalResponse() != 1)
        return "the answer lists no stored object";
    version = Utf8(checkin.GetObjectFromFinalResponse(0).qxVersion);
    return "";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: minimal-plugin DESIGN FOLDER\n");
        return 1;
    }
    const std::string design = argv[1];
    const std::string folder = argv[2];

    // The host's duties come first: a message manager and an interface turn, installed once for the
    // life of the process (the library keeps pointers to them).
    static PluginMsgMgr msgMgr;
    static PluginTurn turn;
    CSEMsgMgr::SetMsgMgr(&msgMgr);
    DVKApplication::SetCurrent(&turn);
    try {
        CSEClientSettings::GetInstance(0);
    } catch (const CSEException& error) {
        std::fprintf(stderr, "minimal-plugin: %s (set QX_DRAVIK_INSTALL_DIR)\n", Utf8(error.GetMsg()).c_str());
        return 1;
    }

    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();
    if (agent.Connect() != CSEIntegrationAgent::Connected)
        return Fail("connect", "the integration service cannot be reached");
    try {
        if (agent.Login() != CSEIntegrationAgent::LoggedIn)
            return Fail("login", "see the library log");
    } catch (const CSEException& refusal) {
        return Fail("login", Utf8(refusal.GetMsg()));
    }
    std::printf("logged in\n");

    CSEObjectInfo object;
    std::string why = CheckOut(design, folder, object);
    if (!why.empty())
        return Fail("checkout", why);
    const std::string file = Utf8(object.dirName) + "/" + Utf8(object.fileName);
    std::printf("checked out %s version %s into %s\n", Utf8(object.name).c_str(), Utf8(object.qxVersion).c_str(),
                file.c_str());

    // The user's work on the design.
    std::ofstream(file, std::ios::app) << "\nchanged by minimal-plugin\n";

    std::string version;
    why = CheckIn(object, version);
    if (!why.empty())
        return Fail("check-in", why);
    std::printf("checked in %s as version %s\n", Utf8(object.name).c_str(), version.c_str());

    CSELogoutCmd logout;
    CSEString thin;
    if (logout.Execute(thin) != CSE_SUCCESS || !Refusal(logout).empty())
        return Fail("logout", Refusal(logout));
    agent.Disconnect();
    std::printf("logged out (%ld interface turns while waiting)\n", turn.Turns());
    return 0;
}
