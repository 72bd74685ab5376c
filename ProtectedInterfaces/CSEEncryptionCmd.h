// CSEEncryptionCmd: the "encryptionkey" command, which asks the service for key material.
#ifndef CSEENCRYPTIONCMD_H
#define CSEENCRYPTIONCMD_H

#include "CSECommand.h"

class CSEEncryptionCmd : public CSECommand
{
public:
    CSEEncryptionCmd();
    ~CSEEncryptionCmd() override;
};

#endif
