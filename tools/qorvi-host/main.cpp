// Demo host: drives the library as a CAD plug-in would: connect, log in (as the system user or with
// a user name and password), ping, show the global settings and the server's component versions,
// run server queries, check a design out into a folder and show its structure, check local files
// for updates, synchronise their attributes and show their server state, log out and
// disconnect, printing each step. Before connecting it checks the
// installation, and it gives the service a limited time to answer each step.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include <QorviCSECommon.h>

#include "AnswerDeadline.h"
#include "AssemblyManifest.h"
#include "CheckoutFolder.h"
#include "DesignCheckout.h"
#include "DesignLocks.h"
#include "HostOptions.h"
#include "InstallationCheck.h"
#include "LocalFileSteps.h"
#include "ManifestCheckin.h"
#include "PasswordReader.h"
#include "RoundTripCheck.h"
#include "SettingsSummary.h"
#include "TerminalMsgMgr.h"

namespace {

// Exit statuses, one per step that can fail.
enum ExitStatus
{
    ExitSuccess = 0,
    ExitUsage = 1,
    ExitNoConnection = 2,
    ExitLoginFailed = 3,
    ExitPingFailed = 4,
    ExitNoVersions = 5,
    ExitLogoutFailed = 6,
    ExitNoAnswer = 7,
    ExitQueryFailed = 8,
    ExitCheckoutFailed = 9,
    ExitCheckinFailed = 10,
    ExitRoundTripDiffers = 11,
    ExitLocalFileStepFailed = 12,
    ExitLockFailed = 13
};

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

const char* StatusName(CSEIntegrationAgent::ConnectionStatus status)
{
    switch (status) {
    case CSEIntegrationAgent::NotConnected:
        return "not connected";
    case CSEIntegrationAgent::Connected:
        return "connected";
    case CSEIntegrationAgent::LoggedIn:
        return "logged in";
    }
    return "unknown";
}

void Usage(std::FILE* stream)
{
    std::fprintf(stream,
                 "usage: qorvi-host [--settings] [--user NAME [--password PASSWORD]] [--lql QUERY]...\n"
                 "                  [--checkin MANIFEST] [--checkout NAME --into FOLDER [--lock] [--lock-objects]\n"
                 "                  [--unlock-objects] [--lock-status]] [--update-all] [--update FILE]...\n"
                 "                  [--sync-to FILE [--attr NAME=VALUE]...]... [--sync-from FILE]...\n"
                 "                  [--details FILE]... [--timeout SECONDS]\n"
                 "Connects to the integration service, logs in, pings, prints the server component\n"
                 "versions, runs the queries, checks the manifest's assembly in, checks the design out,\n"
                 "logs out and disconnects.\n"
                 "  --settings          print a summary of the global settings of the login\n"
                 "  --user NAME         log in as NAME with a password (\"loginEx\") instead of as the\n"
                 "                      system user without one; the password is asked for on the\n"
                 "                      terminal, or read as the first line of standard input when that\n"
                 "                      is not a terminal\n"
                 "  --password PASSWORD the password for --user (visible to other users of the machine:\n"
                 "                      prefer the prompt or standard input)\n"
                 "  --lql QUERY         run the server query after login and print its result, reason\n"
                 "                      and text (repeatable)\n"
                 "  --checkin MANIFEST  check in the assembly the manifest file describes (its files in\n"
                 "                      the folder \"files\" beside it) and print what the service stored\n"
                 "  --checkout NAME     check the latest version of the design NAME out, with all it\n"
                 "                      contains, and print its structure as a tree; a design of the\n"
                 "                      --checkin manifest is then compared with it: files byte by\n"
                 "                      byte, designs, attributes and uses\n"
                 "  --into FOLDER       the folder the service places the files in (made when missing;\n"
                 "                      its parent must exist); the host checks that every file of the\n"
                 "                      answer lies in it\n"
                 "  --lock              lock the design for the user on checkout\n"
                 "  --lock-objects      after the checkout, lock its objects and print what changed\n"
                 "  --unlock-objects    after the checkout, unlock its objects and print what changed\n"
                 "  --lock-status       after the checkout, print the lock state of its objects\n"
                 "  --update-all        bring every local file of the user up to date from the server\n"
                 "  --update FILE       bring the local design file up to date (repeatable; one request)\n"
                 "  --sync-to FILE      write the attributes given with --attr to the server's design of\n"
                 "                      the file (repeatable)\n"
                 "  --attr NAME=VALUE   an attribute for the last --sync-to before it (repeatable)\n"
                 "  --sync-from FILE    read the server's attributes of the file's design (repeatable)\n"
                 "  --details FILE      show the server's state of the file's design: status, lock,\n"
                 "                      check-in access, type, revision, version (repeatable)\n"
                 "                      (each of these prints a table; the design is named by the file\n"
                 "                      name without its extension)\n"
                 "  --timeout SECONDS   time the service has to answer each step before the connection\n"
                 "                      is dropped (default %g, at most %g)\n"
                 "Environment: QX_DRAVIK_INSTALL_DIR (installation folder, writable, whose settings.ini\n"
                 "names the service's host: clientname=HOST in the section [SERVER]),\n"
                 "USERPROFILE or HOME (profile folder holding the service's okt.port),\n"
                 "DV5_001=1 (the site allows designs with several file formats).\n"
                 "Exit status: 0 success, 1 usage or installation, 2 no connection, 3 login failed,\n"
                 "4 ping failed, 5 no component versions, 6 logout failed, 7 no answer in time,\n"
                 "8 a query failed, 9 the checkout failed, 10 the check-in failed, 11 the checkout\n"
                 "differs from the manifest checked in, 12 an update check, attribute sync or details\n"
                 "request failed, 13 a lock, unlock or lock status failed (the host still logs out\n"
                 "after any of these).\n",
                 HostOptions::kDefaultTimeoutSeconds, HostOptions::kMaxTimeoutSeconds);
}

int Fail(ExitStatus status, const std::string& message)
{
    std::fprintf(stderr, "qorvi-host: %s\n", message.c_str());
    CSEIntegrationAgent::GetIntegrationAgent().Disconnect();
    return status;
}

// The failure of a step, or the step's time running out (which is what made it fail).
int FailStep(const AnswerDeadline& deadline, double timeoutSeconds, const char* step, ExitStatus status,
             const std::string& message)
{
    if (!deadline.Expired())
        return Fail(status, message);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", timeoutSeconds);
    return Fail(ExitNoAnswer, std::string("the integration service did not answer the ") + step + " within "
                                  + seconds + " s (is it suspended or overloaded?); the connection was dropped");
}

std::string ResultOf(CSEResponse* response)
{
    return response != nullptr ? Utf8(response->GetResult()) : std::string();
}

std::string ReasonOf(CSEResponse* response)
{
    return response != nullptr ? Utf8(response->GetReason()) : std::string();
}

// The host's part of a login with a password: the "loginEx" command; its answer then becomes the
// connection's global settings, and the server's component versions are asked for, as the plain
// login does. Answers the connection status; refusal holds the service's reason when it refused.
CSEIntegrationAgent::ConnectionStatus LogInWithPassword(const std::string& user, const std::string& password,
                                                        std::string& refusal)
{
    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();
    CSELoginExCmd command;
    CSEObjectInfo credentials;
    credentials.userText1 = CSEString(user.c_str());
    credentials.userText2 = CSEString(password.c_str());
    command.AddExtraCmdNodeInfoForLoginEx(credentials);
    CSEString thinResponse;
    if (command.Execute(thinResponse) != CSE_SUCCESS)
        return agent.GetConnectionStatus();
    CSEResponse* response = command.GetResponseObject();
    const std::string result = ResultOf(response);
    if (result != "success") {
        refusal = ReasonOf(response);
        if (refusal.empty())
            refusal = result.empty() ? "its answer could not be read (see the library log)" : "no reason given";
        return agent.GetConnectionStatus();
    }
    // Settings handed in by the host: the agent keeps them as those of the plain login.
    if (agent.InitServerSettingsForSilent(thinResponse) != CSE_SUCCESS)
        return agent.GetConnectionStatus();
    // Without versions the status says logged in, and the version step below reports it.
    agent.sendRequestForServerComponentVersions();
    return agent.GetConnectionStatus();
}

enum class QueryOutcome
{
    Succeeded,
    Failed,
    NoAnswer
};

// Runs one query and prints its answer.
QueryOutcome RunQuery(const std::string& query)
{
    CSELqlCmd command;
    command.setLQLCommand(CSEString(query.c_str()));
    CSEString thinResponse;
    std::printf("lql:        %s\n", query.c_str());
    if (command.Execute(thinResponse) != CSE_SUCCESS)
        return QueryOutcome::NoAnswer;
    CSEResponse* response = command.GetResponseObject();
    const std::string result = ResultOf(response);
    std::printf("  result:   %s\n", result.empty() ? "none" : result.c_str());
    const std::string reason = ReasonOf(response);
    if (!reason.empty())
        std::printf("  reason:   %s\n", reason.c_str());
    CSEString text;
    CSEXMLPacket* packet = response != nullptr ? response->GetXMLPacket() : nullptr;
    if (packet != nullptr && packet->getNodeValue(CSEString("//response/info"), text) == 0 && !text().IsEmpty())
        std::printf("  text:     %s\n", Utf8(text).c_str());
    return result == "success" ? QueryOutcome::Succeeded : QueryOutcome::Failed;
}

// The lock actions asked for, on the checked-out objects: ExitSuccess or ExitLockFailed; abandoned
// with the status to exit with when a step got no answer (the connection is then gone).
int RunLockActions(const HostOptions& options, const CSEObjectInfoVector& objects, AnswerDeadline& deadline,
                   double timeoutSeconds, bool& abandoned)
{
    const std::pair<bool, DesignLocks::Action> actions[] = {{options.lockObjects, DesignLocks::Action::Lock},
                                                           {options.unlockObjects, DesignLocks::Action::Unlock},
                                                           {options.showLockStatus, DesignLocks::Action::Status}};
    // Who the service knows this host as: the user logged in with, else the system user.
    const std::string user = options.hasUser ? options.user : Utf8(CSEUtil::GetCurrentUserName());
    int status = ExitSuccess;
    for (const auto& action : actions) {
        if (!action.first)
            continue;
        deadline.Start();
        std::string error;
        const DesignLocks::Outcome outcome = DesignLocks::Run(action.second, objects, user, stdout, error);
        abandoned = outcome == DesignLocks::Outcome::NoAnswer;
        if (abandoned)
            return FailStep(deadline, timeoutSeconds, "lock request", ExitLockFailed, "the lock request got no answer");
        if (outcome == DesignLocks::Outcome::Failed) {
            std::fprintf(stderr, "qorvi-host: %s\n", error.c_str());
            status = ExitLockFailed;
        }
    }
    return status;
}

int Run(const HostOptions& options)
{
    const double timeoutSeconds = options.timeoutSeconds;
    try {
        CSEClientSettings::GetInstance(0);
    } catch (const CSEException&) {
        std::fprintf(stderr, "qorvi-host: QX_DRAVIK_INSTALL_DIR is not set; set it to the installation folder, "
                             "which holds settings.ini\n");
        return ExitUsage;
    }
    const std::string problem = InstallationCheck::FirstProblem();
    if (!problem.empty()) {
        std::fprintf(stderr, "qorvi-host: %s\n", problem.c_str());
        return ExitUsage;
    }
    // Asked for before connecting: the service's time to answer does not include the user's typing.
    std::string password = options.password;
    std::string passwordError;
    if (options.hasUser && !options.hasPassword && !PasswordReader::Read(options.user, password, passwordError)) {
        std::fprintf(stderr, "qorvi-host: %s\n", passwordError.c_str());
        return ExitUsage;
    }
    std::string checkoutFolder;
    std::string folderError;
    if (options.hasCheckout && !CheckoutFolder::Prepare(options.checkoutFolder, checkoutFolder, folderError)) {
        std::fprintf(stderr, "qorvi-host: %s\n", folderError.c_str());
        return ExitUsage;
    }
    AssemblyManifest manifest;
    std::string manifestError;
    if (!options.checkinManifest.empty() && !manifest.Load(options.checkinManifest, manifestError)) {
        std::fprintf(stderr, "qorvi-host: %s\n", manifestError.c_str());
        return ExitUsage;
    }
    static TerminalMsgMgr msgMgr;
    CSEMsgMgr::SetMsgMgr(&msgMgr);
    static AnswerDeadline deadline(std::chrono::duration_cast<AnswerDeadline::Clock::duration>(
        std::chrono::duration<double>(timeoutSeconds)));
    DVKApplication::SetCurrent(&deadline);
    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();

    CSEIntegrationAgent::ConnectionStatus status = agent.Connect();
    std::printf("connect:    %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::Connected)
        return Fail(ExitNoConnection, "the integration service could not be reached (is it running? see okt.port "
                                      "in the profile folder and the library log)");

    deadline.Start();
    std::string refusal;
    try {
        status = options.hasUser ? LogInWithPassword(options.user, password, refusal) : agent.Login();
    } catch (const CSEException& error) {
        refusal = Utf8(error.GetMsg());
    }
    if (!refusal.empty())
        return Fail(ExitLoginFailed, "login refused: " + refusal);
    std::printf("login:      %s%s\n", StatusName(status), options.hasUser ? (" as " + options.user).c_str() : "");
    if (status != CSEIntegrationAgent::LoggedIn)
        return FailStep(deadline, timeoutSeconds, "login", ExitLoginFailed,
                        "login did not complete (see the library log)");

    deadline.Start();
    status = agent.PingServer();
    std::printf("ping:       %s\n", StatusName(status));
    if (status != CSEIntegrationAgent::LoggedIn)
        return FailStep(deadline, timeoutSeconds, "ping", ExitPingFailed, "the service did not answer the ping");

    CSEServerSettings* settings = agent.GetServerSettingsPtr();
    if (settings == nullptr || settings->GetServerComponentVersions().size() == 0)
        return Fail(ExitNoVersions, "the server reported no component versions");
    if (options.showSettings)
        SettingsSummary::Print(*settings, stdout);
    std::printf("server component versions:\n");
    CSEStringCSEStringMap& versions = settings->GetServerComponentVersions();
    for (CSEStringCSEStringMapIterator it = versions.begin(); it != versions.end(); ++it)
        std::printf("  %-24s %s\n", Utf8((*it).key).c_str(), Utf8((*it).value).c_str());

    int finalStatus = ExitSuccess;
    for (const std::string& query : options.lqlQueries) {
        deadline.Start();
        const QueryOutcome outcome = RunQuery(query);
        if (outcome == QueryOutcome::NoAnswer)
            return FailStep(deadline, timeoutSeconds, "lql query", ExitQueryFailed, "the lql query got no answer");
        if (outcome == QueryOutcome::Failed)
            finalStatus = ExitQueryFailed;
    }

    if (!options.checkinManifest.empty()) {
        deadline.Start();
        std::string checkinError;
        const ManifestCheckin::Outcome outcome = ManifestCheckin::Run(manifest, stdout, checkinError);
        if (outcome == ManifestCheckin::Outcome::NoAnswer)
            return FailStep(deadline, timeoutSeconds, "check-in", ExitCheckinFailed, "the check-in got no answer");
        if (outcome == ManifestCheckin::Outcome::Failed) {
            std::fprintf(stderr, "qorvi-host: %s\n", checkinError.c_str());
            finalStatus = ExitCheckinFailed;
        }
    }

    if (options.hasCheckout && finalStatus != ExitCheckinFailed) {
        deadline.Start();
        std::string checkoutError;
        CSEObjectInfoVector objects;
        CSERelationshipVector relationships;
        const DesignCheckout::Outcome outcome =
            DesignCheckout::Run(options.checkoutDesign, checkoutFolder, options.lockOnCheckout, stdout, checkoutError,
                                &objects, &relationships);
        if (outcome == DesignCheckout::Outcome::NoAnswer)
            return FailStep(deadline, timeoutSeconds, "checkout", ExitCheckoutFailed, "the checkout got no answer");
        if (outcome == DesignCheckout::Outcome::Failed) {
            std::fprintf(stderr, "qorvi-host: %s\n", checkoutError.c_str());
            finalStatus = ExitCheckoutFailed;
        }
        const int checkedIn = manifest.Find(options.checkoutDesign);
        if (outcome == DesignCheckout::Outcome::Succeeded && checkedIn >= 0) {
            const std::vector<std::string> differences =
                RoundTripCheck::Differences(manifest, checkedIn, objects, relationships, checkoutFolder);
            for (const std::string& difference : differences)
                std::fprintf(stderr, "qorvi-host: round trip: %s\n", difference.c_str());
            if (differences.empty())
                std::printf("round trip: the checkout of %s holds the %zu designs, their files and the uses "
                            "checked in\n", options.checkoutDesign.c_str(), manifest.Reached(checkedIn).size());
            else
                finalStatus = ExitRoundTripDiffers;
        }
        if (outcome == DesignCheckout::Outcome::Succeeded) {
            bool abandoned = false;
            const int locks = RunLockActions(options, objects, deadline, timeoutSeconds, abandoned);
            if (abandoned)
                return locks;
            if (locks == ExitLockFailed)
                finalStatus = ExitLockFailed;
        }
    }

    for (const LocalFileStep& step : LocalFileSteps::From(options)) {
        deadline.Start();
        std::string stepError;
        const DesignCheckout::Outcome outcome = step.run(stdout, stepError);
        if (outcome == DesignCheckout::Outcome::NoAnswer)
            return FailStep(deadline, timeoutSeconds, step.name.c_str(), ExitLocalFileStepFailed,
                            "the " + step.name + " got no answer");
        if (outcome == DesignCheckout::Outcome::Failed) {
            std::fprintf(stderr, "qorvi-host: %s\n", stepError.c_str());
            finalStatus = ExitLocalFileStepFailed;
        }
    }

    CSELogoutCmd logout;
    CSEString thinResponse;
    deadline.Start();
    const int executed = logout.Execute(thinResponse);
    CSEResponse* response = logout.GetResponseObject();
    const std::string result = ResultOf(response);
    std::printf("logout:     %s\n", result.empty() ? "no answer" : result.c_str());
    if (executed != CSE_SUCCESS || result != "success")
        return FailStep(deadline, timeoutSeconds, "logout", ExitLogoutFailed, "logout failed" + (ReasonOf(response).empty() ? std::string() : ": " + ReasonOf(response)));

    agent.Disconnect();
    std::printf("disconnect: %s\n", StatusName(agent.GetConnectionStatus()));
    if (finalStatus == ExitQueryFailed)
        std::fprintf(stderr, "qorvi-host: a query failed (see its reason above)\n");
    if (finalStatus == ExitLockFailed)
        std::fprintf(stderr, "qorvi-host: locking failed (see the reasons above)\n");
    if (finalStatus == ExitCheckoutFailed)
        std::fprintf(stderr, "qorvi-host: the checkout failed (see its reason above)\n");
    if (finalStatus == ExitLocalFileStepFailed)
        std::fprintf(stderr, "qorvi-host: a step on local files failed (see its reason above)\n");
    if (finalStatus == ExitCheckinFailed)
        std::fprintf(stderr, "qorvi-host: the check-in failed (see its reason above)\n");
    if (finalStatus == ExitRoundTripDiffers)
        std::fprintf(stderr, "qorvi-host: the checkout differs from what was checked in (see above)\n");
    return finalStatus;
}

} // namespace

int main(int argc, char** argv)
{
    HostOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        std::fprintf(stderr, "qorvi-host: %s\n", error.c_str());
        Usage(stderr);
        return ExitUsage;
    }
    if (options.help) {
        Usage(stdout);
        return ExitSuccess;
    }
    return Run(options);
}
