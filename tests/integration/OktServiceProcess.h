// The reference integration service as a child process of a test: started on a profile folder,
// ready once it has published its port in "okt.port", and always ended (SIGTERM, then SIGKILL) so
// that no test hangs on it.
#ifndef QORVI_TESTS_INTEGRATION_OKTSERVICEPROCESS_H
#define QORVI_TESTS_INTEGRATION_OKTSERVICEPROCESS_H

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CSECommand.h"
#include "CSELoginExCmd.h"
#include "CSEObjectInfo.h"
#include "CSEResponse.h"
#include "common/ServicePeer.h"

extern char** environ;

class OktServiceProcess
{
public:
    OktServiceProcess() = default;
    ~OktServiceProcess() { Stop(SIGTERM); }
    OktServiceProcess(const OktServiceProcess&) = delete;
    OktServiceProcess& operator=(const OktServiceProcess&) = delete;

    // Starts the service with the given further options, its exchange log in logFile and its output
    // beside it; true once it listens. On failure, Error() says why.
    bool Start(const std::string& profile, const std::string& logFile, std::vector<std::string> options = {})
    {
        Stop(SIGKILL);
        const std::string portFile = profile + "/okt.port";
        const std::string output = logFile + ".out";
        ::unlink(portFile.c_str()); // a dead service's port must not pass for the new one's
        std::vector<std::string> arguments = {QORVI_PYTHON, std::string(QORVI_SOURCE_DIR) + "/tools/okt-service/okt_service.py",
                                              "--profile", profile, "--log", logFile};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(&argument[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        const int spawned = ::posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            m_pid = -1;
            m_error = "the service could not be started";
            return false;
        }
        for (int waited = 0; waited < 15000; waited += 20) {
            const std::string port = ServicePeer::ReadWholeFile(portFile);
            if (!port.empty() && port.back() == '\n')
                return true;
            if (!Running())
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        m_error = "the service did not publish its port; its output: " + ServicePeer::ReadWholeFile(output);
        Stop(SIGKILL);
        return false;
    }

    // Ends the service with the signal (SIGKILL: as if it crashed) and waits for it; SIGKILL follows
    // when it does not end within 5 s.
    void Stop(int signal)
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, signal);
        for (int waited = 0; Running(); waited += 10) {
            if (waited == 5000)
                ::kill(m_pid, SIGKILL);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    const std::string& Error() const { return m_error; }

private:
    // False once the service has ended (and been reaped).
    bool Running()
    {
        int status = 0;
        if (m_pid > 0 && ::waitpid(m_pid, &status, WNOHANG) == 0)
            return true;
        m_pid = -1;
        return false;
    }

    pid_t m_pid = -1;
    std::string m_error;
};

// Runs the command; the response's result, and its reason when it is no success.
inline std::string Executed(CSECommand& command)
{
    CSEString thin;
    if (command.Execute(thin) != 0)
        return "not executed";
    const std::string result = command.GetResponseObject()->GetResult()().ToUTF8();
    return result == "success" ? result : result + ": " + command.GetResponseObject()->GetReason()().ToUTF8();
}

// Logs in with loginEx as the user with the password; what Executed gives.
inline std::string LogInAs(const CSEString& user, const CSEString& password)
{
    CSELoginExCmd login;
    CSEObjectInfo credentials;
    credentials.userText1 = user;
    credentials.userText2 = password;
    login.AddExtraCmdNodeInfoForLoginEx(credentials);
    return Executed(login);
}

#endif
