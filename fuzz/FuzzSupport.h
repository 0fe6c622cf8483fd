#pragma once
// What every fuzz target shares: a scratch folder in memory (or the temporary folder) for the files
// the parsers read through the file resolver, the generated game folder for the data the inputs do
// not replace, and a check that aborts with a message when an invariant breaks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor::fuzz {

// Aborts (so the fuzzer records the input) when an invariant of a format does not hold.
[[noreturn]] void Fail(const char* where, const std::string& what);
#define FUZZ_CHECK(condition, what)                                                   \
    do {                                                                              \
        if (!(condition))                                                             \
            ::tamblor::fuzz::Fail(__FILE__, std::string(what) + " [" #condition "]"); \
    } while (0)

// Message boxes and sound events that go nowhere: inputs are meant to be bad.
class SilentDialogs final : public Dialogs {
public:
    void ShowMessage(MessageKind, const std::string&, const std::string&) override {}
};
class SilentSoundEvents final : public SoundEventPlayer {
public:
    void PlayEvent(std::string_view) override {}
};

// A folder of this process, emptied for every input and removed when the process ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Removes everything inside the folder.
    void Empty() const;
    // Writes a file (folders made as needed) under a relative path with '/' separators.
    void Write(const std::string& relative, std::string_view contents) const;
    std::string Read(const std::string& relative) const;

private:
    std::string path_;
};

// The scratch folder of this process (made on first use).
ScratchFolder& Scratch();

// The game folder the build assembled (screens, classes, levels, pictures, sounds).
const char* GameFolder();

inline std::string_view AsText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Splits an input at its first zero byte: the text before it and the rest after it.
inline std::pair<std::string_view, std::string_view> SplitAtZero(std::string_view input) {
    size_t zero = input.find('\0');
    if (zero == std::string_view::npos)
        return {input, {}};
    return {input.substr(0, zero), input.substr(zero + 1)};
}

// Splits an input at zero bytes into at most `parts` pieces (the last one keeps any further zeros).
inline std::vector<std::string_view> SplitParts(std::string_view input, size_t parts) {
    std::vector<std::string_view> out;
    while (out.size() + 1 < parts) {
        auto [head, rest] = SplitAtZero(input);
        out.push_back(head);
        if (head.size() == input.size())
            break;
        input = rest;
        if (out.size() + 1 == parts)
            out.push_back(input);
    }
    while (out.size() < parts) out.emplace_back();
    return out;
}

}  // namespace tamblor::fuzz
