#pragma once
// The bot's judgement in a running level, as pure functions of the level state: which panel shape to
// take, into which hole, how often to transform it, and when a shape is better thrown away. Nothing
// here changes the game; the bot acts on a choice only through input.
#include <utility>

#include "game/Game.h"

namespace tamblor {

// Where the hand can act: panel shapes that have come far enough into view, and holes far enough
// from the top edge (they wrap away there) and above the panel (no drop is taken below it).
struct ReachLimits {
    float panelMinX = 0.25f;
    float panelMaxX = 0.93f;
    float cellMinY = 0.14f;
    float cellMaxY = 0.80f;
};

struct PlayChoice {
    enum Kind { Wait, Place, Discard };
    Kind kind = Wait;
    int panelIndex = -1;  // the panel shape to take; -1: the shape already held
    int cellIndex = -1;   // the hole to drop it into
    int transforms = 0;   // right clicks needed first (Transformer mode)
    float value = 0.0f;   // how good the drop is (more holes filled, lines completed, a class run)
};

// Right clicks that turn a held shape of the class into the wanted shape; -1 when it cannot be done
// (another class, or shapes differ outside Transformer mode).
int TransformsNeeded(const Game& game, const ShapeItem& shape, const ShapeItem& cell);

// The best reachable hole for a shape (held or on the panel); kind Wait when there is none.
PlayChoice BestCellFor(const Game& game, const ShapeItem& shape, const ReachLimits& limits);

// The next move: the held shape's drop, the tutorial's move, the best panel shape and hole, a discard
// of a first panel shape that fits nowhere on the board, or waiting.
PlayChoice ChooseMove(const Game& game, const ReachLimits& limits);

// True when no free hole of the whole board (also those scrolled out of view) takes the shape.
bool FitsNowhere(const Game& game, const ShapeItem& shape);

// Where a hole and a panel shape will be when the next frame tests the mouse against them, after
// moving them by one frame of dt seconds exactly as the level does.
std::pair<float, float> PredictCell(const Game& game, int cellIndex, float dt);
std::pair<float, float> PredictPanel(const Game& game, int panelIndex, float dt);

}  // namespace tamblor
