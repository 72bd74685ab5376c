// Test helper: reads XML text with the strict parser the reference service uses (Python's expat),
// which refuses any document that is not well-formed XML 1.0.
#ifndef QORVI_TESTS_COMMON_STRICTXML_H
#define QORVI_TESTS_COMMON_STRICTXML_H

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

extern char** environ;

// For each UTF-8 document in turn: empty when it is well-formed, else the parser's reason. One
// run of the parser reads them all.
inline std::vector<std::string> StrictXmlErrors(const std::vector<std::string>& documents)
{
    static const char kScript[] =
        "import sys, xml.parsers.expat\n"
        "reasons = []\n"
        "for path in sys.argv[2:]:\n"
        "    try:\n"
        "        xml.parsers.expat.ParserCreate().Parse(open(path, 'rb').read(), True)\n"
        "        reasons.append('')\n"
        "    except xml.parsers.expat.ExpatError as error:\n"
        "        reasons.append(str(error) or 'refused')\n"
        "open(sys.argv[1], 'w').write(''.join(reason + '\\n' for reason in reasons))\n";
    const std::string base = "/tmp/qorvi-strict-" + std::to_string(::getpid());
    const std::string output = base + ".out";
    std::vector<std::string> arguments = {QORVI_PYTHON, "-c", kScript, output};
    for (std::size_t i = 0; i < documents.size(); ++i) {
        arguments.push_back(base + "." + std::to_string(i) + ".xml");
        std::ofstream(arguments.back(), std::ios::binary | std::ios::trunc) << documents[i];
    }
    ::unlink(output.c_str());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = 0;
    const bool ran = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 &&
                     ::waitpid(pid, &status, 0) == pid;
    std::vector<std::string> reasons;
    std::ifstream in(output);
    for (std::string line; reasons.size() < documents.size() && std::getline(in, line);)
        reasons.push_back(line);
    reasons.resize(documents.size(), ran ? "the strict parser gave no answer" : "the strict parser did not run");
    for (std::size_t i = 4; i < arguments.size(); ++i)
        ::unlink(arguments[i].c_str());
    ::unlink(output.c_str());
    return reasons;
}

inline std::string StrictXmlError(const std::string& document)
{
    return StrictXmlErrors({document}).front();
}

#endif
