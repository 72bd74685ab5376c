// Reads the demo host's options; every option that takes a value takes it from the next argument.
#include "HostOptions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

bool HostOptions::ParseSeconds(const char* text, double& seconds)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0 || value > kMaxTimeoutSeconds)
        return false;
    seconds = value;
    return true;
}

bool HostOptions::Parse(int argc, const char* const* argv, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
            continue;
        }
        if (argument == "--settings" || argument == "--lock" || argument == "--update-all") {
            (argument == "--lock" ? lockOnCheckout : argument == "--settings" ? showSettings : updateAll) = true;
            continue;
        }
        if (argument == "--lock-objects" || argument == "--unlock-objects" || argument == "--lock-status") {
            (argument == "--lock-objects" ? lockObjects : argument == "--unlock-objects" ? unlockObjects : showLockStatus) =
                true;
            continue;
        }
        const bool takesValue = argument == "--timeout" || argument == "--user" || argument == "--password" ||
                                argument == "--lql" || argument == "--checkout" || argument == "--into" ||
                                argument == "--update" || argument == "--sync-to" || argument == "--attr" ||
                                argument == "--sync-from" || argument == "--details" ||
                                argument == "--checkin";
        if (!takesValue) {
            error = "unknown argument '" + argument + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = argument + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        if (argument == "--timeout" && !ParseSeconds(value, timeoutSeconds)) {
            char limit[32];
            std::snprintf(limit, sizeof limit, "%g", kMaxTimeoutSeconds);
            error = std::string("--timeout needs a number of seconds above 0 and at most ") + limit;
            return false;
        }
        if (argument == "--user") {
            user = value;
            hasUser = true;
        } else if (argument == "--password") {
            password = value;
            hasPassword = true;
        } else if (argument == "--lql") {
            lqlQueries.push_back(value);
        } else if (argument == "--checkout") {
            checkoutDesign = value;
            hasCheckout = true;
        } else if (argument == "--into") {
            checkoutFolder = value;
        } else if (argument == "--checkin") {
            checkinManifest = value;
            if (checkinManifest.empty()) {
                error = "--checkin needs a manifest file";
                return false;
            }
        } else if (argument != "--timeout" && !ParseLocalFileOption(argument, value, error)) {
            return false;
        }
    }
    if (hasCheckout && (checkoutDesign.empty() || checkoutFolder.empty())) {
        error = "--checkout needs a design name and --into FOLDER";
        return false;
    }
    if (!hasCheckout && (!checkoutFolder.empty() || lockOnCheckout)) {
        error = "--into and --lock go with --checkout NAME";
        return false;
    }
    if (!hasCheckout && (lockObjects || unlockObjects || showLockStatus)) {
        error = "--lock-objects, --unlock-objects and --lock-status go with --checkout NAME";
        return false;
    }
    if (hasUser && user.empty()) {
        error = "--user needs a user name";
        return false;
    }
    if (hasPassword && !hasUser) {
        error = "--password goes with --user NAME";
        return false;
    }
    return true;
}

bool HostOptions::ParseLocalFileOption(const std::string& argument, const char* value, std::string& error)
{
    const std::string text = value;
    if (text.empty()) {
        error = argument + " needs a value";
        return false;
    }
    if (argument == "--attr") {
        // Belongs to the file of the last --sync-to before it.
        const std::size_t equals = text.find('=');
        if (equals == 0 || equals == std::string::npos) {
            error = "--attr needs NAME=VALUE";
            return false;
        }
        if (syncToFiles.empty()) {
            error = "--attr goes with --sync-to FILE (after it)";
            return false;
        }
        syncToFiles.back().attributes.emplace_back(text.substr(0, equals), text.substr(equals + 1));
        return true;
    }
    if (argument == "--sync-to" || argument == "--sync-from")
        (argument == "--sync-to" ? syncToFiles : syncFromFiles).push_back({text, {}});
    else
        (argument == "--update" ? updateFiles : detailFiles).push_back(text);
    return true;
}
