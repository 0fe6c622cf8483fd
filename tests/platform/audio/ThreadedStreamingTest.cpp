// The streaming thread for real: it refills while the main thread mixes, plays, stops, creates and
// deletes sounds. Nothing here depends on how fast the thread runs: the test waits for passes of the
// thread, never for time, and the checks are about what was played, not when.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/AudioTestSupport.h"

namespace tamblor {
namespace {

constexpr float kSample = 1.0f / 32768.0f;

// OpenAL probes its output backends on its first call. The loopback device needs none of them, and a
// sound server's client library starts threads of its own that the thread checker cannot see into:
// the tests of this program use the null backend unless told otherwise.
const bool kNullBackend = [] { return ::setenv("ALSOFT_DRIVERS", "null", 0) == 0; }();

// Waits until the thread has begun and finished at least one whole pass after this call.
void WaitForFullPass(const AudioDevice& audio) {
    uint64_t target = audio.StreamingPasses() + 2;
    while (audio.StreamingPasses() < target) std::this_thread::yield();
}

TEST(ThreadedAudioStreaming, ThreadKeepsALoopingStreamGaplessWhileTheMainThreadWorks) {
    test::TempDir dir;
    std::vector<int16_t> ramp = test::StereoRamp(30000);
    dir.Write("Music/theme.wav", test::MakeWav16(2, ramp));
    dir.Write("Sound/click.wav", test::MakeWav16(2, test::StereoRamp(500)));
    FileSystem files(dir.Path(), dir.Path());
    test::RecordingDialogs dialogs;
    AudioDevice audio(files, dialogs);
    audio.SetStreamingPeriod(std::chrono::milliseconds(1));
    ASSERT_TRUE(audio.AudioStart(AudioOutput::Loopback));
    ASSERT_TRUE(audio.IsStreamingThreadRunning());

    Sound* theme = audio.CreateSound("Music\\theme.wav", true);
    ASSERT_TRUE(theme->IsStreamed());
    theme->Play(true);

    // Each block is smaller than one queued buffer and a full refill pass follows it, so the queue
    // never runs dry and the output must be the file over and over, sample for sample.
    const int block = 4096;
    const int blocks = 20;
    std::vector<float> out(static_cast<size_t>(block) * blocks * 2);
    std::vector<Sound*> extra;
    for (int b = 0; b < blocks; ++b) {
        audio.RenderLoopback(out.data() + static_cast<size_t>(b) * block * 2, block);
        // Grow and shrink the sound table while the thread walks it.
        for (int i = 0; i < 10; ++i) {
            Sound* s = audio.CreateSound("Sound\\click.wav", false);
            s->SetVolume(0.0f);
            extra.push_back(s);
        }
        if (b % 3 == 2) {
            for (int i = 0; i < 15; ++i) {
                audio.DeleteSound(extra.back());
                extra.pop_back();
            }
        }
        WaitForFullPass(audio);
    }
    for (size_t i = 0; i < out.size() / 2; ++i) {
        size_t src = i % 30000;
        ASSERT_NEAR(out[i * 2], ramp[src * 2] * kSample, 1e-6) << "frame " << i;
        ASSERT_NEAR(out[i * 2 + 1], ramp[src * 2 + 1] * kSample, 1e-6) << "frame " << i;
    }
    EXPECT_GT(audio.SoundCount(), 100u);
    EXPECT_TRUE(theme->IsPlaying());

    // Stop and play again from the main thread while the thread runs: it starts from the beginning.
    theme->Stop();
    theme->Play(false);
    std::vector<float> again(2000 * 2);
    audio.RenderLoopback(again.data(), 2000);
    for (size_t i = 0; i < 2000; ++i) ASSERT_NEAR(again[i * 2], ramp[i * 2] * kSample, 1e-6) << i;

    // The thread ends by its flag and a join, with streams still playing.
    audio.AudioStop();
    EXPECT_FALSE(audio.IsStreamingThreadRunning());
    EXPECT_EQ(audio.SoundCount(), 0u);
}

TEST(ThreadedAudioStreaming, NonLoopingStreamsEndAndStopWhileTheThreadRuns) {
    test::TempDir dir;
    dir.Write("Music/short.wav", test::MakeWav16(2, test::StereoRamp(3000)));
    FileSystem files(dir.Path(), dir.Path());
    test::RecordingDialogs dialogs;
    AudioDevice audio(files, dialogs);
    audio.SetStreamingPeriod(std::chrono::milliseconds(1));
    ASSERT_TRUE(audio.AudioStart(AudioOutput::Loopback));

    std::vector<Sound*> sounds;
    for (int i = 0; i < 8; ++i) sounds.push_back(audio.CreateSound("Music\\short.wav", true));
    for (Sound* s : sounds) s->Play(false);
    std::vector<float> out(4000 * 2);
    audio.RenderLoopback(out.data(), 4000);
    // Once the data has been played, the thread stops every one of them by itself.
    for (Sound* s : sounds) {
        while (s->IsPlaying()) WaitForFullPass(audio);
    }
    audio.RenderLoopback(out.data(), 4000);
    EXPECT_EQ(test::Peak(out), 0.0f);
    for (Sound* s : sounds) audio.DeleteSound(s);
    EXPECT_EQ(audio.SoundCount(), 0u);
    audio.AudioStop();
}

TEST(ThreadedAudioStreaming, MainThreadChangesSoundsWhileTheThreadRefills) {
    test::TempDir dir;
    dir.Write("Music/a.wav", test::MakeWav16(2, test::StereoRamp(20000)));
    dir.Write("Sound/long.wav", test::MakeWav16(2, test::StereoRamp(300000)));
    dir.Write("Sound/click.wav", test::MakeWav16(2, test::StereoRamp(300)));
    FileSystem files(dir.Path(), dir.Path());
    test::RecordingDialogs dialogs;
    AudioDevice audio(files, dialogs);
    // No pause between passes: the thread refills all the time, so its passes overlap everything the
    // main thread does below.
    audio.SetStreamingPeriod(std::chrono::milliseconds(0));
    ASSERT_TRUE(audio.AudioStart(AudioOutput::Loopback));

    std::vector<Sound*> streams = {audio.CreateSound("Music\\a.wav", true),
                                   audio.CreateSound("Sound\\long.wav", false)};
    for (Sound* s : streams) s->Play(true);
    std::vector<float> out(256 * 2);
    std::vector<Sound*> extra;
    for (int i = 0; i < 300; ++i) {
        Sound* s = (i % 2) ? streams[0]->Duplicate() : audio.CreateSound("Sound\\click.wav", false);
        s->Play(i % 3 == 0);
        extra.push_back(s);
        Sound* stream = streams[static_cast<size_t>(i) % streams.size()];
        if (i % 5 == 0)
            stream->Stop();
        if (i % 7 == 0)
            stream->Pause();
        stream->Play(true);
        audio.SetClassVolume((i % 10) / 10.0f, i % 2);
        audio.RenderLoopback(out.data(), 256);
        if (i % 4 == 3) {
            audio.DeleteSound(extra.front());
            extra.erase(extra.begin());
        }
    }
    EXPECT_TRUE(streams[0]->IsPlaying());
    EXPECT_TRUE(streams[1]->IsPlaying());
    EXPECT_EQ(audio.SoundCount(), 2u + extra.size());
    audio.AudioStop();
    EXPECT_EQ(audio.SoundCount(), 0u);
}

}  // namespace
}  // namespace tamblor
