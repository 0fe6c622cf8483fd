#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tamblor {

class FileSystem;
class Log;

// Translated texts from language.ini, looked up in the section named by LANGUAGE/Name of config.ini.
// The file is held in memory and read again whenever it changes on disk, so every lookup returns what
// a fresh read would. The file is UTF-8; texts come back one byte per character (Latin-1), as the
// font sheets draw them.
class Language {
public:
    Language(const FileSystem& files, Log& log) : files_(files), log_(log) {}

    // The current language (the section of language.ini); filled at start-up.
    std::string languageName;

    // The text for key (at most 254 characters), or "" when there is none.
    const std::string& LanguageString(std::string_view key);

    // The languages language.ini offers: its section names, in the file's order, each once.
    std::vector<std::string> LanguageNames() const;
    // The language after the current one in that list (the first after the last); the current one
    // when the file offers no other.
    std::string NextLanguageName() const;

private:
    void Refresh();

    const FileSystem& files_;
    Log& log_;
    std::string languageText_;
    std::optional<std::pair<int64_t, int64_t>> stamp_;
    std::string loadedFor_;
    bool loaded_ = false;
    std::unordered_map<std::string, std::string> texts_;  // lower-case key -> value
};

}  // namespace tamblor
