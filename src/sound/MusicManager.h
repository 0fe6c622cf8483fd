#pragma once
#include <array>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/AudioDevice.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

class FileSystem;
class Log;
class Random;
class Settings;
class Dialogs;
class Sound;

// A sound event of sound.ini: a name the game plays, standing for one of several files at a volume.
struct SoundEvent {
    static constexpr int kMaxFiles = 10;
    std::string name;
    std::array<std::string, kMaxFiles> files;
    int fileCount = 0;
    float volume = 1.0f;
};

// A loaded sound of the library, found again by the file name it was asked for.
struct SoundEntry {
    std::string fileName;
    Sound* sound = nullptr;  // owned by the audio device's sound table
};

// Every sound the game plays: the sound library (indices 0..99 that never change), the sound events
// of sound.ini, the music and effects volumes. Owns the audio device layer.
class MusicManager final : public SoundEventPlayer {
public:
    static constexpr int kMaxSounds = 100;
    static constexpr int kMaxEvents = 100;
    static constexpr size_t kMaxNameLength = 59;  // sound-event and library names
    static constexpr const char* kSoundIni = "sound.ini";
    static constexpr const char* kSoundFolder = "Sound\\";
    static constexpr const char* kMusicFile = "Music\\theme1.ogg";

    MusicManager(FileSystem& files, Log& log, Random& random, Settings& settings, Dialogs& dialogs);
    ~MusicManager() override;
    MusicManager(const MusicManager&) = delete;
    MusicManager& operator=(const MusicManager&) = delete;

    // Starts the audio device on the given output, empties the library, takes the volumes (0.8 and
    // 0.75, or config.ini OPTIONS MusicVolume / SfxVolume) and reads sound.ini. Returns 1.
    int Init(AudioOutput output, bool startStreamingThread = true);
    // Loads every *.ogg and then every *.wav of a logical folder ("Sound\") as effects, sorted.
    void LoadSoundFolder(std::string_view folder);
    // 1 when the file got a library entry (also a silent one for a bad file), 0 otherwise.
    int LoadSound(std::string_view fileName, bool music);
    // The library index of a file name (exact comparison), loading it on first use; -1 on failure.
    int FindSound(std::string_view fileName);
    int FindMusic(std::string_view fileName);
    // The position of an event in sound.ini order (the last of that name), or -1.
    int EventIndex(std::string_view eventName) const;
    // The index of the sound to play for an event (a random one of its files, at its volume), or -1.
    int FindEvent(std::string_view eventName);
    // Stops the sound and plays it from its start; 1, or 0 for an index that is not a loaded sound.
    int Play(int index, bool loop);
    int SetMusicVolume(float volume);
    int SetSfxVolume(float volume);
    void StopAll();
    // Stops and releases every sound and shuts the audio device down. Called once at the end.
    void FreeMusicManager();

    // The per-frame step: when the device runs without its streaming thread (runs that step their own
    // time), streamed sounds are refilled here; with the thread it does nothing.
    void Update();
    // Starts the game's music ("Music\theme1.ogg", looping); 1 when it got a library entry.
    int StartMusic();
    // Game play: Play(FindEvent(name), false).
    void PlayEvent(std::string_view eventName) override;
    // Screens' click and hover sounds, named by file: Play(FindSound(name), false).
    int PlaySoundFile(std::string_view fileName);

    float MusicVolume() const { return musicVolume_; }
    float SfxVolume() const { return sfxVolume_; }
    int EventCount() const { return static_cast<int>(events_.size()); }
    const SoundEvent& Event(int index) const { return events_[index]; }
    int SoundCount() const { return static_cast<int>(sounds_.size()); }
    const SoundEntry& Entry(int index) const { return sounds_[index]; }
    AudioDevice& Audio() { return audio_; }

private:
    void ReadSoundEvents();
    int FindOrLoad(std::string_view fileName, bool music);

    FileSystem& files_;
    Log& log_;
    Random& random_;
    Settings& settings_;
    AudioDevice audio_;
    std::vector<SoundEvent> events_;
    std::vector<SoundEntry> sounds_;
    std::set<std::string, std::less<>> refusedNames_;  // too long for the library, logged once
    float musicVolume_ = 0.8f;
    float sfxVolume_ = 0.75f;
    bool freed_ = false;
};

}  // namespace tamblor
