// Reading the answer of the server's component-version query, kept apart from the agent so that it
// can be fuzzed.
#ifndef QORVI_CONNECTION_CSEVERSIONLIST_H
#define QORVI_CONNECTION_CSEVERSIONLIST_H

#include "CSEString.h"
#include "CSEStringCSEStringMap.h"

namespace cse {

// Adds the components of text to versions: "|"-separated tokens, an optional status token "0"
// first, then name and version by turns (a last token without its version is ignored). Names and
// versions are lower-cased; a later equal name wins.
void ParseComponentVersions(const CSEString& text, CSEStringCSEStringMap& versions);

} // namespace cse

#endif
