// The reference integration service as a child process of a test: started on a profile folder, its
// "listening" line awaited, and always ended (SIGTERM, then SIGKILL) so that no test hangs on it.
#ifndef QORVI_TESTS_INTEGRATION_OKTSERVICEPROCESS_H
#define QORVI_TESTS_INTEGRATION_OKTSERVICEPROCESS_H

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class OktServiceProcess
{
public:
    static constexpr int kStartTimeoutMs = 15000;
    static constexpr int kStopTimeoutMs = 5000;

    OktServiceProcess() = default;
    ~OktServiceProcess() { Stop(SIGTERM); }
    OktServiceProcess(const OktServiceProcess&) = delete;
    OktServiceProcess& operator=(const OktServiceProcess&) = delete;

    // Starts the service on the profile folder with the given further options; true once it listens.
    // On failure, Error() says why.
    bool Start(const std::string& profile, const std::string& logFile, const std::vector<std::string>& options = {})
    {
        Stop(SIGKILL);
        std::vector<std::string> arguments = {QORVI_PYTHON, std::string(QORVI_SOURCE_DIR) + "/tools/okt-service/okt_service.py",
                                              "--profile", profile, "--log", logFile};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(&argument[0]);
        argv.push_back(nullptr);

        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return Fail("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        const int spawned = ::posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) {
            ::close(out[0]);
            m_pid = -1;
            return Fail("the service could not be started");
        }
        const bool listening = AwaitListening(out[0]);
        ::close(out[0]);
        if (!listening) {
            Stop(SIGKILL);
            return false;
        }
        return true;
    }

    // Ends the service with the signal (SIGKILL: as if it crashed) and waits for it; SIGKILL follows
    // when it does not end in time.
    void Stop(int signal)
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, signal);
        if (!AwaitExit(kStopTimeoutMs)) {
            ::kill(m_pid, SIGKILL);
            AwaitExit(kStopTimeoutMs);
        }
        m_pid = -1;
    }

    int Port() const { return m_port; }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& error)
    {
        m_error = error;
        return false;
    }

    bool AwaitListening(int fd)
    {
        static const std::string kReady = "okt-service listening on 127.0.0.1:";
        std::string output;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
        for (;;) {
            const std::size_t at = output.find(kReady);
            const std::size_t end = at == std::string::npos ? at : output.find('\n', at);
            if (end != std::string::npos) {
                m_port = std::atoi(output.c_str() + at + kReady.size());
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return Fail("the service did not report that it listens; its output: " + output);
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[512];
            const ssize_t got = ::read(fd, buffer, sizeof(buffer));
            if (got <= 0)
                return Fail("the service ended before it listened; its output: " + output);
            output.append(buffer, static_cast<std::size_t>(got));
        }
    }

    bool AwaitExit(int timeoutMs)
    {
        for (int waited = 0; waited <= timeoutMs; waited += 10) {
            int status = 0;
            const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid || done < 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_error;
};

#endif
