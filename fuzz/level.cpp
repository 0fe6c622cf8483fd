// Level files: the input is Levels\level_2.xml (over the game's own classes), loaded and played by
// the built-in player for a few hundred frames.
#include "FuzzSupport.h"
#include "LevelPlay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tamblor;
    fuzz::Scratch().Empty();
    fuzz::Scratch().Write("Levels/level_2.xml", fuzz::AsText(data, size));
    fuzz::PlayScratchLevel(size);
    return 0;
}
