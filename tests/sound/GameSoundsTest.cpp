// The game's own sounds, as the build generates them into the game folder: every file decodes, every
// event of sound.ini names files that load, and the theme is streamed music.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "platform/audio/AudioTestSupport.h"
#include "sound/MusicManager.h"
#include "BuildPaths.h"

namespace tamblor {
namespace {

TEST(GameSounds, EverySoundOfTheGameFolderPlays) {
    const std::string game = TAMBLOR_BUILD_GAME_DIR;
    if (!std::filesystem::exists(game + "/Sound") || !std::filesystem::exists(game + "/Music/theme1.ogg")) {
        GTEST_SKIP() << "the game folder has no generated sounds yet";
    }
    test::TempDir user;
    FileSystem files(user.Path(), game);
    Log log(files);
    Random random;
    Settings settings(files, log);
    test::RecordingDialogs dialogs;
    MusicManager music(files, log, random, settings, dialogs);
    music.Init(AudioOutput::Loopback, false);
    music.LoadSoundFolder(MusicManager::kSoundFolder);
    ASSERT_GT(music.SoundCount(), 0);
    for (int i = 0; i < music.SoundCount(); ++i) {
        const Sound& sound = *music.Entry(i).sound;
        EXPECT_TRUE(sound.IsAudible()) << music.Entry(i).fileName;
        // Effects are held whole: playing them costs no decoding.
        EXPECT_FALSE(sound.IsStreamed()) << music.Entry(i).fileName;
    }
    const int loaded = music.SoundCount();
    ASSERT_GT(music.EventCount(), 0);
    for (int e = 0; e < music.EventCount(); ++e) {
        const SoundEvent& event = music.Event(e);
        EXPECT_GT(event.fileCount, 0) << event.name;
        for (int k = 0; k < event.fileCount; ++k) {
            // Named exactly as the folder scan names them, so nothing is loaded twice.
            EXPECT_LT(music.FindSound(event.files[k]), loaded) << event.name << " " << event.files[k];
        }
    }
    EXPECT_EQ(music.StartMusic(), 1);
    const Sound& theme = *music.Entry(music.FindMusic(MusicManager::kMusicFile)).sound;
    EXPECT_TRUE(theme.IsAudible());
    EXPECT_TRUE(theme.IsStreamed());
    std::vector<float> out = test::RenderFrames(music.Audio(), 44100);
    EXPECT_GT(test::Peak(out), 0.01f);
    EXPECT_LE(test::Peak(out), 1.0f);
    EXPECT_TRUE(dialogs.shown.empty());
    music.FreeMusicManager();
}

}  // namespace
}  // namespace tamblor
