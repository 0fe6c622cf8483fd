#include "core/IniText.h"

#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/FileSystem.h"

namespace tamblor {
namespace {

// Numbers in settings always use the "C" rules (a decimal point), whatever locale the process runs in.
// Null only when the system could not make it (out of memory); numbers then follow the process's locale.
locale_t NumericCLocale() {
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\x1A'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

struct Line {
    size_t begin;    // offset of the first byte
    size_t end;      // offset just past the content (before CR/LF)
    size_t next;     // offset of the next line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        size_t next = (nl == std::string_view::npos) ? text.size() : nl + 1;
        size_t end = (nl == std::string_view::npos) ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.rfind(']');
    std::string_view name = (close == std::string_view::npos || close == 0) ? t.substr(1) : t.substr(1, close - 1);
    return Trim(name);
}

// Key and raw value of a "key=value" line.
bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value, size_t& valueOffset) {
    std::string_view t = line;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(t.substr(0, eq));
    if (!key.empty() && key.front() == ';') return false;
    std::string_view rest = t.substr(eq + 1);
    size_t lead = 0;
    while (lead < rest.size() && IsBlank(rest[lead])) ++lead;
    valueOffset = eq + 1 + lead;
    value = Trim(rest);
    return true;
}

std::string Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool IsSafeIniName(std::string_view name) {
    if (name.empty() || name.front() == '[' || name.front() == ';') return false;
    // The reader trims the names it finds, so a name with blanks at either end would be written and
    // never found again.
    if (IsBlank(name.front()) || IsBlank(name.back())) return false;
    for (char c : name) {
        if (c == '\r' || c == '\n' || c == '=' || c == ']' || c == '\0') return false;
    }
    return true;
}

bool IsSafeIniValue(std::string_view value) {
    for (char c : value) {
        if (c == '\r' || c == '\n' || c == '\0') return false;
    }
    return true;
}

std::optional<std::string> IniGet(std::string_view text, std::string_view section, std::string_view key) {
    if (!IsSafeIniName(section) || !IsSafeIniName(key)) return std::nullopt;
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line& l : SplitLines(text)) {
        std::string_view line = text.substr(l.begin, l.end - l.begin);
        if (auto name = SectionName(line)) {
            if (sectionSeen && inSection) return std::nullopt;  // first matching section only
            inSection = EqualsNoCase(*name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        std::string_view k, v;
        size_t off = 0;
        if (KeyValue(line, k, v, off) && EqualsNoCase(k, key)) return Unquote(v);
    }
    return std::nullopt;
}

bool IniSet(std::string& text, std::string_view section, std::string_view key, std::string_view value) {
    if (!IsSafeIniName(section) || !IsSafeIniName(key) || !IsSafeIniValue(value)) return false;
    std::vector<Line> lines = SplitLines(text);
    std::string eol = (text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos) ? "\r\n" : "\n";

    bool inSection = false;
    bool found = false;
    size_t insertAt = 0;  // just past the last non-blank line of the section
    for (const Line& l : lines) {
        std::string_view line = std::string_view(text).substr(l.begin, l.end - l.begin);
        if (auto name = SectionName(line)) {
            if (found && inSection) break;
            inSection = EqualsNoCase(*name, section);
            if (inSection) {
                found = true;
                insertAt = l.next;
            }
            continue;
        }
        if (!inSection) continue;
        std::string_view k, v;
        size_t off = 0;
        if (KeyValue(line, k, v, off) && EqualsNoCase(k, key)) {
            // Replace just the value bytes, keep everything else of the line.
            size_t valueStart = l.begin + off;
            size_t valueEnd = l.end;
            while (valueEnd > valueStart && IsBlank(text[valueEnd - 1])) --valueEnd;
            text.replace(valueStart, valueEnd - valueStart, value);
            return true;
        }
        if (!Trim(line).empty()) insertAt = l.next;
    }

    std::string keyLine = std::string(key) + "=" + std::string(value) + eol;
    if (found) {
        if (insertAt == text.size() && !text.empty() && text.back() != '\n') {
            // The section's last line has no line end: end it, and add the key after it.
            text += eol;
            insertAt = text.size();
        }
        text.insert(std::min(insertAt, text.size()), keyLine);
        return true;
    }
    if (!text.empty() && text.back() != '\n') text += eol;
    text += "[" + std::string(section) + "]" + eol + keyLine;
    return true;
}

std::string EncodeStructText(const void* data, size_t size) {
    static const char kHex[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string out;
    out.reserve(size * 2 + 2);
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        out.push_back(kHex[bytes[i] >> 4]);
        out.push_back(kHex[bytes[i] & 15]);
        sum += bytes[i];
    }
    out.push_back(kHex[(sum >> 4) & 15]);
    out.push_back(kHex[sum & 15]);
    return out;
}

bool DecodeStructText(std::string_view text, void* data, size_t size) {
    if (text.size() != size * 2 + 2) return false;
    std::vector<unsigned char> bytes(size + 1);
    for (size_t i = 0; i <= size; ++i) {
        int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[size]) return false;
    auto* out = static_cast<unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) out[i] = bytes[i];
    return true;
}

double ParseDecimalPrefix(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j, ++expDigits;
        if (expDigits > 0) i = j;
    }
    std::string number(text.substr(start, i - start));
    locale_t c = NumericCLocale();
    double v = c ? strtod_l(number.c_str(), nullptr, c) : std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : (v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max());
}

std::string FormatDecimal(double value) {
    locale_t c = NumericCLocale();
    locale_t previous = c ? uselocale(c) : static_cast<locale_t>(nullptr);
    char text[400];  // "%f" of the largest double has 309 digits before the point
    std::snprintf(text, sizeof text, "%f", value);
    if (c)
        uselocale(previous);
    return text;
}

int ParseIntTruncated(std::string_view text) {
    double v = std::trunc(ParseDecimalPrefix(text));
    if (v >= 2147483647.0) return std::numeric_limits<int>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace tamblor
