// WAV files: decoded directly (format, zero fill, rewind, looping) and played through the loopback
// output as an effect or as music.
#include "FuzzSupport.h"
#include "SoundFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tamblor::fuzz::CheckSoundFile(data, size, "Sound\\fuzz.wav");
    return 0;
}
