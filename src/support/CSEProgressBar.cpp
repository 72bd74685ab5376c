// CSEProgressBar: opens the host's progress display on construction and closes it on destruction.
#include "CSEProgressBar.h"

#include "CSEMsgMgr.h"

CSEProgressBar::CSEProgressBar() : CSEProgressBar(1)
{
}

CSEProgressBar::CSEProgressBar(int steps)
{
    CSEMsgMgr::ProgressStart(steps);
}

CSEProgressBar::~CSEProgressBar()
{
    CSEMsgMgr::ProgressEnd();
}

void CSEProgressBar::ProgressShowNextStep(CSEString text)
{
    CSEMsgMgr::ProgressShowNextStep(text);
}
