#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/audio/Sound.h"

namespace tamblor {

class FileSystem;
class Dialogs;

// Where the sound goes. None is the normal case headless: every sound exists and is silent. Loopback
// renders into memory on request (tests), without hardware and without wall time.
enum class AudioOutput { None, Default, Loopback };

// The audio device layer on OpenAL: the output, the two class volumes, the sound table and the
// streaming thread that refills streamed sounds. One lock keeps the table and every sound's refill
// apart from the main thread.
class AudioDevice {
public:
    static constexpr uint32_t kStreamRingBytes = 131072;    // queued ahead of a streamed sound
    static constexpr uint32_t kStreamBufferCount = 4;       // the ring as a queue of buffers
    static constexpr uint32_t kStaticLimitBytes = 1048576;  // effects up to this size are held whole
    static constexpr int kOutputRate = 44100;
    static constexpr const char* kBadFileTitle = "sound file is bad";
    static constexpr std::chrono::milliseconds kStreamPeriod{50};

    // Files are opened through the resolver; a bad file is reported through the dialogs.
    AudioDevice(const FileSystem& files, Dialogs& dialogs);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the output and, unless told otherwise, starts the streaming thread. When the output cannot
    // be opened the layer runs without a device (false). Tests leave the thread off and call PumpOnce.
    bool AudioStart(AudioOutput output, bool startStreamingThread = true);
    // Ends the streaming thread (flag and join), deletes every sound (last slot first) and closes the
    // output. Safe to call twice.
    void AudioStop();
    bool HasDevice() const;

    // The sound for a file (logical name). A name already in the table, compared without regard to
    // letter case, gives a duplicate of that sound. Null only for an empty name.
    Sound* CreateSound(std::string_view fileName, bool music);
    // Takes the sound out of the table and deletes it.
    void DeleteSound(Sound* sound);
    // Sets a class volume and applies it at once to every sound of the table, playing ones included.
    void SetClassVolume(float volume, int soundClass);
    float ClassVolume(int soundClass) const;

    // One pass of the streaming thread on the calling thread: Update of every streaming sound.
    void PumpOnce();
    // Passes done so far (by the thread or PumpOnce).
    uint64_t StreamingPasses() const { return passes_.load(); }
    // The wait between passes of the thread (50 ms); set before AudioStart.
    void SetStreamingPeriod(std::chrono::milliseconds period) { period_ = period; }
    bool IsStreamingThreadRunning() const { return thread_.joinable(); }

    // Silences all output without touching any sound (focus loss).
    void SetMuted(bool muted);
    bool IsMuted() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return muted_;
    }
    // Loopback output only: mixes the next frames as interleaved stereo floats at kOutputRate.
    bool RenderLoopback(float* interleavedStereo, int frames);

    // Sounds alive in the table.
    size_t SoundCount() const;

    // The OpenAL device and context (defined with the implementation).
    struct Output;

private:
    friend class Sound;

    Sound* CreateSoundLocked(std::string_view fileName, bool music);
    Sound* DuplicateLocked(const Sound& original);
    Sound* Register(std::unique_ptr<Sound> sound);
    // A file that could not be decoded is reported once the lock is released, so a message box
    // never holds up the streaming thread.
    void NoteBadFile(const std::string& fileName) { badFiles_.push_back(fileName); }
    void ReportBadFiles();
    void StreamingThread();
    void PumpLocked();
    void StopThread();

    const FileSystem& files_;
    Dialogs& dialogs_;
    std::unique_ptr<Output> output_;
    float classVolumes_[2] = {1.0f, 1.0f};
    std::vector<std::unique_ptr<Sound>> table_;
    std::vector<char> scratch_;       // one streaming refill
    std::vector<char> upmixScratch_;  // that refill as stereo, for a mono sound
    std::vector<std::string> badFiles_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    bool stopRequested_ = false;  // guarded by mutex_
    bool muted_ = false;          // guarded by mutex_
    std::atomic<uint64_t> passes_{0};
    std::chrono::milliseconds period_ = kStreamPeriod;
};

}  // namespace tamblor
