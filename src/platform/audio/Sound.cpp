#include "platform/audio/Sound.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/FileSystem.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/VolumeCurve.h"

namespace tamblor {
namespace {

// Hands whole frames of PCM data to a buffer, always as stereo. OpenAL pans a mono source to the
// centre, about 4.5 dB quieter on each channel than the same samples in a stereo file; a mono sound
// is therefore given with its samples on both channels, which the source's direct channels play as
// they are, at the level a stereo file of those samples has.
void BufferPcm(ALuint buffer, const PcmFormat& format, const char* data, uint32_t bytes,
               std::vector<char>& upmix) {
    ALenum alFormat = format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
    if (format.channels == 1) {
        const size_t sampleBytes = format.bitsPerSample / 8u;
        upmix.resize(static_cast<size_t>(bytes) * 2);
        for (size_t in = 0, out = 0; in + sampleBytes <= bytes; in += sampleBytes, out += 2 * sampleBytes) {
            std::memcpy(upmix.data() + out, data + in, sampleBytes);
            std::memcpy(upmix.data() + out + sampleBytes, data + in, sampleBytes);
        }
        data = upmix.data();
        bytes *= 2;
    }
    alBufferData(buffer, alFormat, data, static_cast<ALsizei>(bytes),
                 static_cast<ALsizei>(format.samplesPerSec));
}

constexpr uint32_t kChunkBytes = AudioDevice::kStreamRingBytes / AudioDevice::kStreamBufferCount;

}  // namespace

// The data of a sound held whole, shared by its duplicates; the buffer goes with the last of them.
struct Sound::SharedBuffer {
    ALuint id = 0;
    explicit SharedBuffer(ALuint buffer) : id(buffer) {}
    ~SharedBuffer() { alDeleteBuffers(1, &id); }
    SharedBuffer(const SharedBuffer&) = delete;
    SharedBuffer& operator=(const SharedBuffer&) = delete;
};

Sound::Sound(AudioDevice& device, std::string fileName, int soundClass)
    : device_(device), fileName_(fileName), key_(std::move(fileName)), soundClass_(soundClass) {
    flags_ = (static_cast<uint32_t>(soundClass) << SOUND_CLASS_SHIFT) & SOUND_CLASS_MASK;
}

Sound::~Sound() {
    ReleaseOutput();
}

void Sound::ReleaseOutput() {
    if (source_) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        alDeleteSources(1, &source_);
        source_ = 0;
    }
    if (decoder_) {
        alDeleteBuffers(static_cast<ALsizei>(streamBuffers_.size()), streamBuffers_.data());
        streamBuffers_.fill(0);
        freeBuffers_.clear();
        decoder_.reset();
    }
    sharedBuffer_.reset();
    flags_ &= ~(SOUND_PLAYING | SOUND_STREAMING);
}

void Sound::Load() {
    if (!device_.HasDevice())
        return;
    std::unique_ptr<SoundDecoder> decoder = MakeDecoderFor(fileName_);
    std::optional<std::string> path = device_.files_.Resolve(fileName_);
    if (!decoder || !path || decoder->Open(*path) != 0 || !LoadFromDecoder(std::move(decoder))) {
        device_.NoteBadFile(fileName_);
    }
}

bool Sound::LoadFromDecoder(std::unique_ptr<SoundDecoder> decoder) {
    const PcmFormat& format = decoder->Format();
    uint32_t length = decoder->DataLength();
    alGetError();
    if (length <= AudioDevice::kStaticLimitBytes && soundClass_ != SOUND_CLASS_MUSIC) {
        // Held whole: decoded once, here. What the file does not deliver reads as silence.
        std::vector<char> data(length);
        decoder->Rewind();
        decoder->Read(data.data(), length, false);
        ALuint buffer = 0;
        alGenBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR)
            return false;
        auto shared = std::make_shared<SharedBuffer>(buffer);
        std::vector<char> upmix;
        BufferPcm(buffer, format, data.data(), length, upmix);
        if (alGetError() != AL_NO_ERROR)
            return false;
        CreateSource();
        if (!source_)
            return false;
        alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer));
        sharedBuffer_ = std::move(shared);
    } else {
        alGenBuffers(static_cast<ALsizei>(streamBuffers_.size()), streamBuffers_.data());
        if (alGetError() != AL_NO_ERROR) {
            streamBuffers_.fill(0);
            return false;
        }
        decoder_ = std::move(decoder);
        CreateSource();
        if (!source_) {
            ReleaseOutput();
            return false;
        }
        Prefill();
    }
    ApplyVolumeLocked();
    return true;
}

void Sound::CreateSource() {
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        return;
    // Every sound plays as it is, without position or distance.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    alGetError();
    source_ = source;
}

void Sound::ShareDataOf(const Sound& original) {
    CreateSource();
    if (!source_)
        return;
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(original.sharedBuffer_->id));
    sharedBuffer_ = original.sharedBuffer_;
}

void Sound::Prefill() {
    alSourceStop(source_);
    alSourceRewind(source_);
    alSourcei(source_, AL_BUFFER, 0);
    freeBuffers_.assign(streamBuffers_.begin(), streamBuffers_.end());
    decoder_->Rewind();
    streamPosition_ = 0;
    endReached_ = false;
    queuedLooping_ = (flags_ & SOUND_LOOPING) != 0;
    std::vector<ALuint> stillFree;
    for (ALuint buffer : freeBuffers_) {
        if (!RefillBuffer(buffer))
            stillFree.push_back(buffer);
    }
    freeBuffers_ = std::move(stillFree);
}

bool Sound::RefillBuffer(unsigned int buffer) {
    if (endReached_)
        return false;
    std::vector<char>& scratch = device_.scratch_;
    scratch.resize(kChunkBytes);
    const PcmFormat& format = decoder_->Format();
    uint32_t got = decoder_->Read(scratch.data(), kChunkBytes, (flags_ & SOUND_LOOPING) != 0);
    // Short means the data ended (or, looping, that the file gave nothing): queue what there is and no
    // more, so a sound that ends stops right after its last sample.
    if (got < kChunkBytes)
        endReached_ = true;
    got -= got % format.blockAlign;
    if (got == 0)
        return false;
    BufferPcm(buffer, format, scratch.data(), got, device_.upmixScratch_);
    alSourceQueueBuffers(source_, 1, &buffer);
    streamPosition_ += got;
    return true;
}

void Sound::ApplyVolumeLocked() {
    float classVolume = device_.classVolumes_[soundClass_ == SOUND_CLASS_MUSIC ? 1 : 0];
    appliedMillibels_ = VolumeToMillibels(volume_ * classVolume);
    if (source_)
        alSourcef(source_, AL_GAIN, MillibelsToGain(appliedMillibels_));
}

void Sound::PlayLocked(bool loop) {
    if (loop) {
        flags_ |= SOUND_LOOPING;
    } else {
        flags_ &= ~SOUND_LOOPING;
    }
    if (!source_)
        return;
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (decoder_) {
        // A stream that ran out before the streaming step noticed starts again from the beginning.
        if (endReached_ && state == AL_STOPPED) {
            StopLocked();
            state = AL_INITIAL;
        }
        // A queue filled from the start for the other looping mode (a short file may already have
        // wrapped, or ended, in it) is filled again.
        if (state == AL_INITIAL && queuedLooping_ != loop)
            Prefill();
        // The decoder wraps by itself from now on; the output never loops its queue.
        if (loop)
            endReached_ = false;
        alSourcei(source_, AL_LOOPING, AL_FALSE);
        // Playing a sound that plays already goes on where it is (starting the output again would
        // jump back to the start of its queue).
        if (state != AL_PLAYING)
            alSourcePlay(source_);
        flags_ |= SOUND_PLAYING | SOUND_STREAMING;
    } else {
        alSourcei(source_, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        if (state != AL_PLAYING)
            alSourcePlay(source_);
        flags_ |= SOUND_PLAYING;
    }
}

void Sound::StopLocked() {
    flags_ &= ~SOUND_STREAMING;
    if (source_) {
        alSourceStop(source_);
        alSourceRewind(source_);
        if (decoder_)
            Prefill();
    }
    flags_ &= ~SOUND_PLAYING;
}

void Sound::PauseLocked() {
    flags_ &= ~SOUND_STREAMING;
    if (source_)
        alSourcePause(source_);
    flags_ &= ~SOUND_PLAYING;
}

void Sound::UpdateLocked() {
    if (!source_ || !decoder_ || !(flags_ & SOUND_STREAMING))
        return;
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        if (buffer)
            freeBuffers_.push_back(buffer);
    }
    std::vector<ALuint> stillFree;
    for (ALuint buffer : freeBuffers_) {
        if (!RefillBuffer(buffer))
            stillFree.push_back(buffer);
    }
    freeBuffers_ = std::move(stillFree);

    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING)
        return;
    ALint queued = 0;
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    if (queued > 0) {
        // It ran dry before this refill: carry on with what is queued now.
        alSourcePlay(source_);
    } else {
        // Everything up to the last sample has been played.
        StopLocked();
    }
}

void Sound::Play(bool loop) {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    PlayLocked(loop);
}

void Sound::Stop() {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    StopLocked();
}

void Sound::Pause() {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    PauseLocked();
}

bool Sound::IsPlaying() {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    if (!(flags_ & SOUND_PLAYING))
        return false;
    if (source_ && !decoder_) {
        ALint state = AL_INITIAL;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            flags_ &= ~SOUND_PLAYING;
    }
    return (flags_ & SOUND_PLAYING) != 0;
}

void Sound::SetVolume(float volume) {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    volume_ = volume;
    ApplyVolumeLocked();
}

void Sound::Update() {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    UpdateLocked();
}

Sound* Sound::Duplicate() {
    Sound* copy = nullptr;
    {
        std::lock_guard<std::mutex> lock(device_.mutex_);
        copy = device_.DuplicateLocked(*this);
    }
    device_.ReportBadFiles();
    return copy;
}

float Sound::Volume() const {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    return volume_;
}

uint32_t Sound::Flags() const {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    return flags_;
}

bool Sound::SharesDataWith(const Sound& other) const {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    return sharedBuffer_ && sharedBuffer_ == other.sharedBuffer_;
}

int Sound::AppliedMillibels() const {
    std::lock_guard<std::mutex> lock(device_.mutex_);
    return appliedMillibels_;
}

}  // namespace tamblor
