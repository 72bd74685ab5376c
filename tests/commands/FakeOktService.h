// Test peer: a tiny integration service on 127.0.0.1. It publishes its port in "okt.port" of a
// profile folder, reads each thin request, loads the request file it names, writes the full
// response file that the test's script makes of it and answers with a thin response.
#ifndef QORVI_TESTS_COMMANDS_FAKEOKTSERVICE_H
#define QORVI_TESTS_COMMANDS_FAKEOKTSERVICE_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace commandtest {

class FakeOktService
{
public:
    // The full response for a request text; an empty answer makes the service hang up instead.
    typedef std::function<std::string(const std::string& request)> Script;

    // Every wait ends by itself, so a broken exchange fails a test instead of hanging it.
    static constexpr int kWaitMs = 5000;

    FakeOktService(const std::string& responseFolder, Script script)
        : m_responseFolder(responseFolder), m_script(std::move(script))
    {
    }

    ~FakeOktService() { Stop(); }

    // Listens on an ephemeral port, writes it to profileFolder + "/okt.port" and serves one
    // client on a thread. False when the socket cannot be set up.
    bool Start(const std::string& profileFolder)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_listener < 0)
            return false;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof(address);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(m_listener, 1) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return false;
        std::ofstream(profileFolder + "/okt.port") << ntohs(address.sin_port) << "\n";
        m_thread = std::thread([this] { Serve(); });
        return true;
    }

    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            ::close(m_listener);
        m_listener = -1;
    }

    // The request files read so far, in order.
    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    // A full response envelope with the given result and reason text.
    static std::string Envelope(const std::string& cname, const std::string& result,
                                const std::string& reason)
    {
        return "<?xml version='1.0'?><response cname='" + cname + "' iid='1' ver='10.7.SP1' "
               "MCAD='DravikAddin' result='" + result + "'><info><reason>" + reason +
               "</reason></info></response>";
    }

    // The value of attribute name in the first tag of text (single or double quotes).
    static std::string AttributeOf(const std::string& text, const std::string& name)
    {
        for (const char quote : {'\'', '"'}) {
            const std::string head = " " + name + "=" + quote;
            const std::size_t at = text.find(head);
            if (at == std::string::npos)
                continue;
            const std::size_t begin = at + head.size();
            const std::size_t end = text.find(quote, begin);
            if (end != std::string::npos)
                return text.substr(begin, end - begin);
        }
        return std::string();
    }

    // What the thin response names; the tests point it at a missing file to break a response.
    std::string m_responseFileName = "Response.xml";

private:
    void Serve()
    {
        const int client = Accept();
        if (client < 0)
            return;
        std::string pending;
        while (!m_stop) {
            std::string thin;
            if (!ReadThinRequest(client, pending, thin))
                break;
            std::string requestText;
            ReadFile(AttributeOf(thin, "dirname") + "/" + AttributeOf(thin, "filename"), requestText);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back(requestText);
            }
            const std::string full = m_script(requestText);
            if (full.empty())
                break;
            std::ofstream(m_responseFolder + "/Response.xml", std::ios::binary) << full;
            const std::string answer = "<?xml version='1.0'?><response dirname='" + m_responseFolder +
                                       "' filename='" + m_responseFileName + "'></response>";
            if (::send(client, answer.data(), answer.size(), MSG_NOSIGNAL) !=
                static_cast<ssize_t>(answer.size()))
                break;
        }
        ::close(client);
    }

    int Accept()
    {
        for (int waited = 0; waited < kWaitMs && !m_stop; waited += 50) {
            pollfd entry{m_listener, POLLIN, 0};
            if (::poll(&entry, 1, 50) > 0)
                return ::accept(m_listener, nullptr, nullptr);
        }
        return -1;
    }

    // One thin request: everything up to the "/>" that closes its "request" element.
    bool ReadThinRequest(int client, std::string& pending, std::string& thin)
    {
        for (int waited = 0; waited < kWaitMs && !m_stop;) {
            const std::size_t start = pending.find("<request");
            const std::size_t end = start == std::string::npos ? start : pending.find("/>", start);
            if (end != std::string::npos) {
                thin = pending.substr(0, end + 2);
                pending.erase(0, end + 2);
                return true;
            }
            pollfd entry{client, POLLIN, 0};
            const int ready = ::poll(&entry, 1, 50);
            if (ready == 0) {
                waited += 50;
                continue;
            }
            char buffer[4096];
            const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                return false;
            pending.append(buffer, static_cast<std::size_t>(got));
        }
        return false;
    }

    static void ReadFile(const std::string& path, std::string& text)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        text = bytes.str();
    }

    std::string m_responseFolder;
    Script m_script;
    int m_listener = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
};
} // namespace commandtest

using commandtest::FakeOktService;

#endif
