// Result of an operation of the host XML layer: a code and, on failure, a readable description.
#ifndef QORVI_HOST_DVKXMLSTATUS_H
#define QORVI_HOST_DVKXMLSTATUS_H

#include <string>
#include <utility>

namespace dvk {

enum class XmlStatusCode
{
    Ok,
    FileError,       // the file cannot be opened, read or written
    ParseError,      // the text is not a well-formed document
    InvalidArgument, // a name is not an XML name, or a node of the wrong kind was given
    NotAChild,       // the node to remove is not a child of the node asked
    XPathError,      // the expression does not compile or does not yield a node set
    OutOfMemory
};

class XmlStatus
{
public:
    XmlStatus() = default;
    XmlStatus(XmlStatusCode code, std::string description)
        : m_code(code), m_description(std::move(description))
    {
    }

    bool IsOk() const { return m_code == XmlStatusCode::Ok; }
    explicit operator bool() const { return IsOk(); }
    XmlStatusCode Code() const { return m_code; }
    // UTF-8 text for log lines; empty on success.
    const std::string& Description() const { return m_description; }

private:
    XmlStatusCode m_code = XmlStatusCode::Ok;
    std::string m_description;
};

} // namespace dvk

#endif
