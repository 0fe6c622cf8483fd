#include "core/Language.h"

#include "core/IniText.h"
#include "core/Log.h"
#include "core/TextEncoding.h"
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

void Language::Refresh() {
    auto stamp = files_.Stamp(kLanguageFile);
    if (loaded_ && stamp == stamp_ && loadedFor_ == languageName) return;
    loaded_ = true;
    stamp_ = stamp;
    loadedFor_ = languageName;
    texts_.clear();
    std::string text;
    if (!files_.ReadFile(kLanguageFile, text)) return;
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
        if (auto value = IniGet(single, "s", key)) texts_.emplace(key, Latin1FromUtf8(*value));
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
    if (languageName.empty()) {
        log_.WriteLog("Warning: language not defined in 'config.ini'", LOG_TIME);
    }
    Refresh();
    auto it = texts_.find(Lower(key));
    languageText_ = (it == texts_.end() || !IsSafeIniName(key)) ? std::string() : it->second;
    if (languageText_.size() > 254) languageText_.resize(254);
    return languageText_;
}

}  // namespace tamblor
