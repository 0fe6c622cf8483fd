#include "app/autoplay/InputRecording.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "platform/FileSystem.h"

namespace tamblor {

namespace {

constexpr std::string_view kMagic = "tamblor-input 1";
constexpr size_t kMaxRecordingBytes = 256u * 1024u * 1024u;
constexpr double kMaxFrameSeconds = 10.0;

std::pair<std::string, std::string> SplitPath(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool ParseSeconds(std::string_view text, double& seconds) {
    // strtod needs a terminated string; frame times are short.
    if (text.empty() || text.size() > 40)
        return false;
    std::string copy(text);
    char* end = nullptr;
    seconds = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size() && seconds >= 0.0 && seconds <= kMaxFrameSeconds;
}

bool ParseCheck(std::string_view text, uint64_t& value) {
    if (text.empty() || text.size() > 16)
        return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

std::string InputRecording::Value(std::string_view key, std::string_view fallback) const {
    for (const auto& [k, v] : header) {
        if (k == key)
            return v;
    }
    return std::string(fallback);
}

void InputRecording::SetValue(const std::string& key, const std::string& value) {
    for (auto& [k, v] : header) {
        if (k == key) {
            v = value;
            return;
        }
    }
    header.emplace_back(key, value);
}

std::string InputRecording::ToText() const {
    std::string text(kMagic);
    text += '\n';
    for (const auto& [k, v] : header) text += k + " " + v + "\n";
    char line[64];
    for (const RecordedFrame& frame : frames) {
        std::snprintf(line, sizeof line, "f %.17g\n", frame.seconds);
        text += line;
        for (const InputEvent& event : frame.events) text += FormatInputEvent(event) + "\n";
        if (frame.check) {
            std::snprintf(line, sizeof line, "c %016" PRIx64 "\n", *frame.check);
            text += line;
        }
    }
    return text;
}

bool InputRecording::FromText(std::string_view text, InputRecording& recording, std::string* error) {
    InputRecording parsed;
    int lineNumber = 0;
    auto fail = [&](const char* what) {
        if (error)
            *error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    bool first = true;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            if (line != kMagic)
                return fail("not a recording of this game");
            first = false;
            continue;
        }
        if (line.empty())
            continue;
        if (line.substr(0, 2) == "f ") {
            RecordedFrame frame;
            if (!ParseSeconds(line.substr(2), frame.seconds))
                return fail("bad frame time");
            parsed.frames.push_back(std::move(frame));
        } else if (line.substr(0, 2) == "c ") {
            uint64_t value = 0;
            if (parsed.frames.empty() || !ParseCheck(line.substr(2), value))
                return fail("bad check value");
            parsed.frames.back().check = value;
        } else if (!parsed.frames.empty()) {
            InputEvent event;
            if (!ParseInputEvent(line, event))
                return fail("bad input event");
            parsed.frames.back().events.push_back(event);
        } else {
            size_t space = line.find(' ');
            if (space == std::string_view::npos || space == 0)
                return fail("bad header line");
            parsed.header.emplace_back(std::string(line.substr(0, space)),
                                       std::string(line.substr(space + 1)));
        }
    }
    if (first) {
        lineNumber = 1;
        return fail("empty file");
    }
    recording = std::move(parsed);
    return true;
}

bool SaveRecording(const std::string& path, const InputRecording& recording) {
    auto [folder, name] = SplitPath(path);
    FileSystem files(folder, folder);
    return files.WriteFileAtomic(name, recording.ToText());
}

bool LoadRecording(const std::string& path, InputRecording& recording, std::string* error) {
    auto [folder, name] = SplitPath(path);
    FileSystem files(folder, folder);
    std::string text;
    if (!files.ReadFile(name, text, kMaxRecordingBytes)) {
        if (error)
            *error = "cannot read " + path;
        return false;
    }
    return InputRecording::FromText(text, recording, error);
}

void RecordingSource::EventsForFrame(std::vector<InputEvent>& out) {
    if (Finished())
        return;
    ++frame_;
    const RecordedFrame& frame = recording_.frames[static_cast<size_t>(frame_)];
    out.insert(out.end(), frame.events.begin(), frame.events.end());
}

}  // namespace tamblor
