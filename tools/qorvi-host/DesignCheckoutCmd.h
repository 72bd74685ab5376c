// The host's checkout request: the library's "checkout" command with the designs to check out,
// each by name, into one folder.
#ifndef QORVI_HOST_DESIGNCHECKOUTCMD_H
#define QORVI_HOST_DESIGNCHECKOUTCMD_H

#include <CSECheckoutCmd.h>

class CSEXMLPacket;

class DesignCheckoutCmd : public CSECheckoutCmd
{
public:
    // Asks for the latest version of the design named, its files placed in folder; lock: the
    // design is locked for the user. False when the request cannot take it.
    bool AddDesign(const CSEString& name, const CSEString& folder, bool lock);
    // The parsed answer; null before Execute or when it could not be read.
    CSEXMLPacket* AnswerPacket();

private:
    int m_listId = -1;
};

#endif
