// DVKDCILockUnlockExCmd: the lock-unlock command of the extended check-in flow ("lockunlockEx").
#ifndef DVKDCILOCKUNLOCKEXCMD_H
#define DVKDCILOCKUNLOCKEXCMD_H

#include "CSELockUnlockCmd.h"

/// The lock-unlock command under the name "lockunlockEx". The request envelope written at
/// construction still names "lock-unlock"; ResetLockUnlockCmd writes it under the new name.
class DVKDCILockUnlockExCmd : public CSELockUnlockCmd
{
public:
    /// Builds the lock-unlock command and keeps "lockunlockEx" as its name. Throws as
    /// CSELockUnlockCmd does.
    DVKDCILockUnlockExCmd();
    /// Releases the command; the builder is released once, by CSELockUnlockCmd.
    ~DVKDCILockUnlockExCmd() override;
};

#endif
