#include "platform/audio/AudioDevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <pthread.h>
#include <sched.h>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

namespace tamblor {

struct AudioDevice::Output {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCRENDERSAMPLESSOFT render = nullptr;

    ~Output() {
        if (context) {
            if (alcGetCurrentContext() == context)
                alcMakeContextCurrent(nullptr);
            alcDestroyContext(context);
        }
        if (device)
            alcCloseDevice(device);
    }
};

AudioDevice::AudioDevice(const FileSystem& files, Dialogs& dialogs) : files_(files), dialogs_(dialogs) {
    table_.reserve(100);
}

AudioDevice::~AudioDevice() {
    AudioStop();
}

namespace {

bool MakeCurrent(AudioDevice::Output& output) {
    if (!output.context || !alcMakeContextCurrent(output.context))
        return false;
    // Sounds are not placed in space: no distance attenuation at all.
    alDistanceModel(AL_NONE);
    return alGetError() == AL_NO_ERROR;
}

std::unique_ptr<AudioDevice::Output> OpenDefault() {
    auto output = std::make_unique<AudioDevice::Output>();
    output->device = alcOpenDevice(nullptr);
    if (!output->device)
        return nullptr;
    const ALCint attributes[] = {ALC_FREQUENCY, AudioDevice::kOutputRate, 0};
    output->context = alcCreateContext(output->device, attributes);
    if (!MakeCurrent(*output))
        return nullptr;
    return output;
}

std::unique_ptr<AudioDevice::Output> OpenLoopback() {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return nullptr;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto supported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
        alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    auto render =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!open || !supported || !render)
        return nullptr;
    auto output = std::make_unique<AudioDevice::Output>();
    output->device = open(nullptr);
    if (!output->device)
        return nullptr;
    if (!supported(output->device, AudioDevice::kOutputRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT))
        return nullptr;
    // Plain float stereo at the output rate: no virtual surround and no limiter, so what is rendered
    // is exactly the sources at their gains.
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 AudioDevice::kOutputRate,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 0};
    output->context = alcCreateContext(output->device, attributes);
    if (!MakeCurrent(*output))
        return nullptr;
    output->render = render;
    return output;
}

}  // namespace

bool AudioDevice::AudioStart(AudioOutput output, bool startStreamingThread) {
    if (!output_) {
        if (output == AudioOutput::Default)
            output_ = OpenDefault();
        if (output == AudioOutput::Loopback)
            output_ = OpenLoopback();
    }
    // Without an output there is nothing to stream: every sound stays silent.
    if (!output_)
        return false;
    // A window that lost the focus before the output opened keeps it quiet.
    if (muted_)
        SetMuted(true);
    if (startStreamingThread && !thread_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopRequested_ = false;
        }
        thread_ = std::thread([this] { StreamingThread(); });
    }
    return true;
}

void AudioDevice::StopThread() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void AudioDevice::AudioStop() {
    StopThread();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t i = table_.size(); i-- > 0;) table_[i].reset();
        table_.clear();
        badFiles_.clear();
    }
    output_.reset();
}

bool AudioDevice::HasDevice() const {
    return output_ != nullptr;
}

void AudioDevice::StreamingThread() {
    // Refilling is urgent work; a raised priority needs privileges on Linux and is only tried.
    // A thread that never sleeps between passes must not run real-time: it would starve the machine.
    if (period_.count() > 0) {
        sched_param param{};
        param.sched_priority = sched_get_priority_min(SCHED_FIFO);
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    }

    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopRequested_) {
        PumpLocked();
        wake_.wait_for(lock, period_, [this] { return stopRequested_; });
    }
}

void AudioDevice::PumpLocked() {
    // The table is read anew on every pass: sounds come and go between passes.
    for (size_t i = 0; i < table_.size(); ++i) {
        Sound* sound = table_[i].get();
        if (sound && (sound->flags_ & SOUND_STREAMING))
            sound->UpdateLocked();
    }
    passes_.fetch_add(1);
}

void AudioDevice::PumpOnce() {
    std::lock_guard<std::mutex> lock(mutex_);
    PumpLocked();
}

Sound* AudioDevice::Register(std::unique_ptr<Sound> sound) {
    Sound* raw = sound.get();
    // An empty slot left by a deleted sound is used again first.
    for (auto& slot : table_) {
        if (!slot) {
            slot = std::move(sound);
            return raw;
        }
    }
    table_.push_back(std::move(sound));
    return raw;
}

Sound* AudioDevice::CreateSoundLocked(std::string_view fileName, bool music) {
    if (fileName.empty())
        return nullptr;
    for (const auto& slot : table_) {
        if (slot && EqualsNoCase(slot->key_, fileName))
            return DuplicateLocked(*slot);
    }
    std::unique_ptr<Sound> sound(
        new Sound(*this, std::string(fileName), music ? SOUND_CLASS_MUSIC : SOUND_CLASS_EFFECTS));
    sound->Load();
    return Register(std::move(sound));
}

Sound* AudioDevice::DuplicateLocked(const Sound& original) {
    std::unique_ptr<Sound> copy(new Sound(*this, original.fileName_, original.soundClass_));
    copy->volume_ = original.volume_;
    copy->flags_ |= original.flags_ & SOUND_LOOPING;
    if (original.sharedBuffer_) {
        // Held whole: a further source on the same data.
        copy->ShareDataOf(original);
    } else if (original.decoder_) {
        // Streamed: its own decoder and queue.
        copy->Load();
    }
    copy->ApplyVolumeLocked();
    return Register(std::move(copy));
}

Sound* AudioDevice::CreateSound(std::string_view fileName, bool music) {
    Sound* sound = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sound = CreateSoundLocked(fileName, music);
    }
    ReportBadFiles();
    return sound;
}

void AudioDevice::ReportBadFiles() {
    std::vector<std::string> names;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        names.swap(badFiles_);
    }
    for (const std::string& name : names) dialogs_.ShowMessage(MessageKind::None, kBadFileTitle, name);
}

void AudioDevice::DeleteSound(Sound* sound) {
    if (!sound)
        return;
    std::unique_ptr<Sound> doomed;
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& slot : table_) {
        if (slot.get() == sound) {
            doomed = std::move(slot);
            break;
        }
    }
    // Out of the table first; the lock keeps the streaming thread out while it goes.
    doomed.reset();
}

void AudioDevice::SetClassVolume(float volume, int soundClass) {
    if (soundClass != SOUND_CLASS_EFFECTS && soundClass != SOUND_CLASS_MUSIC)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    classVolumes_[soundClass] = volume;
    for (const auto& slot : table_) {
        if (slot)
            slot->ApplyVolumeLocked();
    }
}

float AudioDevice::ClassVolume(int soundClass) const {
    if (soundClass != SOUND_CLASS_EFFECTS && soundClass != SOUND_CLASS_MUSIC)
        return 0.0f;
    std::lock_guard<std::mutex> lock(mutex_);
    return classVolumes_[soundClass];
}

void AudioDevice::SetMuted(bool muted) {
    std::lock_guard<std::mutex> lock(mutex_);
    muted_ = muted;
    if (output_)
        alListenerf(AL_GAIN, muted ? 0.0f : 1.0f);
}

bool AudioDevice::RenderLoopback(float* interleavedStereo, int frames) {
    if (!output_ || !output_->render || frames <= 0)
        return false;
    output_->render(output_->device, interleavedStereo, frames);
    return true;
}

size_t AudioDevice::SoundCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t count = 0;
    for (const auto& slot : table_) count += slot ? 1 : 0;
    return count;
}

}  // namespace tamblor
