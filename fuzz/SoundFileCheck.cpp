#include "SoundFileCheck.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/Sound.h"
#include "platform/audio/SoundDecoder.h"

namespace tamblor::fuzz {
namespace {

// Enough of a stream to cross every buffer boundary the decoders have, without decoding a long
// (or falsely announced) one to its end on every input.
constexpr uint32_t kMaxBytesRead = 256u * 1024u;

bool AllZero(const std::vector<char>& bytes, size_t from) {
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                       [](char c) { return c == 0; });
}

// Reads up to `limit` bytes in chunks of varying sizes; checks the zero fill of every chunk.
std::vector<char> ReadAll(SoundDecoder& decoder, uint32_t limit, bool loop) {
    std::vector<char> all;
    static const uint32_t kChunks[] = {1, 4093, 17, 65536, 2, 999};
    for (size_t k = 0; all.size() < limit; ++k) {
        const uint32_t count = std::min<uint32_t>(kChunks[k % 6], limit - static_cast<uint32_t>(all.size()));
        std::vector<char> chunk(count, '\x7F');
        const uint32_t got = decoder.Read(chunk.data(), count, loop);
        FUZZ_CHECK(got <= count, "a read delivered more than was asked");
        FUZZ_CHECK(AllZero(chunk, got), "a read left garbage after what it delivered");
        all.insert(all.end(), chunk.begin(), chunk.begin() + got);
        if (got < count) {
            FUZZ_CHECK(!loop || all.empty(), "a looping read stopped although the sound has data");
            break;
        }
    }
    return all;
}

void CheckDecoder(const std::string& path, const std::string& fileName) {
    std::unique_ptr<SoundDecoder> decoder = MakeDecoderFor(fileName);
    FUZZ_CHECK(decoder != nullptr, "no decoder for the file name");
    if (decoder->Open(path) != 0)
        return;
    FUZZ_CHECK(IsPlayablePcm(decoder->Format()), "a decoder opened a format the output cannot play");
    const uint32_t blockAlign = decoder->Format().blockAlign;
    const uint32_t limit = std::min(decoder->DataLength(), kMaxBytesRead);

    const std::vector<char> first = ReadAll(*decoder, limit, false);
    FUZZ_CHECK(first.size() <= decoder->DataLength(), "more data than the stream announced");
    decoder->Rewind();
    FUZZ_CHECK(decoder->ReadPosition() == 0, "rewind did not go back to the start");
    const std::vector<char> second = ReadAll(*decoder, limit, false);
    FUZZ_CHECK(first == second, "the data read after a rewind differs");

    // Looping delivers whatever is asked as long as the stream has any data.
    decoder->Rewind();
    const uint32_t loopLimit = std::min<uint32_t>(kMaxBytesRead, limit * 2 + blockAlign * 3);
    const std::vector<char> looped = ReadAll(*decoder, loopLimit, true);
    FUZZ_CHECK(looped.size() == loopLimit || first.empty(), "a looping read fell short");
}

AudioDevice& LoopbackDevice() {
    // One loopback output for the process: opening OpenAL for every input would cost more than the rest.
    static FileSystem files(Scratch().Path(), "");
    static SilentDialogs dialogs;
    static AudioDevice audio(files, dialogs);
    static const bool started = audio.AudioStart(AudioOutput::Loopback, false);
    (void)started;
    return audio;
}

// Loaded as an effect or as music, played looping and mixed for a while: every mixed sample is a
// number, and the sound goes away with the table empty again.
void CheckThroughDevice(const std::string& fileName, bool music) {
    AudioDevice& audio = LoopbackDevice();
    const size_t soundsBefore = audio.SoundCount();
    Sound* sound = audio.CreateSound(fileName, music);
    FUZZ_CHECK(sound != nullptr, "a sound file got no sound at all");
    sound->SetVolume(1.0f);
    sound->Play(true);
    std::vector<float> mixed(2 * 1024);
    for (int pass = 0; pass < 4; ++pass) {
        audio.PumpOnce();
        if (audio.RenderLoopback(mixed.data(), 1024)) {
            FUZZ_CHECK(std::all_of(mixed.begin(), mixed.end(), [](float v) { return std::isfinite(v); }),
                       "the mix holds a sample that is not a number");
        }
    }
    sound->Stop();
    audio.DeleteSound(sound);
    FUZZ_CHECK(audio.SoundCount() == soundsBefore, "a deleted sound stayed in the table");
}

}  // namespace

void CheckSoundFile(const uint8_t* data, size_t size, const std::string& fileName) {
    const ScratchFolder& scratch = Scratch();
    scratch.Empty();
    std::string relative = fileName;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    scratch.Write(relative, AsText(data, size));
    CheckDecoder(scratch.Path() + "/" + relative, fileName);
    CheckThroughDevice(fileName, size % 2 == 1);
}

}  // namespace tamblor::fuzz
