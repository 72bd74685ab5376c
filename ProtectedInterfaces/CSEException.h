/// \file
/// CSEException: the library's one exception, for failures that abandon a whole operation.
#ifndef CSEEXCEPTION_H
#define CSEEXCEPTION_H

#include <exception>
#include <string>

#include "CSEString.h"

/// The library raises only CSEExceptionError.
enum CSEExceptionType
{
    CSEExceptionNone = 0,
    CSEExceptionError = 1
};

/// Thrown by value, caught by reference. Carries an identifier (the type, for the library's own
/// exceptions), the message, and the source file and line where it was raised. The library raises it
/// with the host's text for a message identifier (CSEMsgMgr::GetMsgOrId): the identifier itself only
/// when the host has no text for it. Where it is raised: CSEClientSettings::GetInstance and every
/// constructor and builder that needs the client's identity, when the installation folder is not
/// set; a refused login. The message is logged
/// at priority 2 when the exception is built, and again with file and line when it is destroyed.
class CSEException : public std::exception
{
public:
    /// An exception with message and type, raised at file and line.
    CSEException(const char* file, int line, const CSEString& message, CSEExceptionType type);
    CSEException();
    /// An exception with identifier id and no message.
    explicit CSEException(unsigned int id);
    /// An identifier with the two parameters of its error text (null reads as empty); message and
    /// file stay empty.
    CSEException(unsigned int id, const char* parameter1, const char* parameter2);
    /// An exception with the two parameters of its error text (null reads as empty) and identifier 0.
    CSEException(const char* parameter1, const char* parameter2);
    /// Copies identifier, message, type, place and parameters.
    CSEException(const CSEException& other);
    /// Copies identifier, message, type, place and parameters; returns this exception.
    CSEException& operator=(const CSEException& other);
    ~CSEException() override;

    /// Returns "CSEException".
    static const char* ClassName() { return "CSEException"; }
    /// This class's name, and (for derived classes) the names of the classes it is a kind of.
    virtual bool IsA(const char* className) const;
    /// True when className names this class or a base class of it.
    virtual bool IsAKindOf(const char* className) const;
    /// A new heap copy; the caller deletes it.
    virtual CSEException* CloneSelf() const;

    /// Returns the message.
    const CSEString& GetMsg() const { return m_sMessage; }
    /// Returns the identifier.
    unsigned int GetId() const { return m_iId; }
    /// Returns the type.
    CSEExceptionType GetType() const { return m_eType; }
    /// Returns the source file where it was raised; empty when unknown.
    const CSEString& GetFile() const { return m_sFile; }
    /// Returns the source line where it was raised; 0 when unknown.
    int GetLine() const { return m_iLine; }
    /// Parameter 1 or 2 of the error text; empty for any other number.
    CSEString GetParameter(int number) const;
    /// Records where the exception was raised.
    void Setup(const char* file, int line);
    /// The message as UTF-8.
    const char* what() const noexcept override;

protected:
    /// Appends "- File:" + file + "Line:" + line to the message and returns the result in out.
    void FormatMsg(CSEString& out);
    /// Writes the message to the library log at priority 2.
    void Log() const;

private:
    void SetMessage(const CSEString& message);

    unsigned int m_iId;
    CSEString m_sMessage;
    CSEExceptionType m_eType;
    CSEString m_sFile;
    int m_iLine;
    CSEString m_sParameter1;
    CSEString m_sParameter2;
    std::string m_sWhat;
};

#endif
