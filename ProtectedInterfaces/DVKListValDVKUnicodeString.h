/// \file
/// The host's value list of Unicode strings, positions 1..Size().
#ifndef DVKLISTVALDVKUNICODESTRING_H
#define DVKLISTVALDVKUNICODESTRING_H

#include "DVKListVal.h"
#include "DVKUnicodeString.h"

class DVKListValDVKUnicodeString : public DVKListVal<DVKUnicodeString>
{
};

#endif
