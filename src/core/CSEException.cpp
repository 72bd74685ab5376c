// CSEException: message, origin and the two log lines of each exception.
#include "CSEException.h"

#include <cstring>

#include "CSELogger.h"

namespace {

const int kExceptionLogPriority = 2;

} // namespace

CSEException::CSEException(const char* file, int line, const CSEString& message, CSEExceptionType type)
    : m_iId(static_cast<unsigned int>(type)), m_eType(type), m_iLine(0)
{
    Setup(file, line);
    SetMessage(message);
    Log();
}

CSEException::CSEException() : CSEException(0u) {}

CSEException::CSEException(unsigned int id) : m_iId(id), m_eType(CSEExceptionNone), m_iLine(0) {}

CSEException::CSEException(unsigned int id, const char* parameter1, const char* parameter2)
    : CSEException(id)
{
    m_sParameter1 = CSEString(parameter1);
    m_sParameter2 = CSEString(parameter2);
}

CSEException::CSEException(const char* parameter1, const char* parameter2)
    : CSEException(0u, parameter1, parameter2)
{
}

CSEException::CSEException(const CSEException& other) = default;
CSEException& CSEException::operator=(const CSEException& other) = default;

CSEException::~CSEException()
{
    try {
        CSEString formatted;
        FormatMsg(formatted);
        Log();
    } catch (...) {
        // A destructor must not throw; the line is lost.
    }
}

bool CSEException::IsA(const char* className) const
{
    return className != nullptr && std::strcmp(className, ClassName()) == 0;
}

bool CSEException::IsAKindOf(const char* className) const
{
    return CSEException::IsA(className);
}

CSEException* CSEException::CloneSelf() const
{
    return new CSEException(*this);
}

void CSEException::Setup(const char* file, int line)
{
    m_sFile = CSEString(file);
    m_iLine = line;
}

CSEString CSEException::GetParameter(int number) const
{
    if (number == 1)
        return m_sParameter1;
    if (number == 2)
        return m_sParameter2;
    return CSEString();
}

const char* CSEException::what() const noexcept
{
    return m_sWhat.c_str();
}

void CSEException::FormatMsg(CSEString& out)
{
    CSEString lineText;
    lineText.getCSEStringFromInt(m_iLine);
    SetMessage(m_sMessage + u"- File:" + m_sFile + u"Line:" + lineText);
    out = m_sMessage;
}

void CSEException::Log() const
{
    CSELogger::LogMsg(kExceptionLogPriority, m_sMessage);
}

void CSEException::SetMessage(const CSEString& message)
{
    m_sMessage = message;
    m_sWhat = m_sMessage().ToUTF8();
}
