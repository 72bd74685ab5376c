// CSECmdInfoExCmd: a CAD object record that carries command information.
#include "CSECmdInfoExCmd.h"

CSECmdInfoExCmd::CSECmdInfoExCmd() = default;

CSECmdInfoExCmd::CSECmdInfoExCmd(const CSECmdInfoExCmd& other) = default;

CSECmdInfoExCmd& CSECmdInfoExCmd::operator=(const CSECmdInfoExCmd& other) = default;

CSECmdInfoExCmd::~CSECmdInfoExCmd() = default;
