// libFuzzer target: two arbitrary documents are normalised and matched without a fault, and every
// document that normalises matches itself without a difference. The first two bytes give the
// length of the first document; the rest is the second.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "capture/MOCK_MessageRoot.h"
#include "capture/MOCK_ReplayMatcher.h"
#include "capture/MOCK_ReplayNormaliser.h"
#include "host/DVKXmlDocument.h"

namespace {

bool Normalise(const std::string& bytes, MOCK_MessageRoot& root)
{
    dvk::XmlDocument document;
    if (!document.LoadUtf8(bytes.data(), bytes.size()))
        return false;
    std::string broken;
    return MOCK_ReplayNormaliser::Normalise(document.DocumentElement(), root, broken);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t firstLength = std::min<std::size_t>((data[0] << 8) | data[1], size - 2);
    const std::string first(reinterpret_cast<const char*>(data) + 2, firstLength);
    const std::string second(reinterpret_cast<const char*>(data) + 2 + firstLength, size - 2 - firstLength);

    MOCK_MessageRoot captured;
    MOCK_MessageRoot again;
    if (Normalise(first, captured) && Normalise(first, again)) {
        MOCK_ReplayMatcher self;
        if (!self.MatchMessage(captured, again) || !self.Differences().empty())
            std::abort();
    }
    MOCK_MessageRoot replay;
    if (Normalise(second, replay) && !captured.tag.empty()) {
        MOCK_ReplayMatcher matcher;
        matcher.MatchMessage(captured, replay);
        matcher.MatchMessage(captured, replay); // the maps of the first match carry over
    }
    return 0;
}
