/// \file
/// The result values shared by the library's operations.
#ifndef CSERESULTCODES_H
#define CSERESULTCODES_H

/// Library routines and commands: CSE_SUCCESS, any other value is failure (CSE_FAILURE).
inline constexpr int CSE_SUCCESS = 0;
inline constexpr int CSE_FAILURE = 1;  ///<Result of an operation that failed.
/// XML packet operations.
inline constexpr int CSE_XML_FAILURE = -1;
inline constexpr int CSE_XML_NODE_NOT_FOUND = -1003;  ///<Result of an XML operation whose path matches no node.
/// The empty text, the marker of an absent value in comparisons.
inline constexpr char16_t CSE_BLANK[] = u"";

#endif
