// A checkout request for designs named by the user: the library's "checkout" command with one
// "cadobject" per design, each with the folder its files go into.
#ifndef MINIMAL_PLUGIN_DESIGNCHECKOUTCMD_H
#define MINIMAL_PLUGIN_DESIGNCHECKOUTCMD_H

#include <CSECheckoutCmd.h>

class DesignCheckoutCmd : public CSECheckoutCmd
{
public:
    // Asks for the latest version of the design, its files placed in folder, locked for the user
    // when lock is true. False when the request cannot take it.
    bool AddDesign(const CSEString& name, const CSEString& folder, bool lock);

private:
    int m_listId = -1;
};

#endif
