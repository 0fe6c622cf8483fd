#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tamblor {

class Clock;
class FileSystem;
class Log;

// Translated texts from language.ini, looked up in the section named by LANGUAGE/Name of config.ini.
// The file is read once and held in memory; at most once a second a lookup checks the file it was read
// from (one stat of that path) and reads it again when it changed, so an edit on disk shows within a
// second. Lookups themselves neither allocate nor touch the disk. The file is UTF-8; texts come back one
// byte per character (Latin-1), as the font sheets draw them.
class Language {
public:
    static constexpr uint32_t kCheckIntervalMs = 1000;

    Language(const FileSystem& files, Log& log, const Clock& clock)
        : files_(files), log_(log), clock_(clock) {}

    // Off (the default): the once-a-second check above. On: every lookup resolves "language.ini" anew
    // and stats it, reading the file again when it is another file or its stamp changed, as the game
    // did before it held the texts between checks (the frame benchmark's "before"); an edit then shows
    // at the very next lookup.
    void CheckOnEveryLookup(bool everyLookup) { checkOnEveryLookup_ = everyLookup; }

    // The current language (the section of language.ini); filled at start-up.
    std::string languageName;

    // The text for key (at most 254 characters), or "" when there is none. The reference stays valid
    // until the file is read again.
    const std::string& LanguageString(std::string_view key);

    // The languages language.ini offers: its section names, in the file's order, each once.
    std::vector<std::string> LanguageNames() const;
    // The language after the current one in that list (the first after the last); the current one
    // when the file offers no other.
    std::string NextLanguageName() const;

private:
    // ASCII case folded, so a lookup needs no lower-case copy of its key.
    struct NoCaseHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const;
    };
    struct NoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    void Refresh();
    void Load();

    const FileSystem& files_;
    Log& log_;
    const Clock& clock_;
    bool checkOnEveryLookup_ = false;
    bool loaded_ = false;
    std::string loadedFor_;                             // the language the texts were collected for
    std::optional<std::string> path_;                   // the file they were read from
    std::optional<std::pair<int64_t, int64_t>> stamp_;  // its modification time and size then
    uint32_t lastCheckMs_ = 0;
    std::unordered_map<std::string, std::string, NoCaseHash, NoCaseEqual> texts_;
};

}  // namespace tamblor
