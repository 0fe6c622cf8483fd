#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/SoundDecoder.h"

namespace tamblor {

class AudioDevice;

// The two volume classes; each has its own class volume on the audio device.
enum SoundClass : int { SOUND_CLASS_EFFECTS = 0, SOUND_CLASS_MUSIC = 1 };

// Bits of Sound::Flags().
enum SoundFlags : uint32_t {
    SOUND_PLAYING = 1u,
    SOUND_LOOPING = 2u,
    SOUND_CLASS_SHIFT = 3u,  // bits 3-4: the SoundClass
    SOUND_CLASS_MASK = 0x18u,
    SOUND_STREAMING = 32u,  // streamed and playing: the streaming thread refills it
};

// One playable sound. Short effects hold their whole data in one buffer that duplicates share;
// music and long files are streamed through a queue refilled from their own decoder. A sound without
// an output (no device, or a bad file) is silent and every operation on it does nothing.
// Sounds belong to the AudioDevice's sound table; callers keep plain pointers.
class Sound {
public:
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Plays from the current position (the start after Stop); loop repeats without end.
    void Play(bool loop);
    // Stops and goes back to the start.
    void Stop();
    // Stops where it is; the next Play goes on from there.
    void Pause();
    bool IsPlaying();
    // The sound's own volume 0..1; the loudness is the curve of this times its class volume.
    void SetVolume(float volume);
    // One streaming step: refills what has been played. The streaming thread calls it.
    void Update();
    // A further sound of the same file: shares the data of a sound held whole, streams on its own
    // otherwise. Registered in the sound table like any other.
    Sound* Duplicate();

    const std::string& FileName() const { return fileName_; }
    const std::string& Key() const { return key_; }
    float Volume() const;
    uint32_t Flags() const;
    int Class() const { return soundClass_; }
    // True when the sound has an output (a device and a good file).
    bool IsAudible() const { return source_ != 0; }
    bool IsStreamed() const { return decoder_ != nullptr; }
    // True when both sounds play the same held data.
    bool SharesDataWith(const Sound& other) const;
    // The level last handed to the output, in hundredths of a decibel.
    int AppliedMillibels() const;

private:
    friend class AudioDevice;
    struct SharedBuffer;

    Sound(AudioDevice& device, std::string fileName, int soundClass);

    // The work of each operation; the caller holds the device lock.
    void Load();
    bool LoadFromDecoder(std::unique_ptr<SoundDecoder> decoder);
    void CreateSource();
    void ShareDataOf(const Sound& original);
    void PlayLocked(bool loop);
    void StopLocked();
    void PauseLocked();
    void ApplyVolumeLocked();
    void UpdateLocked();
    void Prefill();
    bool RefillBuffer(unsigned int buffer);
    void ReleaseOutput();

    AudioDevice& device_;
    std::string fileName_;
    std::string key_;
    int soundClass_;
    float volume_ = 1.0f;
    uint32_t flags_ = 0;
    int appliedMillibels_ = 0;

    unsigned int source_ = 0;
    std::shared_ptr<SharedBuffer> sharedBuffer_;  // data held whole

    std::unique_ptr<SoundDecoder> decoder_;  // streamed data
    std::array<unsigned int, 4> streamBuffers_{};
    std::vector<unsigned int> freeBuffers_;
    uint32_t streamPosition_ = 0;  // bytes handed to the queue since the start
    bool endReached_ = false;      // the decoder has delivered its last byte (not looping)
    bool queuedLooping_ = false;   // the looping bit the queue was filled with since the start
};

}  // namespace tamblor
