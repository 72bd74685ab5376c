// Reads the password for a login from standard input: from a terminal after a prompt and without
// echo, otherwise (a pipe, a file) the first line as it stands, so that scripts can hand it in.
#ifndef QORVI_HOST_PASSWORDREADER_H
#define QORVI_HOST_PASSWORDREADER_H

#include <cstddef>
#include <string>

class PasswordReader
{
public:
    // Longest password accepted, in bytes.
    static constexpr std::size_t kMaxBytes = 4096;

    // The first line of standard input without its line end; false with a sentence for the user in
    // error when there is none (end of input, too long, unreadable). The prompt names the user.
    static bool Read(const std::string& user, std::string& password, std::string& error);

private:
    static bool ReadLine(std::string& line, std::string& error);
};

#endif
