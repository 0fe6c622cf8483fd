#include "core/Language.h"

#include "core/IniText.h"
#include "core/Log.h"
#include "core/TextEncoding.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace tamblor {
namespace {

constexpr const char* kLanguageFile = "language.ini";

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\x1A'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// The name of a section header line (already trimmed), or nullopt for any other line. A header
// without its closing bracket still opens the section named by the rest of the line.
std::optional<std::string_view> SectionName(std::string_view line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    size_t close = line.rfind(']');
    return TrimBlanks(close == std::string_view::npos || close == 0 ? line.substr(1) : line.substr(1, close - 1));
}

}  // namespace

size_t Language::NoCaseHash::operator()(std::string_view s) const {
    size_t h = 1469598103934665603ull;  // FNV-1a over the folded bytes
    for (char c : s) {
        h ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        h *= 1099511628211ull;
    }
    return h;
}

bool Language::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
    return EqualsNoCase(a, b);
}

void Language::Refresh() {
    uint32_t now = clock_.TimeGetTime();
    if (!loaded_ || loadedFor_ != languageName) {
        Load();
        return;
    }
    if (checkOnEveryLookup_) {
        // The name resolved again (a file now in the user folder is seen) and stat'ed.
        auto path = files_.Resolve(kLanguageFile);
        if (path != path_ || (path ? files_.StampOfPath(*path) : std::nullopt) != stamp_)
            Load();
        return;
    }
    if (now - lastCheckMs_ < kCheckIntervalMs)
        return;
    lastCheckMs_ = now;
    // One stat of the file the texts came from; a file that appeared elsewhere since is not looked for.
    // Without a file (or after a failed read) it is looked for again.
    if (!path_ || files_.StampOfPath(*path_) != stamp_)
        Load();
}

void Language::Load() {
    loaded_ = true;
    loadedFor_ = languageName;
    lastCheckMs_ = clock_.TimeGetTime();
    texts_.clear();
    path_ = files_.Resolve(kLanguageFile);
    stamp_.reset();
    auto stamp = path_ ? files_.StampOfPath(*path_) : std::nullopt;
    std::string text;
    if (!path_ || !files_.ReadFile(kLanguageFile, text))
        return;  // no stamp: the next check reads again
    stamp_ = stamp;
    // Collect the keys of the language's section once; IniGet keeps the lookup rules in one place.
    bool inSection = false;
    // A byte-order mark is skipped at the start of the file only, as the settings reader does.
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        std::string_view line = std::string_view(text).substr(pos, (nl == std::string::npos ? text.size() : nl) - pos);
        pos = (nl == std::string::npos) ? text.size() + 1 : nl + 1;
        std::string_view t = TrimBlanks(line);
        if (auto name = SectionName(t)) {
            if (inSection) break;
            inSection = EqualsNoCase(*name, languageName);
            continue;
        }
        if (!inSection) continue;
        size_t eq = t.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key = Lower(TrimBlanks(t.substr(0, eq)));
        if (key.empty() || key.front() == ';' || texts_.count(key)) continue;
        std::string single = "[s]\n" + std::string(t) + "\n";
        if (auto value = IniGet(single, "s", key)) {
            // Cut after decoding: the limit counts characters as drawn, one byte each.
            std::string latin = Latin1FromUtf8(*value);
            if (latin.size() > 254)
                latin.resize(254);
            texts_.emplace(key, std::move(latin));
        }
    }
}

std::vector<std::string> Language::LanguageNames() const {
    std::vector<std::string> names;
    std::string text;
    if (!files_.ReadFile(kLanguageFile, text)) return names;
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        std::string_view t = TrimBlanks(std::string_view(text).substr(pos, nl - pos));
        pos = nl + 1;
        auto header = SectionName(t);
        if (!header || header->empty()) continue;
        std::string name(*header);
        bool seen = false;
        for (const std::string& known : names) seen = seen || EqualsNoCase(known, name);
        if (!seen) names.push_back(name);
    }
    return names;
}

std::string Language::NextLanguageName() const {
    std::vector<std::string> names = LanguageNames();
    if (names.empty()) return languageName;
    for (size_t i = 0; i < names.size(); ++i) {
        if (EqualsNoCase(names[i], languageName)) return names[(i + 1) % names.size()];
    }
    return names.front();
}

const std::string& Language::LanguageString(std::string_view key) {
    static const std::string kNone;
    if (languageName.empty()) {
        log_.WriteLog("Warning: language not defined in 'config.ini'", LOG_TIME);
    }
    Refresh();
    if (!IsSafeIniName(key))
        return kNone;
    auto it = texts_.find(key);
    return it == texts_.end() ? kNone : it->second;
}

}  // namespace tamblor
