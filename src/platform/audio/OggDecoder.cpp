#include "platform/audio/OggDecoder.h"

#include <vorbis/vorbisfile.h>

#include <cstring>

namespace tamblor {

struct OggDecoder::File {
    OggVorbis_File vf{};
    bool open = false;
    ~File() {
        if (open)
            ov_clear(&vf);
    }
};

OggDecoder::OggDecoder() = default;
OggDecoder::~OggDecoder() = default;

int OggDecoder::Open(const std::string& path) {
    file_.reset();
    dataLength_ = 0;
    readPosition_ = 0;
    auto file = std::make_unique<File>();
    // ov_fopen closes the file itself when the stream cannot be opened.
    if (ov_fopen(path.c_str(), &file->vf) != 0)
        return 1;
    file->open = true;
    vorbis_info* info = ov_info(&file->vf, 0);
    if (!info || info->channels < 1 || info->channels > 2 || info->rate <= 0)
        return 1;
    ogg_int64_t samples = ov_pcm_total(&file->vf, 0);
    // An error (negative) or an empty stream gives nothing to play.
    if (samples <= 0)
        return 1;
    uint64_t bytes = static_cast<uint64_t>(samples) * static_cast<uint64_t>(info->channels) * 2u;
    if (bytes > 0x7FFFFFFFu)
        bytes = 0x7FFFFFFFu - (0x7FFFFFFFu % (info->channels * 2u));
    format_.formatTag = 1;
    format_.channels = static_cast<uint16_t>(info->channels);
    format_.samplesPerSec = static_cast<uint32_t>(info->rate);
    format_.bitsPerSample = 16;
    format_.blockAlign = static_cast<uint16_t>(info->channels * 2);
    format_.avgBytesPerSec = format_.samplesPerSec * format_.blockAlign;
    if (!IsPlayablePcm(format_))
        return 1;
    dataLength_ = static_cast<uint32_t>(bytes);
    file_ = std::move(file);
    return 0;
}

void OggDecoder::Rewind() {
    readPosition_ = 0;
    if (file_)
        ov_pcm_seek(&file_->vf, 0);
}

uint32_t OggDecoder::Decode(char* destination, uint32_t count, bool* ended) {
    uint32_t delivered = 0;
    int holes = 0;
    *ended = false;
    while (delivered < count) {
        int bitstream = 0;
        uint32_t want = count - delivered;
        int asked = want > 65536u ? 65536 : static_cast<int>(want);
        long got = ov_read(&file_->vf, destination + delivered, asked, 0, 2, 1, &bitstream);
        if (got == OV_HOLE && ++holes < 64)
            continue;  // a gap in the data: decoding goes on after it
        // The end, an error, or a further logical stream (whose format may differ): the data ends here.
        if (got <= 0 || bitstream != 0) {
            *ended = true;
            break;
        }
        delivered += static_cast<uint32_t>(got);
        readPosition_ += static_cast<uint32_t>(got);
    }
    return delivered;
}

uint32_t OggDecoder::Read(void* destination, uint32_t count, bool loop) {
    auto* out = static_cast<char*>(destination);
    uint32_t delivered = 0;
    bool rewoundWithoutData = false;
    while (file_ && delivered < count) {
        bool ended = false;
        uint32_t got = Decode(out + delivered, count - delivered, &ended);
        delivered += got;
        if (got > 0)
            rewoundWithoutData = false;
        if (!ended)
            break;
        // Wrap to the start when looping; a stream that gives nothing after the wrap ends the read
        // with silence instead of spinning for ever.
        if (!loop || rewoundWithoutData)
            break;
        Rewind();
        rewoundWithoutData = true;
    }
    if (delivered < count)
        std::memset(out + delivered, 0, count - delivered);
    return delivered;
}

}  // namespace tamblor
