// CSESynchAttrToeLedgraCmd: the "attributesynch" command from the CAD side to the server
// ("cad-to-ledgra"): each object travels with its attributes.
#ifndef CSESYNCHATTRTOELEDGRACMD_H
#define CSESYNCHATTRTOELEDGRACMD_H

#include "CSESynchAttrCmd.h"

/// The "attributesynch" command in the direction "cad-to-ledgra".
class CSESynchAttrToeLedgraCmd : public CSESynchAttrCmd
{
public:
    /// Named "attributesynch" with the direction "cad-to-ledgra" and an empty object list; throws
    /// the CSEException of the command header when the installation folder is not set.
    CSESynchAttrToeLedgraCmd();
    /// Shares the request packet and the response with other (see CSECommand).
    CSESynchAttrToeLedgraCmd(const CSESynchAttrToeLedgraCmd& other);
    /// Releases this command's packet and response, then shares other's.
    CSESynchAttrToeLedgraCmd& operator=(const CSESynchAttrToeLedgraCmd& other);
    /// Releases the packet and the response unless a copy still shares them.
    ~CSESynchAttrToeLedgraCmd() override;

    /// The object as the base adds it, with one "attribute" child per attribute in list order.
    /// Returns its identifier, or the base's failure.
    int AddObjectToRequest(const CSEObjectInfo& obj) override;
    /// Adds the object's attributes to the "cadobject" of its cadid under
    /// "//response/cadobjectlist" (a response-shaped packet the host built); returns 0.
    int AddAtributesToRequest(const CSEObjectInfo& obj) override;
    /// As the base, but the folder is "dirname" as written.
    void GetObjectInfoListFromResponse(CSEObjectInfoVector& out) override;
    /// Adds each object with its attributes, without the bus fields.
    void AddObjectInfoListToRequest(const CSEObjectInfoVector& objects);
};

#endif
