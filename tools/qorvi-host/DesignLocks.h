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

    // Lock and Unlock first ask for the lock state: Lock sends every object that user does not hold
    // (so that locks of other users are reported), Unlock the objects that user holds; Status
    // prints the state and holder of every object. Failed: error says why (objects the service
    // could not lock or unlock were also shown through the message manager).
    static Outcome Run(Action action, const CSEObjectInfoVector& objects, const std::string& user, std::FILE* out,
                       std::string& error);

    // The rows as a table whose columns are as wide as their widest cell; the first row is the
    // header, followed by a rule.
    static std::vector<std::string> Table(const std::vector<std::vector<std::string>>& rows);

private:
    // The lock state of the objects; holders[i] is who holds answered[i] (empty: nobody).
    static Outcome Status(const CSEObjectInfoVector& objects, CSEObjectInfoVector& answered,
                          std::vector<std::string>& holders, std::string& error);
};

#endif
