// The host's side of the commands on local design files: the record of a file as the plug-in would
// know it, and the exchange of such a command with the service's answer judged.
#ifndef QORVI_HOST_LOCALDESIGNFILE_H
#define QORVI_HOST_LOCALDESIGNFILE_H

#include <string>

#include <QorviCSECommon.h>

#include "DesignCheckout.h"

class LocalDesignFile
{
public:
    // The record of the file at path: its folder (absolute, symbolic links resolved), its file
    // name, its design name (the file name without its extension) and the CAD type of the
    // extensions ".asm", ".prt" and ".drw". False with error when the folder does not exist.
    static bool Record(const std::string& path, CSEObjectInfo& object, std::string& error);
    // Executes the command: NoAnswer when the exchange fails, Failed (error holding the service's
    // reason) when the answer is not a success.
    static DesignCheckout::Outcome Exchange(CSECommand& command, const std::string& step, std::string& error);
};

#endif
