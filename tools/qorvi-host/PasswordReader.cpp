// The terminal's echo is switched off only while the password is typed, and switched back on when
// an interrupt or termination signal arrives meanwhile, so the shell is never left without echo.
#include "PasswordReader.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

struct termios g_savedTerminal;
volatile std::sig_atomic_t g_echoOff = 0;
const int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

void RestoreEchoAndRaise(int signalNumber)
{
    if (g_echoOff != 0)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    g_echoOff = 0;
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Echo off for the lifetime of the object (when standard input is a terminal that allows it).
class EchoOff
{
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0)
            return;
        for (int signalNumber : kRestoringSignals)
            m_previous[Index(signalNumber)] = std::signal(signalNumber, RestoreEchoAndRaise);
        struct termios silent = g_savedTerminal;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        g_echoOff = tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent) == 0 ? 1 : 0;
        m_bInstalled = true;
    }
    ~EchoOff()
    {
        if (!m_bInstalled)
            return;
        if (g_echoOff != 0)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
        g_echoOff = 0;
        for (int signalNumber : kRestoringSignals)
            std::signal(signalNumber, m_previous[Index(signalNumber)]);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    static std::size_t Index(int signalNumber)
    {
        for (std::size_t i = 0; i < sizeof kRestoringSignals / sizeof kRestoringSignals[0]; ++i) {
            if (kRestoringSignals[i] == signalNumber)
                return i;
        }
        return 0;
    }

    void (*m_previous[sizeof kRestoringSignals / sizeof kRestoringSignals[0]])(int) = {};
    bool m_bInstalled = false;
};

} // namespace

bool PasswordReader::ReadLine(std::string& line, std::string& error)
{
    line.clear();
    for (;;) {
        const int c = std::getc(stdin);
        if (c == '\n')
            break;
        if (c == EOF) {
            if (std::ferror(stdin)) {
                error = std::string("the password could not be read from standard input: ") + std::strerror(errno);
                return false;
            }
            if (line.empty()) {
                error = "no password on standard input (give --password or a line on standard input)";
                return false;
            }
            break;
        }
        if (c == '\0') {
            error = "the password on standard input holds a NUL byte";
            return false;
        }
        if (line.size() == kMaxBytes) {
            error = "the password on standard input is longer than " + std::to_string(kMaxBytes) + " bytes";
            return false;
        }
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool PasswordReader::Read(const std::string& user, std::string& password, std::string& error)
{
    if (!isatty(STDIN_FILENO))
        return ReadLine(password, error);
    // Echo off before the prompt: what is typed once the prompt shows is never echoed.
    EchoOff echoOff;
    std::fprintf(stderr, "Password for %s: ", user.c_str());
    std::fflush(stderr);
    return ReadLine(password, error);
}
