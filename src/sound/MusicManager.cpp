#include "sound/MusicManager.h"

#include "core/IniText.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"

namespace tamblor {
namespace {

constexpr size_t kLineLimit = 254;  // characters of a sound.ini line that are read

std::string Bounded(std::string_view text, size_t limit) {
    return std::string(text.substr(0, limit));
}

// The event name of a sound.ini line: the text after "[" up to the first blank, without its last
// character (the closing "]"). Empty when the line opens no event.
std::optional<std::string> EventNameOf(std::string_view line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    std::string_view rest = line.substr(1);
    size_t blank = rest.find_first_of(" \t\r\n");
    if (blank != std::string_view::npos)
        rest = rest.substr(0, blank);
    // A line "[" or "[ x]" has nothing to take the last character from.
    if (rest.empty())
        return std::nullopt;
    rest.remove_suffix(1);
    return Bounded(rest, MusicManager::kMaxNameLength);
}

}  // namespace

MusicManager::MusicManager(FileSystem& files, Log& log, Random& random, Settings& settings, Dialogs& dialogs)
    : files_(files), log_(log), random_(random), settings_(settings), audio_(files, dialogs) {
    events_.reserve(kMaxEvents);
    sounds_.reserve(kMaxSounds);
}

MusicManager::~MusicManager() {
    if (!freed_)
        audio_.AudioStop();
}

int MusicManager::Init(AudioOutput output, bool startStreamingThread) {
    audio_.AudioStart(output, startStreamingThread);
    freed_ = false;
    sounds_.clear();
    musicVolume_ = 0.8f;
    sfxVolume_ = 0.75f;
    settings_.ReadConfigFloat("OPTIONS", "MusicVolume", &musicVolume_);
    settings_.ReadConfigFloat("OPTIONS", "SfxVolume", &sfxVolume_);
    audio_.SetClassVolume(musicVolume_, SOUND_CLASS_MUSIC);
    audio_.SetClassVolume(sfxVolume_, SOUND_CLASS_EFFECTS);
    ReadSoundEvents();
    return 1;
}

void MusicManager::ReadSoundEvents() {
    events_.clear();
    std::string text;
    if (files_.ReadFile(kSoundIni, text)) {
        size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        while (pos < text.size()) {
            size_t newline = text.find('\n', pos);
            size_t end = newline == std::string::npos ? text.size() : newline;
            std::string_view line(text.data() + pos, end - pos);
            pos = newline == std::string::npos ? text.size() : newline + 1;
            if (static_cast<int>(events_.size()) >= kMaxEvents) {
                log_.WriteLog("too many sound events", LOG_WARNING);
                break;
            }
            line = line.substr(0, kLineLimit);
            // Files written on Windows end their lines with CR LF.
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
            if (auto name = EventNameOf(line)) {
                SoundEvent event;
                event.name = *name;
                events_.push_back(std::move(event));
            }
        }
        for (SoundEvent& event : events_) {
            std::optional<std::string> volume = IniGet(text, event.name, "volume");
            event.volume =
                (volume && !volume->empty()) ? static_cast<float>(ParseDecimalPrefix(*volume)) : 1.0f;
            event.fileCount = 0;
            for (int k = 0; k < SoundEvent::kMaxFiles; ++k) {
                std::optional<std::string> file = IniGet(text, event.name, "file" + std::to_string(k));
                if (!file || file->empty())
                    break;
                event.files[k] = Bounded(*file, kMaxNameLength);
                event.fileCount = k + 1;
            }
        }
    }
    log_.WriteLog("Loading sound events...", LOG_NO_NEWLINE);
    log_.WriteLog(std::to_string(events_.size()) + " events parsed", 0);
}

void MusicManager::LoadSoundFolder(std::string_view folder) {
    for (const char* pattern : {"*.ogg", "*.wav"}) {
        for (const std::string& name : files_.ListFolder(folder, pattern)) {
            LoadSound(std::string(folder) + name, false);
        }
    }
}

int MusicManager::LoadSound(std::string_view fileName, bool music) {
    if (static_cast<int>(sounds_.size()) >= kMaxSounds) {
        log_.WriteLog("too many sound files", LOG_WARNING);
        return 0;
    }
    std::string name(fileName);
    // A name the library cannot hold would never be found again and load copy after copy.
    if (name.size() > kMaxNameLength) {
        if (refusedNames_.insert(name).second)
            log_.WriteLog("OGG sound loading: " + name + " ... FAILED", 0);
        return 0;
    }
    Sound* sound = audio_.CreateSound(name, music);
    if (!sound) {
        log_.WriteLog("OGG sound loading: " + name + " ... FAILED", 0);
        return 0;
    }
    sounds_.push_back({name, sound});
    log_.WriteLog("OGG sound loading: " + name + " ... OK", 0);
    return 1;
}

int MusicManager::FindOrLoad(std::string_view fileName, bool music) {
    for (size_t i = 0; i < sounds_.size(); ++i) {
        if (sounds_[i].fileName == fileName)
            return static_cast<int>(i);
    }
    if (!LoadSound(fileName, music))
        return -1;
    return static_cast<int>(sounds_.size()) - 1;
}

int MusicManager::FindSound(std::string_view fileName) {
    return FindOrLoad(fileName, false);
}

int MusicManager::FindMusic(std::string_view fileName) {
    return FindOrLoad(fileName, true);
}

int MusicManager::EventIndex(std::string_view eventName) const {
    for (size_t i = events_.size(); i-- > 0;) {
        if (events_[i].name == eventName)
            return static_cast<int>(i);
    }
    return -1;
}

int MusicManager::FindEvent(std::string_view eventName) {
    int e = EventIndex(eventName);
    if (e < 0 || events_[e].fileCount == 0) {
        log_.WriteLog("Warning: couldn't find sound event - " + std::string(eventName), 0);
        return -1;
    }
    const SoundEvent& event = events_[e];
    int k = event.fileCount == 1 ? 0 : random_.RandomInt(0, event.fileCount - 1);
    int index = FindSound(event.files[k]);
    if (index < 0)
        return -1;
    // The effects volume counts twice: here in the sound's own volume and again as the class volume.
    sounds_[index].sound->SetVolume(sfxVolume_ * event.volume);
    return index;
}

int MusicManager::Play(int index, bool loop) {
    if (index < 0 || index >= static_cast<int>(sounds_.size()))
        return 0;
    Sound* sound = sounds_[index].sound;
    sound->Stop();
    sound->Play(loop);
    return 1;
}

int MusicManager::SetMusicVolume(float volume) {
    musicVolume_ = volume;
    audio_.SetClassVolume(volume, SOUND_CLASS_MUSIC);
    return 1;
}

int MusicManager::SetSfxVolume(float volume) {
    sfxVolume_ = volume;
    audio_.SetClassVolume(volume, SOUND_CLASS_EFFECTS);
    return 1;
}

void MusicManager::StopAll() {
    for (SoundEntry& entry : sounds_) entry.sound->Stop();
}

void MusicManager::FreeMusicManager() {
    StopAll();
    for (SoundEntry& entry : sounds_) audio_.DeleteSound(entry.sound);
    sounds_.clear();
    audio_.AudioStop();
    freed_ = true;
    log_.WriteLog("FreeMusicManager()", 0);
}

void MusicManager::Update() {
    if (audio_.HasDevice() && !audio_.IsStreamingThreadRunning())
        audio_.PumpOnce();
}

int MusicManager::StartMusic() {
    int index = FindMusic(kMusicFile);
    return Play(index, true);
}

void MusicManager::PlayEvent(std::string_view eventName) {
    Play(FindEvent(eventName), false);
}

int MusicManager::PlaySoundFile(std::string_view fileName) {
    return Play(FindSound(fileName), false);
}

}  // namespace tamblor
