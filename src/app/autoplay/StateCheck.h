#pragma once
// A check value of what a player can see of the game: the application state, the level's phase,
// score, clock, board, panel, held shape, pointer and bug. Two runs with equal check values in every
// frame went the same way; recordings store it to find the first frame at which a replay differs.
#include <cstdint>

namespace tamblor {

class Game;

uint64_t GameCheck(const Game& game, int appState);

}  // namespace tamblor
