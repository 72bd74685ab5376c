// The map family's one fatal path, kept out of the public templates.
#include "CSEStringMapCore.h"

#include "host/DVKFatal.h"

void CSEMapFatalError(const char* condition)
{
    DVKFatalError(condition);
}
