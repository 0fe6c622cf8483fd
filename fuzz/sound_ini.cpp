// sound.ini: the input is the file, read by the sound library on a silent output. Every event is
// found again by its name, keeps its names and file lists within their limits, and plays.
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "sound/MusicManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tamblor;
    fuzz::Scratch().Empty();
    fuzz::Scratch().Write(MusicManager::kSoundIni, fuzz::AsText(data, size));

    FileSystem files(fuzz::Scratch().Path(), "");
    Log log(files);
    log.timeOfDay = [] { return std::string("00:00:00"); };
    Settings settings(files, log);
    Random random;
    random.SRand15(1);
    fuzz::SilentDialogs dialogs;
    MusicManager music(files, log, random, settings, dialogs);
    music.Init(AudioOutput::None, false);

    FUZZ_CHECK(music.EventCount() >= 0 && music.EventCount() <= MusicManager::kMaxEvents, "event count");
    for (int i = 0; i < music.EventCount(); ++i) {
        const SoundEvent& event = music.Event(i);
        FUZZ_CHECK(event.name.size() <= MusicManager::kMaxNameLength, "an event name is too long");
        FUZZ_CHECK(event.fileCount >= 0 && event.fileCount <= SoundEvent::kMaxFiles, "file count");
        FUZZ_CHECK(std::isfinite(event.volume), "an event volume is not a number");
        for (int k = 0; k < event.fileCount; ++k) {
            FUZZ_CHECK(!event.files[static_cast<size_t>(k)].empty() &&
                           event.files[static_cast<size_t>(k)].size() <= MusicManager::kMaxNameLength,
                       "an event file name is empty or too long");
        }
        const int found = music.EventIndex(event.name);
        FUZZ_CHECK(found >= i && music.Event(found).name == event.name, "an event is not found by its name");
        music.PlayEvent(event.name);
    }
    FUZZ_CHECK(music.SoundCount() <= MusicManager::kMaxSounds, "the sound library overflowed");
    music.FreeMusicManager();
    return 0;
}
