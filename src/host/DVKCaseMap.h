// Letter case: Unicode's simple lowercase mapping, the one place the library lowers or compares
// text without regard to case.
#ifndef QORVI_HOST_DVKCASEMAP_H
#define QORVI_HOST_DVKCASEMAP_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace dvk {

char32_t SimpleLowercase(char32_t c);

// Lowers UTF-16 text in place: the simple mapping never moves a code point in or out of the BMP,
// so the text keeps its length. Unpaired surrogates stay as they are.
void LowerUtf16(std::u16string& text);

// Whether the texts are equal once both are lowered, without building the lowered copies.
bool EqualIgnoringCase(const std::u16string& first, const std::u16string& second);

// The generated table (DVKCaseTable.cpp): non-overlapping runs sorted by first code point; a run
// maps first, first + step, ... up to last by adding delta.
struct LowerRun
{
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::uint32_t step;
};
extern const LowerRun kLowerRuns[];
extern const std::size_t kLowerRunCount;

} // namespace dvk

#endif
