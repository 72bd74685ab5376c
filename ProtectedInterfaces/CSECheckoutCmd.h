/// \file
/// CSECheckoutCmd: the "checkout" command.
#ifndef CSECHECKOUTCMD_H
#define CSECHECKOUTCMD_H

#include "CSECommonCheckoutCmd.h"

/// The "checkout" command.
class CSECheckoutCmd : public CSECommonCheckoutCmd
{
public:
    /// Named "checkout", with its command header.
    CSECheckoutCmd();
    /// Named as given, without a command header (the caller builds one).
    explicit CSECheckoutCmd(const CSEString& name);
    ~CSECheckoutCmd() override;
};

#endif
