#include "PluginMsgMgr.h"

#include <cstdio>
#include <string>

CSEString PluginMsgMgr::ReadResourceString(CSEString id)
{
    return id;
}

CSEString PluginMsgMgr::ReadResourceString(int id)
{
    return CSEString(std::to_string(id).c_str());
}

int PluginMsgMgr::ShowMessage(CSEString message, CSEString title, MessageBoxType type)
{
    std::fprintf(stderr, "[%s%s] %s\n", type == CSEMessageBoxError ? "error: " : "", title().ToUTF8().c_str(),
                 message().ToUTF8().c_str());
    return 0;
}

int PluginMsgMgr::ShowMessage(CSEString message, int titleId, MessageBoxType type)
{
    return ShowMessage(message, ReadResourceString(titleId), type);
}
