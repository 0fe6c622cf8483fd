#include "LevelPlay.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/autoplay/Autoplayer.h"
#include "app/autoplay/HeadlessLevel.h"

namespace tamblor::fuzz {
namespace {

void CheckItem(const Game& game, const ShapeItem& item, const char* what) {
    FUZZ_CHECK(item.classIndex == -1 || (item.classIndex >= 0 && item.classIndex < game.shapeClassCount),
               std::string(what) + ": class index out of range");
    FUZZ_CHECK(
        std::isfinite(item.x) && std::isfinite(item.y) && std::isfinite(item.baseY) && std::isfinite(item.vy),
        std::string(what) + ": position not finite");
    FUZZ_CHECK(item.bonusKind >= BonusNone && item.bonusKind <= BonusArea,
               std::string(what) + ": bonus kind");
}

void CheckGame(const Game& game) {
    FUZZ_CHECK(game.cellCount >= 0 && game.cellCount <= board::kMaxCells, "cell count out of range");
    FUZZ_CHECK(game.panelCount >= 0 && game.panelCount <= board::kMaxPanelSlots, "panel count out of range");
    FUZZ_CHECK(game.shapeClassCount >= 0 && game.shapeClassCount <= board::kMaxClasses, "class count");
    FUZZ_CHECK(game.linesLeft >= 0 && game.linesLeft <= board::kLineCount, "lines left out of range");
    FUZZ_CHECK(game.lineShapeCount >= 0 && game.lineShapeCount <= board::kMaxCellsPerLine, "cells per line");
    FUZZ_CHECK(game.score >= 0, "negative score");
    FUZZ_CHECK(std::isfinite(game.now) && std::isfinite(game.timeLeft) && std::isfinite(game.progress) &&
                   std::isfinite(game.sceneFade),
               "a clock or fade is not finite");
    for (int i = 0; i < game.cellCount; ++i) CheckItem(game, game.cells[static_cast<size_t>(i)], "cell");
    for (int i = 0; i < game.panelCount; ++i)
        CheckItem(game, game.panel[static_cast<size_t>(i)], "panel shape");
    if (game.held.present)
        CheckItem(game, game.held, "held shape");
}

}  // namespace

bool PlayScratchLevel(size_t inputSize) {
    static const char* const kModeActions[] = {"procClassicGame", "procTransformerGame", "procRelaxGame"};
    const int mode = static_cast<int>(inputSize % 3);
    LevelRunSetup setup;
    setup.dataDir = GameFolder();
    setup.userDir = Scratch().Path();
    setup.level = 2;
    setup.mode = mode == 0 ? ModeClassic : mode == 1 ? ModeTransformer : ModeRelax;
    setup.seed = static_cast<uint32_t>(inputSize);
    setup.frameSeconds = 1.0 / 20.0;
    HeadlessLevel level(setup);
    if (!level.Start())
        return false;
    CheckGame(level.GetGame());
    Autoplayer bot(kModeActions[mode]);
    std::vector<InputEvent> events;
    for (int frame = 0; frame < 300 && !level.Ended(); ++frame) {
        events.clear();
        bot.Frame(level.View(), events);
        level.Frame(events);
        CheckGame(level.GetGame());
    }
    return true;
}

}  // namespace tamblor::fuzz
