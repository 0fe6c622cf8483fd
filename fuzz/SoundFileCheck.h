#pragma once
// The checks shared by the WAV and Ogg targets: the input is written as a sound file, decoded
// directly, and then loaded, played and mixed through the audio device on its loopback output.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tamblor::fuzz {

// fileName is the logical name under the scratch folder ("Sound\fuzz.wav").
void CheckSoundFile(const uint8_t* data, size_t size, const std::string& fileName);

}  // namespace tamblor::fuzz
