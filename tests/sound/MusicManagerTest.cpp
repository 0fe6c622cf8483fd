#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "TestSupport.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "platform/audio/AudioTestSupport.h"
#include "platform/audio/OggDecoder.h"
#include "platform/audio/VolumeCurve.h"
#include "sound/MusicManager.h"
#include "BuildPaths.h"

namespace tamblor {
namespace {

const std::string kFixtures = std::string(TAMBLOR_TEST_FIXTURES) + "/sound/";

std::string Fixture(const std::string& name) {
    std::ifstream in(kFixtures + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class MusicManagerTest : public ::testing::Test {
protected:
    void Start(AudioOutput output) {
        music.reset();
        music = std::make_unique<MusicManager>(files, log, random, settings, dialogs);
        EXPECT_EQ(music->Init(output, false), 1);
    }
    std::string LogText() const { return dir.Read("app.log"); }
    size_t Count(const std::string& text, const std::string& what) const {
        size_t n = 0;
        for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
        return n;
    }

    test::TempDir dir;
    FileSystem files{dir.Path(), dir.Path()};
    Log log{files};
    Random random;
    Settings settings{files, log};
    test::RecordingDialogs dialogs;
    std::unique_ptr<MusicManager> music;
};

TEST_F(MusicManagerTest, SoundIniIsReadWithItsSectionNameRule) {
    dir.Write("sound.ini",
              "\xEF\xBB\xBF[take_shape]\r\n"
              "file0=Sound\\take.wav\r\n"
              "volume=0.5\r\n"
              "\r\n"
              "[gap]\r\n"
              "file0=Sound\\a.wav\r\n"
              "file2=Sound\\c.wav\r\n"
              "[twice]\r\n"
              "file0=Sound\\a.wav\r\n"
              "[twice]\r\n"
              "file0=Sound\\b.wav\r\n"
              "[\r\n"
              "[ x]\r\n"
              "[my event]\r\n"
              "[]\r\n"
              "[two]  ; comment\r\n"
              "file0=Sound\\a.wav\r\n"
              "file1=Sound\\b.wav\r\n"
              "volume=\r\n"
              "[" +
                  std::string(80, 'n') +
                  "]\r\n"
                  " [indented]\r\n");
    Start(AudioOutput::None);
    ASSERT_EQ(music->EventCount(), 8);
    const char* names[] = {"take_shape", "gap", "twice", "twice", "m", "", "two"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(music->Event(i).name, names[i]) << i;
    EXPECT_EQ(music->Event(7).name, std::string(59, 'n'));

    EXPECT_EQ(music->Event(0).fileCount, 1);
    EXPECT_EQ(music->Event(0).files[0], "Sound\\take.wav");
    EXPECT_FLOAT_EQ(music->Event(0).volume, 0.5f);
    // file2 is never read without file1.
    EXPECT_EQ(music->Event(1).fileCount, 1);
    EXPECT_FLOAT_EQ(music->Event(1).volume, 1.0f);
    // An empty volume also means 1.0.
    EXPECT_EQ(music->Event(6).fileCount, 2);
    EXPECT_EQ(music->Event(6).files[1], "Sound\\b.wav");
    EXPECT_FLOAT_EQ(music->Event(6).volume, 1.0f);
    // "[my event]" names the event "m", which has no section of its own.
    EXPECT_EQ(music->Event(4).fileCount, 0);
    // The same name twice: the last one is the event.
    EXPECT_EQ(music->EventIndex("twice"), 3);
    EXPECT_EQ(music->EventIndex("my"), -1);

    EXPECT_NE(LogText().find("Loading sound events...8 events parsed\n"), std::string::npos);
    EXPECT_FLOAT_EQ(music->MusicVolume(), 0.8f);
    EXPECT_FLOAT_EQ(music->SfxVolume(), 0.75f);
}

TEST_F(MusicManagerTest, TooManyEventsAndNoSoundIni) {
    Start(AudioOutput::None);
    EXPECT_EQ(music->EventCount(), 0);
    EXPECT_NE(LogText().find("Loading sound events...0 events parsed\n"), std::string::npos);

    std::string ini;
    for (int i = 0; i < 105; ++i) ini += "[e" + std::to_string(i) + "]\nfile0=Sound\\a.wav\n";
    dir.Write("sound.ini", ini);
    Start(AudioOutput::None);
    EXPECT_EQ(music->EventCount(), 100);
    EXPECT_EQ(music->Event(99).name, "e99");
    EXPECT_EQ(Count(LogText(), "===> Warning: too many sound events\n"), 1u);
    EXPECT_NE(LogText().find("Loading sound events...100 events parsed\n"), std::string::npos);
}

TEST_F(MusicManagerTest, EventsChooseAFileAtRandomAndSetItsVolume) {
    dir.Write("sound.ini",
              "[one]\nfile0=Sound\\a.wav\nvolume=0.5\n"
              "[two]\nfile0=Sound\\a.wav\nfile1=Sound\\b.wav\n"
              "[empty]\nvolume=1\n");
    dir.Write("Sound/a.wav", test::MakeWav16(2, test::StereoRamp(100)));
    dir.Write("Sound/b.wav", test::MakeWav16(2, test::StereoRamp(200)));
    Start(AudioOutput::Loopback);
    random.SRand15(7);

    int a = music->FindEvent("one");
    ASSERT_EQ(a, 0);
    EXPECT_EQ(music->Entry(a).fileName, "Sound\\a.wav");
    EXPECT_FLOAT_EQ(music->Entry(a).sound->Volume(), 0.75f * 0.5f);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(music->FindEvent("one"), a);

    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 400; ++i) {
        int index = music->FindEvent("two");
        ASSERT_GE(index, 0);
        ASSERT_LE(index, 1);
        ++counts[index];
    }
    EXPECT_GT(counts[0], 150);
    EXPECT_GT(counts[1], 150);
    EXPECT_EQ(music->SoundCount(), 2);
    // The effects volume counts twice: 0.75 as own volume and again as class volume.
    Sound* b = music->Entry(1).sound;
    EXPECT_FLOAT_EQ(b->Volume(), 0.75f);
    EXPECT_EQ(b->AppliedMillibels(), -426);

    // Unknown events and events without files warn every time and play nothing.
    EXPECT_EQ(music->FindEvent("nope"), -1);
    music->PlayEvent("nope");
    EXPECT_EQ(music->FindEvent("empty"), -1);
    std::string text = LogText();
    EXPECT_EQ(Count(text, "Warning: couldn't find sound event - nope\n"), 2u);
    EXPECT_EQ(Count(text, "Warning: couldn't find sound event - empty\n"), 1u);
    EXPECT_EQ(text.find("===> Warning: couldn't"), std::string::npos);
    EXPECT_EQ(music->Play(-1, false), 0);

    // Playing an event starts its sound from the beginning, at its volume.
    music->SetSfxVolume(1.0f);
    music->PlayEvent("one");
    EXPECT_TRUE(music->Entry(0).sound->IsPlaying());
    std::vector<float> out = test::RenderFrames(music->Audio(), 50);
    float gain = MillibelsToGain(VolumeToMillibels(0.5f));
    EXPECT_NEAR(out[0], 1.0f / 32768.0f * gain, 1e-7);
    EXPECT_NEAR(out[98], 50.0f / 32768.0f * gain, 1e-7);
    music->StopAll();
    EXPECT_FALSE(music->Entry(0).sound->IsPlaying());
}

TEST_F(MusicManagerTest, TheLibraryFindsNamesExactlyAndSharesDataAcrossLetterCase) {
    dir.Write("Sound/b.wav", test::MakeWav16(2, test::StereoRamp(100)));
    dir.Write("Sound/A.wav", test::MakeWav16(2, test::StereoRamp(100)));
    dir.Write("Sound/c.ogg", Fixture("tone.ogg"));
    dir.Write("Sound/notes.txt", "x");
    dir.Write("Sound/Sub/d.wav", test::MakeWav16(2, test::StereoRamp(100)));
    Start(AudioOutput::Loopback);
    music->LoadSoundFolder("Sound\\");
    ASSERT_EQ(music->SoundCount(), 3);
    EXPECT_EQ(music->Entry(0).fileName, "Sound\\c.ogg");
    EXPECT_EQ(music->Entry(1).fileName, "Sound\\A.wav");
    EXPECT_EQ(music->Entry(2).fileName, "Sound\\b.wav");
    std::string text = LogText();
    EXPECT_NE(text.find("OGG sound loading: Sound\\c.ogg ... OK\n"
                        "OGG sound loading: Sound\\A.wav ... OK\n"
                        "OGG sound loading: Sound\\b.wav ... OK\n"),
              std::string::npos);
    EXPECT_TRUE(music->Entry(0).sound->IsAudible());
    EXPECT_EQ(music->Entry(0).sound->Class(), SOUND_CLASS_EFFECTS);

    // Found, not loaded again.
    EXPECT_EQ(music->FindSound("Sound\\A.wav"), 1);
    EXPECT_EQ(music->SoundCount(), 3);
    // Another spelling is another library entry, sharing the data of the first.
    int other = music->FindSound("Sound\\a.wav");
    EXPECT_EQ(other, 3);
    EXPECT_TRUE(music->Entry(other).sound->SharesDataWith(*music->Entry(1).sound));
    EXPECT_NE(LogText().find("OGG sound loading: Sound\\a.wav ... OK\n"), std::string::npos);
    EXPECT_EQ(music->PlaySoundFile("Sound\\b.wav"), 1);
    EXPECT_TRUE(music->Entry(2).sound->IsPlaying());
    EXPECT_TRUE(dialogs.shown.empty());

    // A file that cannot be decoded still gets its entry (and "OK"), after the message.
    dir.Write("Sound/bad.wav", "RIFF");
    int bad = music->FindSound("Sound\\bad.wav");
    EXPECT_EQ(bad, 4);
    EXPECT_FALSE(music->Entry(bad).sound->IsAudible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "sound file is bad");
    EXPECT_EQ(dialogs.shown[0].text, "Sound\\bad.wav");
    EXPECT_NE(LogText().find("OGG sound loading: Sound\\bad.wav ... OK\n"), std::string::npos);
    EXPECT_EQ(music->Play(bad, false), 1);
}

TEST_F(MusicManagerTest, AFullLibraryAndNamesItCannotHoldAreRefused) {
    Start(AudioOutput::None);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(music->FindSound("Sound\\s" + std::to_string(i) + ".wav"), i);
    EXPECT_EQ(music->FindSound("Sound\\s42.wav"), 42);
    EXPECT_EQ(music->FindSound("Sound\\extra.wav"), -1);
    EXPECT_EQ(music->FindMusic("Music\\theme1.ogg"), -1);
    EXPECT_EQ(music->SoundCount(), 100);
    EXPECT_EQ(Count(LogText(), "===> Warning: too many sound files\n"), 2u);
    EXPECT_EQ(music->Play(100, false), 0);
    EXPECT_EQ(music->Play(99, true), 1);  // silent without a device, but a loaded sound
    EXPECT_EQ(music->Audio().SoundCount(), 100u);

    Start(AudioOutput::None);
    EXPECT_EQ(music->FindSound(""), -1);
    EXPECT_NE(LogText().find("OGG sound loading:  ... FAILED\n"), std::string::npos);
    std::string longName = "Sound\\" + std::string(54, 'x');  // 60 characters
    EXPECT_EQ(music->FindSound(longName), -1);
    EXPECT_EQ(music->FindSound(longName), -1);
    EXPECT_EQ(Count(LogText(), "OGG sound loading: " + longName + " ... FAILED\n"), 1u);
    std::string fits = "Sound\\" + std::string(53, 'x');
    EXPECT_EQ(music->FindSound(fits), 0);
    EXPECT_EQ(music->FindSound(fits), 0);
}

TEST_F(MusicManagerTest, VolumesComeFromConfigAndReachTheDevice) {
    dir.Write("config.ini", "[OPTIONS]\r\nMusicVolume=0.300000\r\nSfxVolume=0.600000\r\n");
    Start(AudioOutput::None);
    EXPECT_FLOAT_EQ(music->MusicVolume(), 0.3f);
    EXPECT_FLOAT_EQ(music->SfxVolume(), 0.6f);
    EXPECT_FLOAT_EQ(music->Audio().ClassVolume(SOUND_CLASS_MUSIC), 0.3f);
    EXPECT_FLOAT_EQ(music->Audio().ClassVolume(SOUND_CLASS_EFFECTS), 0.6f);
    EXPECT_EQ(music->SetMusicVolume(0.0f), 1);
    EXPECT_EQ(music->SetSfxVolume(1.0f), 1);
    EXPECT_FLOAT_EQ(music->Audio().ClassVolume(SOUND_CLASS_MUSIC), 0.0f);
    EXPECT_FLOAT_EQ(music->Audio().ClassVolume(SOUND_CLASS_EFFECTS), 1.0f);
}

TEST_F(MusicManagerTest, TheMusicLoopsWithoutAGapAndFollowsOnlyTheMusicVolume) {
    dir.Write("Music/theme1.ogg", Fixture("tone.ogg"));
    std::vector<int16_t> beep(3000 * 2, 6000);
    dir.Write("Sound/beep.wav", test::MakeWav16(2, beep));
    dir.Write("sound.ini", "[beep]\nfile0=Sound\\beep.wav\n");
    Start(AudioOutput::Loopback);

    // The reference: the whole file decoded once.
    OggDecoder decoder;
    ASSERT_EQ(decoder.Open(kFixtures + "tone.ogg"), 0);
    std::vector<int16_t> theme(decoder.DataLength() / 2);
    decoder.Read(theme.data(), decoder.DataLength(), false);
    const size_t frames = theme.size() / 2;

    music->SetMusicVolume(1.0f);
    music->SetSfxVolume(0.0f);
    EXPECT_EQ(music->StartMusic(), 1);
    const SoundEntry& entry = music->Entry(0);
    EXPECT_EQ(entry.fileName, "Music\\theme1.ogg");
    EXPECT_EQ(entry.sound->Class(), SOUND_CLASS_MUSIC);
    EXPECT_TRUE(entry.sound->IsStreamed());
    EXPECT_TRUE(entry.sound->IsPlaying());
    music->PlayEvent("beep");  // silent at effects volume 0

    // Without a streaming thread the frame step refills the stream.
    std::vector<float> out((frames * 2 + 5000) * 2);
    for (size_t done = 0; done < out.size() / 2; done += 1000) {
        music->Update();
        size_t n = std::min<size_t>(1000, out.size() / 2 - done);
        music->Audio().RenderLoopback(out.data() + done * 2, static_cast<int>(n));
    }
    for (size_t i = 0; i < out.size() / 2; ++i) {
        size_t src = i % frames;
        ASSERT_NEAR(out[i * 2], theme[src * 2] / 32768.0f, 1e-6) << "frame " << i;
        ASSERT_NEAR(out[i * 2 + 1], theme[src * 2 + 1] / 32768.0f, 1e-6) << "frame " << i;
    }
    size_t position = out.size() / 2;

    // Silenced for game over, the music goes on; back at 0.5 it continues where it has got to.
    music->SetMusicVolume(0.0f);
    float frame[2];
    music->Audio().RenderLoopback(frame, 1);
    out = test::RenderFrames(music->Audio(), 4000);
    EXPECT_EQ(test::Peak(out), 0.0f);
    music->SetMusicVolume(0.5f);
    music->Audio().RenderLoopback(frame, 1);
    position += 4002;
    out = test::RenderFrames(music->Audio(), 3000);
    float gain = MillibelsToGain(-512);
    for (size_t i = 0; i < 3000; ++i) {
        size_t src = (position + i) % frames;
        ASSERT_NEAR(out[i * 2], theme[src * 2] / 32768.0f * gain, 1e-6) << "frame " << i;
    }
    EXPECT_EQ(music->FindMusic("Music\\theme1.ogg"), 0);

    music->FreeMusicManager();
    EXPECT_EQ(music->SoundCount(), 0);
    EXPECT_FALSE(music->Audio().HasDevice());
    EXPECT_EQ(music->Audio().SoundCount(), 0u);
    EXPECT_EQ(music->Play(0, true), 0);
    EXPECT_NE(LogText().find("FreeMusicManager()\n"), std::string::npos);
}

TEST_F(MusicManagerTest, ABadMusicFileLeavesTheGameSilentButRunning) {
    dir.Write("Music/theme1.ogg", "not an ogg at all");
    Start(AudioOutput::Loopback);
    EXPECT_EQ(music->StartMusic(), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Music\\theme1.ogg");
    EXPECT_FALSE(music->Entry(0).sound->IsAudible());
    EXPECT_EQ(test::Peak(test::RenderFrames(music->Audio(), 10000)), 0.0f);
    EXPECT_NE(LogText().find("OGG sound loading: Music\\theme1.ogg ... OK\n"), std::string::npos);
}

}  // namespace
}  // namespace tamblor
