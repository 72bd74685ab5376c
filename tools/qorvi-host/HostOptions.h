// The demo host's command line: what to run and how long the service may take for each step.
#ifndef QORVI_HOST_HOSTOPTIONS_H
#define QORVI_HOST_HOSTOPTIONS_H

#include <string>
#include <utility>
#include <vector>

struct HostOptions
{
    static constexpr double kDefaultTimeoutSeconds = 60;
    static constexpr double kMaxTimeoutSeconds = 86400;

    double timeoutSeconds = kDefaultTimeoutSeconds;
    bool help = false;
    bool showSettings = false;
    // Set: log in with this user and a password ("loginEx") instead of the plain login.
    bool hasUser = false;
    std::string user;
    bool hasPassword = false;
    std::string password;
    // Run after login, in this order.
    std::vector<std::string> lqlQueries;
    // Set: after the queries, check in the assembly of this manifest file.
    std::string checkinManifest;
    // Set: after the queries (and the check-in), check the design out into checkoutFolder and show its structure.
    bool hasCheckout = false;
    std::string checkoutDesign;
    std::string checkoutFolder;
    bool lockOnCheckout = false;
    // A file for attribute synchronisation with the attributes (NAME=VALUE) sent for it.
    struct SyncFile
    {
        std::string file;
        std::vector<std::pair<std::string, std::string>> attributes;
    };
    // Commands on local design files, run after the checkout: update checks of every file or of
    // the files named, attribute synchronisation to the server (each file with the --attr values
    // that follow it) and from it, object details.
    bool updateAll = false;
    std::vector<std::string> updateFiles;
    std::vector<SyncFile> syncToFiles;
    std::vector<SyncFile> syncFromFiles;
    std::vector<std::string> detailFiles;
    // After the checkout, in this order: lock, unlock, show the lock state of its objects.
    bool lockObjects = false;
    bool unlockObjects = false;
    bool showLockStatus = false;

    // Reads argv[1..argc-1]; false with a sentence for the user in error.
    bool Parse(int argc, const char* const* argv, std::string& error);

private:
    static bool ParseSeconds(const char* text, double& seconds);
    // The options for local design files; false when argument is none of them.
    bool ParseLocalFileOption(const std::string& argument, const char* value, std::string& error);
};

#endif
