#pragma once
// Plays a level of the scratch folder (user folder) over the game folder with the built-in player for
// a few hundred frames, checking after every frame what game play promises whatever the files say.
#include <cstddef>
#include <cstdint>

namespace tamblor::fuzz {

// Level 2 in the mode chosen by the input (its size modulo 3). Returns false when the level could
// not be started (which is allowed); aborts when an invariant breaks.
bool PlayScratchLevel(size_t inputSize);

}  // namespace tamblor::fuzz
