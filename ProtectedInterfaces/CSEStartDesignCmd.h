// CSEStartDesignCmd: the "startdesign" command, which starts a new design from the server.
#ifndef CSESTARTDESIGNCMD_H
#define CSESTARTDESIGNCMD_H

#include "CSECommonCheckoutCmd.h"

class CSEStartDesignCmd : public CSECommonCheckoutCmd
{
public:
    CSEStartDesignCmd();
    ~CSEStartDesignCmd() override;
};

#endif
