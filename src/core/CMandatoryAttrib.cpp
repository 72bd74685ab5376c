// CMandatoryAttrib: three texts with value semantics.
#include "CMandatoryAttrib.h"

CMandatoryAttrib::CMandatoryAttrib() = default;
CMandatoryAttrib::CMandatoryAttrib(const CMandatoryAttrib& other) = default;
CMandatoryAttrib& CMandatoryAttrib::operator=(const CMandatoryAttrib& other) = default;
CMandatoryAttrib::~CMandatoryAttrib() = default;
