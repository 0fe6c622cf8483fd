// The struct text format (hex digits and a byte-sum checksum). Any bytes encode and decode back to
// themselves; any text that decodes is the encoding of what it decoded to (in either letter case);
// a refused text leaves the buffer untouched.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/IniText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tamblor;
    const std::string encoded = EncodeStructText(data, size);
    FUZZ_CHECK(encoded.size() == size * 2 + 2, "the encoding has the wrong length");
    std::vector<uint8_t> decoded(size, 0x5A);
    FUZZ_CHECK(DecodeStructText(encoded, decoded.data(), size), "an encoding does not decode");
    FUZZ_CHECK(std::equal(decoded.begin(), decoded.end(), data), "an encoding decodes to other bytes");
    if (size > 0) {
        std::vector<uint8_t> shorter(size - 1, 0);
        FUZZ_CHECK(!DecodeStructText(encoded, shorter.data(), shorter.size()), "a longer text decoded");
    }

    // The input read as text of a struct of the size it would describe.
    const std::string_view text = fuzz::AsText(data, size);
    const size_t bytes = text.size() >= 2 ? (text.size() - 2) / 2 : 0;
    std::vector<uint8_t> buffer(bytes, 0xA5);
    if (DecodeStructText(text, buffer.data(), bytes)) {
        std::string upper(text);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        FUZZ_CHECK(EncodeStructText(buffer.data(), bytes) == upper, "a decoded text encodes differently");
    } else {
        FUZZ_CHECK(std::all_of(buffer.begin(), buffer.end(), [](uint8_t b) { return b == 0xA5; }),
                   "a refused text changed the buffer");
    }
    return 0;
}
