#pragma once
// A recorded run: a few header values (the seed and what was started), then every frame with its
// time step, the input events delivered before it and a check value of the game state after it. A
// replay feeds the same events at the same frames and compares the check values, so the first frame
// at which the run goes another way is known.
//
// The text form, one item a line:
//   tamblor-input 1
//   seed 3                   header values (key, one space, value) until the first frame
//   f 0.016666666666666666   a frame and its time step in seconds
//   m 400 300                events of that frame (see InputEvent)
//   c 89ab01cd23ef4567       check value after the frame (hexadecimal)
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/autoplay/InputEvent.h"

namespace tamblor {

struct RecordedFrame {
    double seconds = 0.0;
    std::vector<InputEvent> events;
    std::optional<uint64_t> check;
};

struct InputRecording {
    std::vector<std::pair<std::string, std::string>> header;
    std::vector<RecordedFrame> frames;

    // The header value of a key, or the fallback.
    std::string Value(std::string_view key, std::string_view fallback = "") const;
    void SetValue(const std::string& key, const std::string& value);

    std::string ToText() const;
    // Reads the text form. On a damaged line returns false with the line number in `error`.
    static bool FromText(std::string_view text, InputRecording& recording, std::string* error);
};

// Reads and writes a recording at a path given by the player (through the file resolver of its folder).
bool SaveRecording(const std::string& path, const InputRecording& recording);
bool LoadRecording(const std::string& path, InputRecording& recording, std::string* error);

// Plays back the events of a recording frame by frame.
class RecordingSource : public InputSource {
public:
    explicit RecordingSource(const InputRecording& recording) : recording_(recording) {}
    void EventsForFrame(std::vector<InputEvent>& out) override;
    // The frame whose events were handed out last (0-based); -1 before the first.
    int Frame() const { return frame_; }
    bool Finished() const { return frame_ + 1 >= static_cast<int>(recording_.frames.size()); }

private:
    const InputRecording& recording_;
    int frame_ = -1;
};

}  // namespace tamblor
