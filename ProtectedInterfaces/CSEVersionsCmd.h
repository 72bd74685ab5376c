/// \file
/// CSEVersionsCmd: the "versions" command, which asks for the versions of CAD objects.
#ifndef CSEVERSIONSCMD_H
#define CSEVERSIONSCMD_H

#include "CSECommand.h"

class CSEObjectInfo;

/// The "versions" command, which asks for the versions of CAD objects.
class CSEVersionsCmd : public CSECommand
{
public:
    CSEVersionsCmd();
    ~CSEVersionsCmd() override;

    /// Adds a new "cadobjectlist" under "/command" holding one "cadobject" for the object, with its
    /// attributes as name/value pairs; returns the identifier of that "cadobject" (-1 without a
    /// request packet).
    int AddObjectToCmdPacket(CSEObjectInfo& obj);
};

#endif
