/// \file
/// CSECmdInfoExCmd: a CAD object record with two further texts, in which the plug-in carries
/// command information.
#ifndef CSECMDINFOEXCMD_H
#define CSECMDINFOEXCMD_H

#include "CSEObjectInfo.h"

/// A CAD object record with two further texts, in which the plug-in carries command information.
class CSECmdInfoExCmd : public CSEObjectInfo
{
public:
    /// userText1, userText2 and both further texts empty; the rest as a default CSEObjectInfo.
    CSECmdInfoExCmd();
    /// Copies the command, sharing its packet and response, and both texts.
    CSECmdInfoExCmd(const CSECmdInfoExCmd& other);
    /// As the copy constructor; returns this command.
    CSECmdInfoExCmd& operator=(const CSECmdInfoExCmd& other);
    ~CSECmdInfoExCmd() override;

    CSEString cmdInfoText1;  ///<Free text for the caller; the command does not read it.
    CSEString cmdInfoText2;  ///<Free text for the caller; the command does not read it.
};

#endif
