// Checks a design out by name into a folder and prints its structure as a tree: the service places
// the files, the library reads the answer into records, and the host checks every object against
// the folder (with a progress display) before it shows it.
#ifndef QORVI_HOST_DESIGNCHECKOUT_H
#define QORVI_HOST_DESIGNCHECKOUT_H

#include <cstdio>
#include <string>
#include <vector>

class CSEObjectInfoVector;
class CSEXMLPacket;

class DesignCheckout
{
public:
    enum class Outcome
    {
        Succeeded,
        Failed,
        NoAnswer
    };

    // folder: absolute and canonical (CheckoutFolder). Failed: error says why; an object that
    // leaves the folder also fails the checkout, after the tree has shown it.
    // checkedOut (when given) receives the objects of the answer.
    static Outcome Run(const std::string& design, const std::string& folder, bool lock, std::FILE* out,
                       std::string& error, CSEObjectInfoVector* checkedOut = nullptr);

private:
    // The rids of the answer's relationship list, in its order.
    static std::vector<std::string> RidOrder(CSEXMLPacket* packet);
};

#endif
