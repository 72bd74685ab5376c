// CSEEncryptionCmd: the "encryptionkey" command; it asks the service for key material and has no body.
#include "CSEEncryptionCmd.h"

CSEEncryptionCmd::CSEEncryptionCmd()
{
    ConstructCommand(CSEString(u"[CSEEncryptionCmd::CSEEncryptionCmd()]"), CSEString(u"encryptionkey"));
}

CSEEncryptionCmd::~CSEEncryptionCmd() = default;
