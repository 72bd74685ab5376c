// Process services over POSIX: getpid, the user database, $PATH lookup and posix_spawnp.
#include "host/DVKProcess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace dvk {
namespace {

const char kDefaultSearchPath[] = "/bin:/usr/bin";

bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// Children started and not yet reaped; the library runs on one thread.
std::vector<pid_t>& RunningChildren()
{
    static std::vector<pid_t> children;
    return children;
}

// Spawn settings shared by every start: default signal mask and dispositions in the child, and
// no inherited descriptors beyond the standard three where the C library can close them.
class SpawnSettings
{
public:
    SpawnSettings()
    {
        m_bReady = ::posix_spawnattr_init(&m_attr) == 0;
        if (!m_bReady)
            return;
        m_bActions = ::posix_spawn_file_actions_init(&m_actions) == 0;
        sigset_t empty;
        sigemptyset(&empty);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM})
            sigaddset(&defaults, signal);
        ::posix_spawnattr_setsigmask(&m_attr, &empty);
        ::posix_spawnattr_setsigdefault(&m_attr, &defaults);
        ::posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        if (m_bActions)
            ::posix_spawn_file_actions_addclosefrom_np(&m_actions, 3);
#endif
    }
    ~SpawnSettings()
    {
        if (m_bActions)
            ::posix_spawn_file_actions_destroy(&m_actions);
        if (m_bReady)
            ::posix_spawnattr_destroy(&m_attr);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    bool Ready() const { return m_bReady; }
    const posix_spawnattr_t* Attributes() const { return &m_attr; }
    const posix_spawn_file_actions_t* Actions() const { return m_bActions ? &m_actions : nullptr; }

private:
    bool m_bReady = false;
    bool m_bActions = false;
    posix_spawnattr_t m_attr;
    posix_spawn_file_actions_t m_actions;
};

} // namespace

int GetProcessId()
{
    return static_cast<int>(::getpid());
}

std::string GetEffectiveUserName()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size < 1024)
        size = 1024;
    std::vector<char> buffer(static_cast<std::size_t>(size));
    struct passwd entry;
    struct passwd* found = nullptr;
    for (;;) {
        const int status = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (status == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0 || found == nullptr || found->pw_name == nullptr)
            return std::string();
        return std::string(found->pw_name);
    }
}

bool FindProgramOnPath(const std::string& program, std::string& fullPath)
{
    fullPath.clear();
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos) {
        if (!IsExecutableFile(program))
            return false;
        fullPath = program;
        return true;
    }
    const char* pathVariable = std::getenv("PATH");
    const std::string searchPath = pathVariable != nullptr ? pathVariable : kDefaultSearchPath;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type colon = searchPath.find(':', start);
        std::string folder = searchPath.substr(
            start, colon == std::string::npos ? std::string::npos : colon - start);
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + program;
        if (IsExecutableFile(candidate)) {
            fullPath = candidate;
            return true;
        }
        if (colon == std::string::npos)
            return false;
        start = colon + 1;
    }
}

int ReapDetachedProcesses()
{
    std::vector<pid_t>& children = RunningChildren();
    std::vector<pid_t> running;
    for (pid_t child : children) {
        int status = 0;
        const pid_t result = ::waitpid(child, &status, WNOHANG);
        // 0: still running. -1 with ECHILD: someone else (the host's own handler) reaped it.
        if (result == 0 || (result < 0 && errno == EINTR))
            running.push_back(child);
    }
    children.swap(running);
    return static_cast<int>(children.size());
}

bool StartDetachedProcess(const std::string& program, const std::vector<std::string>& arguments,
                          std::string& error)
{
    error.clear();
    ReapDetachedProcesses();
    if (program.empty()) {
        error = "no program given";
        return false;
    }
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    SpawnSettings settings;
    if (!settings.Ready()) {
        error = "cannot prepare the process start";
        return false;
    }
    pid_t child = 0;
    const int status = ::posix_spawnp(&child, program.c_str(), settings.Actions(),
                                      settings.Attributes(), argv.data(), environ);
    if (status != 0) {
        error = std::strerror(status);
        return false;
    }
    RunningChildren().push_back(child);
    return true;
}

} // namespace dvk
