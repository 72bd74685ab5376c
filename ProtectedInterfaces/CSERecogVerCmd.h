/// \file
/// CSERecogVerCmd: asks the server which versions it holds of the objects of a product structure.
#ifndef CSERECOGVERCMD_H
#define CSERECOGVERCMD_H

#include "CSECommonCmdForCheckinLockUnlockandRecVer.h"

/// Asks the server which versions it holds of the objects of a product structure.
class CSERecogVerCmd : public CSECommonCmdForCheckinLockUnlockandRecVer
{
public:
    /// Writes the "recognizeversion" request envelope with its empty structure sections; throws as
    /// the command header does.
    CSERecogVerCmd();
    ~CSERecogVerCmd() override;

    /// The objects of the response's object list with their names, folder, type and versions.
    CSEObjectInfoVector GetSuccessObjectInfoList();
};

#endif
