#include "core/TextEncoding.h"

namespace tamblor {

std::string Latin1FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        // Two-byte sequences C2 80 .. C3 BF are exactly U+0080 .. U+00FF.
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if ((next & 0xC0) == 0x80) {
                out += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace tamblor
