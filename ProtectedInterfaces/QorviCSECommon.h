// Umbrella header: every public class of the library.
#ifndef QORVICSECOMMON_H
#define QORVICSECOMMON_H

#include "DVKApplication.h"
#include "DVKUnicodeString.h"
#include "CSEString.h"
#include "CSELogger.h"
#include "CSEClientSettings.h"
#include "CSEMsgMgr.h"
#include "CSEProgressBar.h"

#endif
