// Process services of the host platform: identity, program lookup and starting programs.
#ifndef QORVI_HOST_DVKPROCESS_H
#define QORVI_HOST_DVKPROCESS_H

#include <string>
#include <vector>

namespace dvk {

// The id of the running process.
int GetProcessId();

// The login name of the effective user; empty when the user database has no entry for it.
std::string GetEffectiveUserName();

// True when program names an executable regular file: a name holding "/" is checked as it stands,
// any other name is searched in the folders of $PATH (an empty entry is the current folder).
// fullPath receives the file found.
bool FindProgramOnPath(const std::string& program, std::string& fullPath);

// Starts program (searched on $PATH as execvp does) with argv[1..] = arguments, each passed as one
// argument and never through a shell; the child gets no descriptor beyond 0, 1 and 2. Does not wait
// for the child; children started earlier that have ended are reaped on every call. False (with
// the reason in error) when the program cannot be started.
bool StartDetachedProcess(const std::string& program, const std::vector<std::string>& arguments,
                          std::string& error);

// Reaps every child started by StartDetachedProcess that has ended; returns how many still run.
int ReapDetachedProcesses();

} // namespace dvk

#endif
