/// \file
/// CSEUserDefinedCmd: the "userdefined" command, which runs a site's own command behind a page of the
/// PDM web interface.
#ifndef CSEUSERDEFINEDCMD_H
#define CSEUSERDEFINEDCMD_H

#include "CSECommand.h"

/// The "userdefined" command, which runs a site's own command behind a page of the PDM web interface.
class CSEUserDefinedCmd : public CSECommand
{
public:
    CSEUserDefinedCmd();
    ~CSEUserDefinedCmd() override;

    /// Sets "url" and "hangbrowser" ("false") on "//command" and the command text, unchanged, as the
    /// element "userdefinedcommand"; a later call replaces the command of an earlier one.
    void SetJSPNameNCommand(const CSEString& page, const CSEString& command);
    /// As above; "hangbrowser" is "true" when hangBrowser is not 0.
    void SetJSPNameNCommand(const CSEString& page, const CSEString& command, int hangBrowser);
};

#endif
