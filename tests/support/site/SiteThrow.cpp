// The part of the test site library written in C++: an entry point that throws, as a site library
// built with C++ may.
#include <stdexcept>
#include <string>

extern "C" void SiteThrow(const char* entry)
{
    throw std::runtime_error(std::string("site failure in ") + entry);
}
