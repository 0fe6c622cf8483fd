#include "app/autoplay/StateCheck.h"

#include <cstring>

#include "game/Game.h"

namespace tamblor {

namespace {

// FNV-1a over the bytes of each value.
class CheckHash {
public:
    void Add(uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (value >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    void AddInt(int64_t value) { Add(static_cast<uint64_t>(value)); }
    void AddFloat(float value) {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Add(bits);
    }
    void AddItem(const ShapeItem& item) {
        AddInt(item.classIndex);
        AddInt(item.shapeIndex);
        AddInt(item.bonusKind);
        AddInt(item.present * 2 + item.filled);
        AddFloat(item.x);
        AddFloat(item.y);
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

uint64_t GameCheck(const Game& game, int appState) {
    CheckHash hash;
    hash.AddInt(appState);
    hash.AddInt(game.levelNumber);
    hash.AddInt(game.gameMode);
    hash.AddInt(game.levelPhase);
    hash.AddInt(game.score);
    hash.AddFloat(game.timeLeft);
    hash.AddFloat(game.mouseX);
    hash.AddFloat(game.mouseY);
    hash.AddInt(game.tutorialActive * 16 + game.tutorialStep);
    hash.AddItem(game.held);
    hash.AddInt(game.panelCount);
    for (int i = 0; i < game.panelCount; ++i) hash.AddItem(game.panel[static_cast<size_t>(i)]);
    hash.AddInt(game.cellCount);
    for (int i = 0; i < game.cellCount; ++i) hash.AddItem(game.cells[static_cast<size_t>(i)]);
    hash.AddInt(game.bug.active * 4 + game.bug.state);
    hash.AddFloat(game.bug.x);
    hash.AddFloat(game.bug.y);
    return hash.Value();
}

}  // namespace tamblor
