#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "BuildPaths.h"
#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/AudioTestSupport.h"
#include "platform/audio/VolumeCurve.h"

namespace tamblor {
namespace {

constexpr float kSample = 1.0f / 32768.0f;

// A loopback device over a temporary game folder, streaming stepped by hand.
class AudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(audio.AudioStart(AudioOutput::Loopback, false)); }

    // Checks rendered stereo frames against a stereo ramp played from frame `from`, at a gain.
    static void ExpectRamp(const std::vector<float>& out, size_t firstFrame, size_t frames,
                           const std::vector<int16_t>& ramp, size_t from, float gain) {
        size_t rampFrames = ramp.size() / 2;
        for (size_t i = 0; i < frames; ++i) {
            size_t src = (from + i) % rampFrames;
            size_t at = (firstFrame + i) * 2;
            ASSERT_NEAR(out[at], ramp[src * 2] * kSample * gain, 1e-6) << "frame " << firstFrame + i;
            ASSERT_NEAR(out[at + 1], ramp[src * 2 + 1] * kSample * gain, 1e-6) << "frame " << firstFrame + i;
        }
    }

    // The output fades a gain change, a pause or a stop of a playing source over the next mix; one
    // frame of output lets it settle.
    void Settle() {
        float frame[2];
        audio.RenderLoopback(frame, 1);
    }

    test::TempDir dir;
    FileSystem files{dir.Path(), dir.Path()};
    test::RecordingDialogs dialogs;
    AudioDevice audio{files, dialogs};
};

TEST_F(AudioDeviceTest, StaticEffectRendersAtTheCurveGainOfOwnTimesClassVolume) {
    std::vector<int16_t> ramp = test::StereoRamp(3000);
    dir.Write("Sound/ramp.wav", test::MakeWav16(2, ramp));
    Sound* sound = audio.CreateSound("Sound\\ramp.wav", false);
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(sound->IsAudible());
    EXPECT_FALSE(sound->IsStreamed());
    EXPECT_EQ(sound->Class(), SOUND_CLASS_EFFECTS);
    EXPECT_TRUE(dialogs.shown.empty());

    audio.SetClassVolume(0.75f, SOUND_CLASS_EFFECTS);
    sound->SetVolume(0.75f);
    EXPECT_EQ(sound->AppliedMillibels(), -426);
    sound->Play(false);
    EXPECT_TRUE(sound->IsPlaying());
    EXPECT_TRUE(sound->Flags() & SOUND_PLAYING);
    std::vector<float> out = test::RenderFrames(audio, 4000);
    ExpectRamp(out, 0, 3000, ramp, 0, MillibelsToGain(-426));
    EXPECT_EQ(test::Peak(out, 3000 * 2), 0.0f);  // stops after its last sample
    EXPECT_FALSE(sound->IsPlaying());

    // A class volume change reaches a playing sound at once.
    sound->Play(true);
    out = test::RenderFrames(audio, 600);
    sound->Play(true);  // already playing: goes on
    std::vector<float> more = test::RenderFrames(audio, 400);
    out.insert(out.end(), more.begin(), more.end());
    ExpectRamp(out, 0, 1000, ramp, 0, MillibelsToGain(-426));
    audio.SetClassVolume(1.0f, SOUND_CLASS_EFFECTS);
    EXPECT_EQ(sound->AppliedMillibels(), -208);
    Settle();
    out = test::RenderFrames(audio, 2500);
    ExpectRamp(out, 0, 2500, ramp, 1001, MillibelsToGain(-208));  // looped round the end

    // Pause keeps the place; Stop goes back to the start.
    sound->Pause();
    EXPECT_FALSE(sound->IsPlaying());
    Settle();
    EXPECT_EQ(test::Peak(test::RenderFrames(audio, 500)), 0.0f);
    sound->Play(false);
    out = test::RenderFrames(audio, 100);
    ExpectRamp(out, 0, 100, ramp, 501, MillibelsToGain(-208));
    sound->Stop();
    sound->Play(false);
    out = test::RenderFrames(audio, 100);
    ExpectRamp(out, 0, 100, ramp, 0, MillibelsToGain(-208));

    audio.SetClassVolume(0.0f, SOUND_CLASS_EFFECTS);
    Settle();
    EXPECT_EQ(test::Peak(test::RenderFrames(audio, 500)), 0.0f);
    EXPECT_TRUE(sound->IsPlaying());
}

TEST_F(AudioDeviceTest, SoundsOfOneFileShareTheDataAndPlayIndependently) {
    std::vector<int16_t> ramp = test::StereoRamp(4000);
    dir.Write("Sound/click.wav", test::MakeWav16(2, ramp));
    Sound* first = audio.CreateSound("Sound\\click.wav", false);
    Sound* second = audio.CreateSound("Sound\\click.wav", false);
    Sound* other = audio.CreateSound("SOUND\\Click.WAV", false);
    ASSERT_NE(first, second);
    ASSERT_NE(first, other);
    EXPECT_TRUE(first->SharesDataWith(*second));
    EXPECT_TRUE(first->SharesDataWith(*other));
    EXPECT_EQ(other->FileName(), "Sound\\click.wav");
    EXPECT_EQ(audio.SoundCount(), 3u);

    first->Play(false);
    test::RenderFrames(audio, 1000);
    second->Play(false);
    std::vector<float> out = test::RenderFrames(audio, 3000);
    for (size_t i = 0; i < 3000; ++i) {
        float expected = (ramp[(1000 + i) * 2] + ramp[i * 2]) * kSample;
        ASSERT_NEAR(out[i * 2], expected, 1e-6) << i;
    }
    // Stopping one leaves the other where it is.
    first->Stop();
    out = test::RenderFrames(audio, 500);
    ExpectRamp(out, 0, 500, ramp, 3000, 1.0f);

    // Deleting a sharer keeps the data for the others; its slot is used again.
    audio.DeleteSound(second);
    EXPECT_EQ(audio.SoundCount(), 2u);
    first->Play(false);
    out = test::RenderFrames(audio, 200);
    ExpectRamp(out, 0, 200, ramp, 0, 1.0f);
    Sound* again = audio.CreateSound("Sound\\click.wav", false);
    EXPECT_TRUE(again->SharesDataWith(*first));
    EXPECT_EQ(audio.SoundCount(), 3u);
    EXPECT_EQ(audio.CreateSound("", false), nullptr);
}

TEST_F(AudioDeviceTest, StreamedSoundLoopsSeamlesslyAndStopsAfterItsLastSample) {
    // Music is always streamed, however short; 50,000 frames span several refills of the queue.
    std::vector<int16_t> ramp = test::StereoRamp(50000);
    dir.Write("Music/ramp.wav", test::MakeWav16(2, ramp));
    Sound* music = audio.CreateSound("Music\\ramp.wav", true);
    ASSERT_TRUE(music->IsAudible());
    EXPECT_TRUE(music->IsStreamed());
    EXPECT_EQ(music->Class(), SOUND_CLASS_MUSIC);

    music->Play(true);
    EXPECT_TRUE(music->Flags() & SOUND_STREAMING);
    std::vector<float> out = test::RenderFrames(audio, 130000);
    ExpectRamp(out, 0, 130000, ramp, 0, 1.0f);  // the end runs straight into the start, twice
    EXPECT_TRUE(music->IsPlaying());

    // Without loop it plays to its last sample and then stops by itself.
    music->Stop();
    EXPECT_FALSE(music->IsPlaying());
    music->Play(false);
    out = test::RenderFrames(audio, 60000);
    ExpectRamp(out, 0, 50000, ramp, 0, 1.0f);
    EXPECT_EQ(test::Peak(out, 50000 * 2), 0.0f);
    audio.PumpOnce();
    EXPECT_FALSE(music->IsPlaying());
    EXPECT_FALSE(music->Flags() & SOUND_STREAMING);

    // Played again, it starts from the beginning; played while playing, it goes on.
    music->Play(false);
    out = test::RenderFrames(audio, 30000);
    ExpectRamp(out, 0, 30000, ramp, 0, 1.0f);
    music->Play(false);
    out = test::RenderFrames(audio, 10000);
    ExpectRamp(out, 0, 10000, ramp, 30000, 1.0f);

    // Paused, nothing is refilled or heard; played on, it continues where it was.
    music->Pause();
    Settle();
    EXPECT_EQ(test::Peak(test::RenderFrames(audio, 5000)), 0.0f);
    music->Play(false);
    out = test::RenderFrames(audio, 10000);
    ExpectRamp(out, 0, 10000, ramp, 40000, 1.0f);
}

TEST_F(AudioDeviceTest, ShortStreamedSoundFollowsTheLoopModeOfEachPlay) {
    // Shorter than the queue: filling it from the start already reaches the end of the data.
    std::vector<int16_t> ramp = test::StereoRamp(10000);
    dir.Write("Music/short.wav", test::MakeWav16(2, ramp));
    Sound* music = audio.CreateSound("Music\\short.wav", true);
    ASSERT_TRUE(music->IsStreamed());

    music->Play(true);
    std::vector<float> out = test::RenderFrames(audio, 45000);
    ExpectRamp(out, 0, 45000, ramp, 0, 1.0f);
    music->Stop();
    music->Play(false);
    out = test::RenderFrames(audio, 30000);
    ExpectRamp(out, 0, 10000, ramp, 0, 1.0f);
    EXPECT_EQ(test::Peak(out, 10000 * 2), 0.0f);
    audio.PumpOnce();
    EXPECT_FALSE(music->IsPlaying());
    music->Play(true);
    out = test::RenderFrames(audio, 25000);
    ExpectRamp(out, 0, 25000, ramp, 0, 1.0f);
}

TEST_F(AudioDeviceTest, LargeEffectsAreStreamedAndDuplicatesStreamOnTheirOwn) {
    // 2 MB of decoded data: too much to hold whole.
    std::vector<int16_t> ramp = test::StereoRamp(500000);
    dir.Write("Sound/long.wav", test::MakeWav16(2, ramp));
    Sound* first = audio.CreateSound("Sound\\long.wav", false);
    ASSERT_TRUE(first->IsAudible());
    EXPECT_TRUE(first->IsStreamed());
    EXPECT_EQ(first->Class(), SOUND_CLASS_EFFECTS);

    Sound* second = first->Duplicate();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->IsStreamed());
    EXPECT_FALSE(first->SharesDataWith(*second));

    first->Play(false);
    test::RenderFrames(audio, 40000);
    second->Play(false);
    std::vector<float> out = test::RenderFrames(audio, 40000);
    for (size_t i = 0; i < 40000; ++i) {
        float expected = (ramp[(40000 + i) * 2] + ramp[i * 2]) * kSample;
        ASSERT_NEAR(out[i * 2], expected, 1e-6) << i;
    }

    // Just under the limit is held whole.
    dir.Write("Sound/short.wav", test::MakeWav16(2, test::StereoRamp(1048576 / 4)));
    EXPECT_FALSE(audio.CreateSound("Sound\\short.wav", false)->IsStreamed());
}

TEST_F(AudioDeviceTest, EffectsVolumeZeroSilencesEffectsWhileTheMusicPlaysOn) {
    std::vector<int16_t> music = test::StereoRamp(40000);
    std::vector<int16_t> effect(2000 * 2, 8000);
    dir.Write("Music/theme.wav", test::MakeWav16(2, music));
    dir.Write("Sound/beep.wav", test::MakeWav16(2, effect));
    Sound* theme = audio.CreateSound("Music\\theme.wav", true);
    Sound* beep = audio.CreateSound("Sound\\beep.wav", false);

    audio.SetClassVolume(0.0f, SOUND_CLASS_EFFECTS);
    theme->Play(true);
    beep->Play(true);
    std::vector<float> out = test::RenderFrames(audio, 3000);
    ExpectRamp(out, 0, 3000, music, 0, 1.0f);

    // Music volume 0 silences the music without stopping it: back at 0.5 it goes on from where it has
    // got to.
    audio.SetClassVolume(0.0f, SOUND_CLASS_MUSIC);
    Settle();
    EXPECT_EQ(test::Peak(test::RenderFrames(audio, 6999)), 0.0f);
    audio.SetClassVolume(0.5f, SOUND_CLASS_MUSIC);
    Settle();
    out = test::RenderFrames(audio, 2000);
    ExpectRamp(out, 0, 2000, music, 10001, MillibelsToGain(-512));
    EXPECT_TRUE(theme->IsPlaying());
    EXPECT_TRUE(beep->IsPlaying());
}

TEST_F(AudioDeviceTest, MonoPlaysOnEachChannelAtTheLevelOfTheSameSamplesInStereo) {
    // One signal as a mono file and as a stereo file carrying it on both channels, held whole (an
    // effect) and streamed (music): every channel of the mono output peaks where the stereo one does.
    std::vector<int16_t> mono, stereo;
    for (int i = 0; i < 3000; ++i) {
        auto v = static_cast<int16_t>(std::lround(20000.0 * std::sin(i * 0.05)));
        mono.push_back(v);
        stereo.push_back(v);
        stereo.push_back(v);
    }
    dir.Write("Sound/mono.wav", test::MakeWav16(1, mono));
    dir.Write("Sound/stereo.wav", test::MakeWav16(2, stereo));
    auto channelPeaks = [&](const char* name, bool music) {
        Sound* sound = audio.CreateSound(name, music);
        EXPECT_TRUE(sound && sound->IsAudible()) << name;
        sound->Play(false);
        std::vector<float> out = test::RenderFrames(audio, 4000);
        std::vector<float> left, right;
        for (size_t i = 0; i < out.size(); i += 2) {
            left.push_back(out[i]);
            right.push_back(out[i + 1]);
        }
        return std::pair{test::Peak(left), test::Peak(right)};
    };
    for (bool music : {false, true}) {
        SCOPED_TRACE(music ? "streamed" : "held whole");
        auto [stereoLeft, stereoRight] = channelPeaks("Sound\\stereo.wav", music);
        auto [monoLeft, monoRight] = channelPeaks("Sound\\mono.wav", music);
        EXPECT_NEAR(stereoLeft, 20000.0f * kSample, 1e-4);  // stereo plays as it always did
        EXPECT_EQ(stereoRight, stereoLeft);
        for (float peak : {monoLeft, monoRight}) {
            EXPECT_LT(std::fabs(20.0f * std::log10(peak / stereoLeft)), 0.5f) << peak << " vs " << stereoLeft;
        }
    }
}

TEST_F(AudioDeviceTest, WavCutOffInItsDataPlaysWhatIsThere) {
    // Data sizes past the end of the file: a cut-off file and one written to a pipe, as an effect and
    // as streamed music. Each plays the frames the file holds, then silence.
    std::vector<int16_t> ramp = test::StereoRamp(3000);
    dir.Write("Sound/cut.wav", test::MakeWavBytes(2, 44100, 16, test::Pcm16(ramp), 50000000));
    dir.Write("Sound/pipe.wav", test::MakeWavBytes(2, 44100, 16, test::Pcm16(ramp), 0xFFFFFFFF));
    for (const auto& [name, music] :
         {std::pair{"Sound\\cut.wav", false}, std::pair{"Sound\\pipe.wav", true}}) {
        SCOPED_TRACE(name);
        Sound* sound = audio.CreateSound(name, music);
        ASSERT_NE(sound, nullptr);
        EXPECT_TRUE(sound->IsAudible());
        sound->Play(false);
        std::vector<float> out = test::RenderFrames(audio, 8000);
        ExpectRamp(out, 0, 3000, ramp, 0, 1.0f);
        EXPECT_EQ(test::Peak(out, 3000 * 2), 0.0f);
        EXPECT_FALSE(sound->IsPlaying());
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(AudioDeviceTest, BadFilesGiveSilentSoundsAndTheBadFileMessage) {
    std::string good = test::MakeWav16(2, test::StereoRamp(100));
    dir.Write("Sound/truncated.wav", good.substr(0, 30));
    dir.Write("Sound/garbage.ogg", std::string(3000, '\x5A'));
    dir.Write("Sound/empty.wav", "");
    dir.Write("Sound/tune.mp3", good);
    {
        std::ifstream in(std::string(TAMBLOR_TEST_FIXTURES) + "/sound/silent-empty.ogg", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        dir.Write("Music/empty.ogg", s.str());
    }
    const std::vector<std::pair<std::string, bool>> bad = {
        {"Sound\\truncated.wav", false}, {"Sound\\garbage.ogg", false}, {"Sound\\empty.wav", false},
        {"Sound\\tune.mp3", false},      {"Sound\\missing.wav", false}, {"Music\\empty.ogg", true}};
    for (const auto& [name, music] : bad) {
        Sound* sound = audio.CreateSound(name, music);
        ASSERT_NE(sound, nullptr) << name;
        EXPECT_FALSE(sound->IsAudible()) << name;
        sound->SetVolume(1.0f);
        sound->Play(true);
        EXPECT_FALSE(sound->IsPlaying()) << name;
    }
    ASSERT_EQ(dialogs.shown.size(), bad.size());
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_EQ(dialogs.shown[i].kind, MessageKind::None);
        EXPECT_EQ(dialogs.shown[i].title, "sound file is bad");
        EXPECT_EQ(dialogs.shown[i].text, bad[i].first);
    }
    EXPECT_EQ(test::Peak(test::RenderFrames(audio, 5000)), 0.0f);

    // A second sound of a bad file is silent too.
    Sound* again = audio.CreateSound("sound\\TRUNCATED.wav", false);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->IsAudible());
}

TEST(AudioDeviceWithoutOutput, EverySoundExistsAndIsSilent) {
    test::TempDir dir;
    dir.Write("Sound/a.wav", test::MakeWav16(2, test::StereoRamp(100)));
    FileSystem files(dir.Path(), dir.Path());
    test::RecordingDialogs dialogs;
    AudioDevice audio(files, dialogs);
    EXPECT_FALSE(audio.AudioStart(AudioOutput::None));
    EXPECT_FALSE(audio.HasDevice());
    EXPECT_FALSE(audio.IsStreamingThreadRunning());
    for (const char* name : {"Sound\\a.wav", "Sound\\missing.wav", "Music\\theme1.ogg"}) {
        Sound* sound = audio.CreateSound(name, false);
        ASSERT_NE(sound, nullptr);
        EXPECT_FALSE(sound->IsAudible());
        sound->Play(true);
        sound->SetVolume(0.5f);
        sound->Update();
        EXPECT_FALSE(sound->IsPlaying());
        sound->Pause();
        sound->Stop();
        EXPECT_NE(sound->Duplicate(), nullptr);
    }
    audio.SetClassVolume(0.3f, SOUND_CLASS_MUSIC);
    EXPECT_FLOAT_EQ(audio.ClassVolume(SOUND_CLASS_MUSIC), 0.3f);
    audio.PumpOnce();
    float frame[2];
    EXPECT_FALSE(audio.RenderLoopback(frame, 1));
    // Without a device nothing is decoded, so nothing is reported either.
    EXPECT_TRUE(dialogs.shown.empty());
    audio.AudioStop();
    audio.AudioStop();
    EXPECT_EQ(audio.SoundCount(), 0u);
}

}  // namespace
}  // namespace tamblor
