#pragma once
#include "screens/ScreenCanvas.h"
#include "sound/MusicManager.h"

namespace tamblor {

// Screen sounds played from the music manager's sound library.
class MusicSoundFiles final : public SoundFilePlayer {
public:
    explicit MusicSoundFiles(MusicManager& music) : music_(music) {}
    void PlaySoundFile(std::string_view fileName) override { music_.PlaySoundFile(fileName); }

private:
    MusicManager& music_;
};

}  // namespace tamblor
