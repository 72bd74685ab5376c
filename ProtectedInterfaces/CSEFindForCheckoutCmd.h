/// \file
/// CSEFindForCheckoutCmd: the "find" command, which looks up designs to check out.
#ifndef CSEFINDFORCHECKOUTCMD_H
#define CSEFINDFORCHECKOUTCMD_H

#include "CSECommonCheckoutCmd.h"

/// The "find" command, which looks up designs to check out.
class CSEFindForCheckoutCmd : public CSECommonCheckoutCmd
{
public:
    CSEFindForCheckoutCmd();
    ~CSEFindForCheckoutCmd() override;

    void setOldFileName(CSEObjectInfo& obj) override;
    /// Back to the name "find" with a fresh command header; what was read from the last answer is
    /// forgotten.
    void ResetFindForCheckoutCmd();
};

#endif
