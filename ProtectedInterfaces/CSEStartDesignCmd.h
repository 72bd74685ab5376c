/// \file
/// CSEStartDesignCmd: the "startdesign" command, which starts a new design from the server.
#ifndef CSESTARTDESIGNCMD_H
#define CSESTARTDESIGNCMD_H

#include "CSECommonCheckoutCmd.h"

/// The "startdesign" command, which starts a new design from the server.
class CSEStartDesignCmd : public CSECommonCheckoutCmd
{
public:
    CSEStartDesignCmd();
    ~CSEStartDesignCmd() override;
};

#endif
