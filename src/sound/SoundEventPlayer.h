#pragma once
#include <string_view>

namespace tamblor {

// Plays a sound event of sound.ini by name. Game play, effects and screens depend on this alone;
// the MusicManager implements it and tests record the names.
class SoundEventPlayer {
public:
    virtual ~SoundEventPlayer() = default;
    virtual void PlayEvent(std::string_view eventName) = 0;
};

}  // namespace tamblor
