#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace tamblor {

// A board cell or panel shape as saved.ini stores it (52 bytes; two texture-handle fields that are
// written as 0 and never read back follow the fields below).
struct SavedShape {
    int32_t classIndex = -1;
    int32_t shapeIndex = 0;
    float baseY = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float vy = 0.0f;
    int32_t present = 0;
    int32_t filled = 0;
    int32_t bonusKind = 0;
};

// One of the six lines as stored (24 bytes).
struct SavedLine {
    float x = 0.0f;
    float y = 0.0f;
    uint32_t color = 0;
    float alpha = 0.0f;
    int32_t removed = 0;
    float scroll = 0.0f;
};

// The saved level: 10,584 bytes, little-endian, every field at a fixed offset.
struct SavedGameRecord {
    static constexpr size_t kBytes = 10584;
    static constexpr size_t kShapeBytes = 52;
    static constexpr size_t kLineBytes = 24;
    static constexpr size_t kPanelSlots = 20;
    static constexpr size_t kCellSlots = 180;
    static constexpr size_t kLines = 6;
    static constexpr size_t kPanelOffset = 0;
    static constexpr size_t kCellsOffset = 1040;
    static constexpr size_t kPanelCountOffset = 10400;
    static constexpr size_t kCellCountOffset = 10404;
    static constexpr size_t kLinesOffset = 10408;
    static constexpr size_t kLinesLeftOffset = 10552;
    static constexpr size_t kLevelOffset = 10556;
    static constexpr size_t kScoreOffset = 10560;
    static constexpr size_t kSinceLevelStartOffset = 10564;
    static constexpr size_t kElapsedOffset = 10568;
    static constexpr size_t kReservedOffset = 10572;
    static constexpr size_t kSpawnedCountOffset = 10580;
    // Far beyond any level file, but small enough that nothing derived from it overflows.
    static constexpr int32_t kMaxLevelNumber = 1000000;
    // Far beyond any score a player reaches, with room to play on without overflowing.
    static constexpr int32_t kMaxScore = 1000000000;

    std::array<SavedShape, kPanelSlots> panel{};
    std::array<SavedShape, kCellSlots> cells{};
    int32_t panelCount = 0;
    int32_t cellCount = 0;
    std::array<SavedLine, kLines> lines{};
    int32_t linesLeft = 0;
    int32_t levelNumber = 0;
    int32_t score = 0;
    float sinceLevelStart = 0.0f;
    float elapsed = 0.0f;
    int32_t spawnedCount = 0;

    std::array<uint8_t, kBytes> Encode() const;
    static SavedGameRecord Decode(const std::array<uint8_t, kBytes>& bytes);
    // A record read back from a file is trusted only when its counts, flags and kinds are in range
    // and every number is finite and within what the game produces (positions near the screen,
    // sizes and alphas within 0..1, times the clock can measure, a score of 0 or more). Flags other
    // than 0 are made 1.
    bool Sanitise();
};

}  // namespace tamblor
