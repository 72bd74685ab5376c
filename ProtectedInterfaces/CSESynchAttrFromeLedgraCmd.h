// CSESynchAttrFromeLedgraCmd: the "attributesynch" command from the server to the CAD side
// ("ledgra-to-cad"): objects travel without attributes, the answer brings the server's values.
#ifndef CSESYNCHATTRFROMELEDGRACMD_H
#define CSESYNCHATTRFROMELEDGRACMD_H

#include "CSESynchAttrCmd.h"

/// The "attributesynch" command in the direction "ledgra-to-cad".
class CSESynchAttrFromeLedgraCmd : public CSESynchAttrCmd
{
public:
    /// Named "attributesynch" with the direction "ledgra-to-cad" and an empty object list; throws
    /// the CSEException of the command header when the installation folder is not set.
    CSESynchAttrFromeLedgraCmd();
    /// Shares the request packet and the response with other (see CSECommand).
    CSESynchAttrFromeLedgraCmd(const CSESynchAttrFromeLedgraCmd& other);
    /// Releases this command's packet and response, then shares other's.
    CSESynchAttrFromeLedgraCmd& operator=(const CSESynchAttrFromeLedgraCmd& other);
    /// Releases the packet and the response unless a copy still shares them.
    ~CSESynchAttrFromeLedgraCmd() override;
};

#endif
