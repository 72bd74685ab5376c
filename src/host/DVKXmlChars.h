// The characters XML 1.0 can carry: the one rule every value the library writes as XML follows.
#ifndef QORVI_HOST_DVKXMLCHARS_H
#define QORVI_HOST_DVKXMLCHARS_H

#include <cstddef>
#include <string>

namespace dvk {

// XML 1.0 cannot carry U+0000..U+001F other than tab, line feed and carriage return, nor U+FFFE,
// U+FFFF or an unpaired surrogate: not even as a character reference. Such a character is written
// as U+FFFD instead, so that a strict reader still takes the document.
bool IsXmlText(const std::u16string& text);
// Replaces each such character by U+FFFD; true when there was one.
bool ReplaceNonXmlChars(std::u16string& text);
// True for well-formed UTF-8 without such characters.
bool IsXmlTextUtf8(const char* text, std::size_t byteCount);
// The UTF-8 form of text with such characters replaced (it never holds a zero byte).
std::string XmlUtf8(const std::u16string& text);

} // namespace dvk

#endif
