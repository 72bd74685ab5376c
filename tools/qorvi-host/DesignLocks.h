// Locks, unlocks and shows the lock state of the objects of a checked-out design, printing a table
// of the service's answer.
#ifndef QORVI_HOST_DESIGNLOCKS_H
#define QORVI_HOST_DESIGNLOCKS_H

#include <cstdio>
#include <string>
#include <vector>

#include <CSEObjectInfo.h>

class DesignLocks
{
public:
    enum class Action
    {
        Lock,
        Unlock,
        Status
    };
    enum class Outcome
    {
        Succeeded,
        Failed,
        NoAnswer
    };

    // Lock and Unlock first ask for the lock state and send only the objects whose state is to
    // change; Status prints the state of every object. Failed: error says why (objects the service
    // could not lock or unlock were also shown through the message manager).
    static Outcome Run(Action action, const CSEObjectInfoVector& objects, std::FILE* out, std::string& error);

    // The rows as a table whose columns are as wide as their widest cell; the first row is the
    // header, followed by a rule.
    static std::vector<std::string> Table(const std::vector<std::vector<std::string>>& rows);

private:
    static Outcome Status(const CSEObjectInfoVector& objects, CSEObjectInfoVector& answered, std::string& error);
};

#endif
