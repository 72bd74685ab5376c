// CSESynchAttrFromeLedgraCmd: "attributesynch" from the server to the CAD side.
#include "CSESynchAttrFromeLedgraCmd.h"

CSESynchAttrFromeLedgraCmd::CSESynchAttrFromeLedgraCmd() : CSESynchAttrCmd(CSEString(u"ledgra-to-cad")) {}
CSESynchAttrFromeLedgraCmd::CSESynchAttrFromeLedgraCmd(const CSESynchAttrFromeLedgraCmd& other) = default;
CSESynchAttrFromeLedgraCmd& CSESynchAttrFromeLedgraCmd::operator=(const CSESynchAttrFromeLedgraCmd& other) =
    default;
CSESynchAttrFromeLedgraCmd::~CSESynchAttrFromeLedgraCmd() = default;
