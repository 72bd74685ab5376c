// CSEStartDesignCmd: the "startdesign" command.
#include "CSEStartDesignCmd.h"

CSEStartDesignCmd::CSEStartDesignCmd()
{
    ConstructCommand(CSEString(u"[CSEStartDesignCmd::CSEStartDesignCmd()]"), CSEString(u"startdesign"));
}

CSEStartDesignCmd::~CSEStartDesignCmd() = default;
