/// \file
/// CSERecentlyAccessedDesignsCmd: the "recentlyaccessedparts" command, which asks for the designs
/// the user worked on last.
#ifndef CSERECENTLYACCESSEDDESIGNSCMD_H
#define CSERECENTLYACCESSEDDESIGNSCMD_H

#include "CSECommand.h"

/// The "recentlyaccessedparts" command, which asks for the designs the user worked on last.
class CSERecentlyAccessedDesignsCmd : public CSECommand
{
public:
    CSERecentlyAccessedDesignsCmd();
    ~CSERecentlyAccessedDesignsCmd() override;
};

#endif
