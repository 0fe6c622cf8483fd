// classes.xml: the input replaces the game's shape classes; level 2 of the game is loaded and played
// by the built-in player for a few hundred frames.
#include "FuzzSupport.h"
#include "LevelPlay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tamblor;
    fuzz::Scratch().Empty();
    fuzz::Scratch().Write("classes.xml", fuzz::AsText(data, size));
    fuzz::PlayScratchLevel(size);
    return 0;
}
