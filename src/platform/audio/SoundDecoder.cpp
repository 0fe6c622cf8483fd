#include "platform/audio/SoundDecoder.h"

#include "platform/audio/OggDecoder.h"
#include "platform/audio/WavDecoder.h"

namespace tamblor {
namespace {

bool ExtensionIs(std::string_view extension, std::string_view wanted) {
    if (extension.size() != wanted.size())
        return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        char c = extension[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != wanted[i])
            return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<SoundDecoder> MakeDecoderFor(std::string_view fileName) {
    size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos)
        return nullptr;
    std::string_view extension = fileName.substr(dot + 1);
    if (ExtensionIs(extension, "wav"))
        return std::make_unique<WavDecoder>();
    if (ExtensionIs(extension, "ogg"))
        return std::make_unique<OggDecoder>();
    return nullptr;
}

bool IsPlayablePcm(const PcmFormat& format) {
    if (format.formatTag != 1)
        return false;
    if (format.channels < 1 || format.channels > 2)
        return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return false;
    if (format.samplesPerSec == 0 || format.samplesPerSec > 384000)
        return false;
    return format.blockAlign == format.channels * format.bitsPerSample / 8;
}

}  // namespace tamblor
