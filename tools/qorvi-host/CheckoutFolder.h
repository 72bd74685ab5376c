// The folder a checkout fills: made when it is missing (its parent must exist), and named to the
// service as an absolute path without links or "." and ".." steps, so that the folder the answer
// names can be compared with it as text.
#ifndef QORVI_HOST_CHECKOUTFOLDER_H
#define QORVI_HOST_CHECKOUTFOLDER_H

#include <string>

class CheckoutFolder
{
public:
    // folder = the canonical path of given, created when missing; false with a sentence for the
    // user in error when it cannot be had.
    static bool Prepare(const std::string& given, std::string& folder, std::string& error);
};

#endif
