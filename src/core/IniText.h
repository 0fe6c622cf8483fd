#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tamblor {

// INI text as the Windows profile functions read and write it: "[section]" lines, "key=value" lines,
// section and key names compared without regard to case, values trimmed and stripped of one pair of
// surrounding quotes, CRLF or LF line ends, a UTF-8 byte-order mark skipped. The first matching
// section and key win.
std::optional<std::string> IniGet(std::string_view text, std::string_view section, std::string_view key);

// Replaces the value of an existing key in place, leaving every other byte as it was; otherwise adds
// the key at the end of its section, or the section at the end of the text. New text uses the line
// end found in the text (CRLF for a new one). False (and the text untouched) for names or values that
// would break the file apart: see IsSafeIniName / IsSafeIniValue.
bool IniSet(std::string& text, std::string_view section, std::string_view key, std::string_view value);

// A section or key name that could inject lines or sections, or that could never be found again:
// empty, containing CR, LF, "=" or "]", starting with "[" or ";", or with a blank (space, tab, CR,
// end-of-file mark) at either end.
bool IsSafeIniName(std::string_view name);
bool IsSafeIniValue(std::string_view value);

// The struct text format: two upper-case hex digits per byte in memory order, then two digits of the
// byte sum modulo 256.
std::string EncodeStructText(const void* data, size_t size);
// True only for exactly 2 x size + 2 hex digits (either case) with a matching checksum.
bool DecodeStructText(std::string_view text, void* data, size_t size);

// Reads a number as the settings do: the leading decimal part of the text ("7.9", "-3", "1e2"), no
// hexadecimal, infinities or NaN; anything else reads 0.
double ParseDecimalPrefix(std::string_view text);
// The same, truncated toward zero and clamped to the 32-bit range.
int ParseIntTruncated(std::string_view text);
// "%f" (six decimals) with a decimal point whatever the locale.
std::string FormatDecimal(double value);

}  // namespace tamblor
