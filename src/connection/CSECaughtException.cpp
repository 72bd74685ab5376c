// Names the exception being handled without letting anything escape the handler.
#include "connection/CSECaughtException.h"

#include <exception>

CSEString DescribeCaughtException()
{
    try {
        throw;
    } catch (const std::exception& error) {
        const char* message = error.what();
        if (message != nullptr && *message != '\0')
            return CSEString(message);
    } catch (...) {
    }
    return CSEString(u"an unknown exception");
}
