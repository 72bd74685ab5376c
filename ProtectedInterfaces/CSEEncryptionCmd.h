/// \file
/// CSEEncryptionCmd: the "encryptionkey" command, which asks the service for key material.
#ifndef CSEENCRYPTIONCMD_H
#define CSEENCRYPTIONCMD_H

#include "CSECommand.h"

/// The "encryptionkey" command, which asks the service for key material.
class CSEEncryptionCmd : public CSECommand
{
public:
    CSEEncryptionCmd();
    ~CSEEncryptionCmd() override;
};

#endif
