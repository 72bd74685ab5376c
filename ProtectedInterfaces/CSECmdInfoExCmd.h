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
    CSECmdInfoExCmd(const CSECmdInfoExCmd& other);
    CSECmdInfoExCmd& operator=(const CSECmdInfoExCmd& other);
    ~CSECmdInfoExCmd() override;

    CSEString cmdInfoText1;
    CSEString cmdInfoText2;
};

#endif
