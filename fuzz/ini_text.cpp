// INI text: IniSet then IniGet. The input is "text\0section\0key\0value\0section2\0key2".
// Whatever the writer accepts, the reader finds again, trimmed and unquoted as every value is read;
// every other key reads as it did before; a refused write leaves the text untouched.
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "core/IniText.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\x1A';
}

// A value as the reader gives it back: blanks trimmed, one pair of surrounding quotes removed.
std::string AsRead(std::string_view v) {
    while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tamblor;
    auto parts = fuzz::SplitParts(fuzz::AsText(data, size), 6);
    const std::string original(parts[0]);
    const std::string_view section = parts[1], key = parts[2], value = parts[3];
    const std::string_view otherSection = parts[4], otherKey = parts[5];

    const std::optional<std::string> otherBefore = IniGet(original, otherSection, otherKey);
    std::string text = original;
    const bool written = IniSet(text, section, key, value);
    if (!written) {
        FUZZ_CHECK(text == original, "a refused write changed the text");
        FUZZ_CHECK(!IsSafeIniName(section) || !IsSafeIniName(key) || !IsSafeIniValue(value),
                   "a write of safe names and value was refused");
        return 0;
    }
    const std::optional<std::string> readBack = IniGet(text, section, key);
    FUZZ_CHECK(readBack.has_value(), "a written key is not found again");
    FUZZ_CHECK(*readBack == AsRead(value), "a written value reads back differently");

    if (!(SameName(section, otherSection) && SameName(key, otherKey))) {
        FUZZ_CHECK(IniGet(text, otherSection, otherKey) == otherBefore, "a write changed another key");
    }
    // Writing the same value again changes nothing (blanks around a value are kept where they were,
    // so only a value without them gives back the very same bytes).
    std::string again = text;
    FUZZ_CHECK(IniSet(again, section, key, value), "a repeated write was refused");
    if (value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back())))
        FUZZ_CHECK(again == text, "a repeated write changed the text");
    FUZZ_CHECK(IniGet(again, section, key) == readBack, "a repeated write changed the value read");
    return 0;
}
