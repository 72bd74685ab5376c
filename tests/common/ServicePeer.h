// Test peer: a small integration service on the loopback interface. For each request pointer it
// reads the request file that the pointer names, asks the test's script for the full response,
// writes it as "Response.xml" beside the request and answers with the thin response naming it.
#ifndef QORVI_TESTS_COMMON_SERVICEPEER_H
#define QORVI_TESTS_COMMON_SERVICEPEER_H

#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "common/LoopbackPeer.h"
#include "host/DVKFiles.h"

class ServicePeer
{
public:
    // The full response to a request text; an empty one makes the service hang up instead.
    using Script = std::function<std::string(const std::string& request)>;

    // respondedFile is what the thin response names; the tests name a missing file to break one.
    explicit ServicePeer(Script script, std::string respondedFile = "Response.xml")
        : m_script(std::move(script)), m_respondedFile(std::move(respondedFile))
    {
        m_peer.Serve([this](int fd) { ServeExchanges(fd); });
    }
    // Lets go of the client first, so that the script ends at once instead of awaiting a request.
    ~ServicePeer() { m_peer.Hangup(); }
    ServicePeer(const ServicePeer&) = delete;
    ServicePeer& operator=(const ServicePeer&) = delete;

    unsigned int Port() const { return m_peer.Port(); }

    // The request files read so far, in order.
    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    // A full response of the given result whose "info" holds the given markup.
    static std::string Response(const std::string& cname, const std::string& result, const std::string& info)
    {
        return "<?xml version='1.0' encoding='UTF-8'?><response cname='" + cname +
               "' iid='1' ver='10.7.SP1' MCAD='DravikAddin' result='" + result + "'><info>" + info +
               "</info></response>";
    }

    // A script that answers every request with the result and info, under the request's own name.
    static Script Answer(const std::string& result, const std::string& info)
    {
        return [=](const std::string& request) { return Response(AttributeOf(request, "cname"), result, info); };
    }

    // The value of attribute name in the first tag of text that has it (single or double quotes).
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

    // The whole file; empty when it cannot be read.
    static std::string ReadWholeFile(const std::string& path)
    {
        std::string bytes;
        return dvk::ReadWholeFile(path, bytes) ? bytes : std::string();
    }

private:
    void ServeExchanges(int fd)
    {
        for (;;) {
            const std::string pointer = loopback::ReadBytes(fd, std::string::npos, "/>");
            if (pointer.find("/>") == std::string::npos)
                return;
            const std::string folder = AttributeOf(pointer, "dirname");
            const std::string request = ReadWholeFile(folder + "/" + AttributeOf(pointer, "filename"));
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back(request);
            }
            const std::string response = m_script(request);
            if (response.empty())
                return;
            std::ofstream(folder + "/Response.xml", std::ios::binary) << response;
            if (!loopback::SendBytes(fd, "<?xml version='1.0'?><response dirname='" + folder + "' filename='" +
                                             m_respondedFile + "'></response>"))
                return;
        }
    }

    Script m_script;
    std::string m_respondedFile;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
    loopback::LoopbackPeer m_peer; // last: its thread uses everything above
};

#endif
