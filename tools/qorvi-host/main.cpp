// Demo host: drives the library as a CAD plug-in would.
#include <cstdio>

#include <QorviCSECommon.h>

int main()
{
    CSEString greeting(u"qorvi-host");
    std::printf("%s\n", greeting().ToUTF8().c_str());
    return 0;
}
