// The current host application object, asked for a user-interface turn while a response is awaited.
#include "DVKApplication.h"

namespace {
DVKApplication* g_currentApplication = nullptr;
}

void DVKApplication::SetCurrent(DVKApplication* application)
{
    g_currentApplication = application;
}

DVKApplication* DVKApplication::GetCurrent()
{
    return g_currentApplication;
}
