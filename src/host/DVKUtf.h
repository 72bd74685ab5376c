// UTF-8 <-> UTF-16 conversion: the one place the library changes text encodings.
#ifndef QORVI_HOST_DVKUTF_H
#define QORVI_HOST_DVKUTF_H

#include <cstddef>
#include <string>

namespace dvk {

// Malformed input never fails: each bad sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const char* text, std::size_t byteCount);
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const char16_t* text, std::size_t unitCount);
std::string Utf16ToUtf8(const std::u16string& text);
bool IsValidUtf8(const char* text, std::size_t byteCount);

// Length of the longest prefix of text that ends on a whole UTF-8 sequence (so a reader can keep
// the rest of a sequence cut by a chunk boundary for the next read).
std::size_t Utf8CompletePrefix(const char* text, std::size_t byteCount);

} // namespace dvk

#endif
