#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tamblor {

class Texture;

// Board geometry in screen fractions (x of the width, y of the height; positions are centres). The
// layout is made for 800 x 600 pixels, so cells are square on screen.
namespace board {
inline constexpr float kCellWidth = 0.0890625f;
inline constexpr float kCellHeight = 0.11875f;
inline constexpr float kLinePitch = 0.11875f;
inline constexpr float kFirstLineX = 0.15f + 0.14f;
inline constexpr float kCellPitch = 0.15833333f;
inline constexpr float kTopWrapY = -0.07916667f;
inline constexpr float kHalfCellPitch = 0.07916667f;
inline constexpr float kPanelY = 0.915f;
inline constexpr int kLineCount = 6;
inline constexpr int kMaxCells = 180;
inline constexpr int kMaxPanelSlots = 20;
inline constexpr int kMaxPanelShapes = 10;
inline constexpr int kMaxClasses = 30;
inline constexpr int kMaxShapesPerClass = 10;
inline constexpr int kMaxCellsPerLine = 30;
inline constexpr size_t kTextCapacity = 255;  // texts hold at most 254 characters
}  // namespace board

// Cuts a text to what a 255-byte field holds.
inline std::string ClipText(std::string text) {
    if (text.size() >= board::kTextCapacity)
        text.resize(board::kTextCapacity - 1);
    return text;
}

// One record for a board cell, a panel shape, the held shape and the last placed shape.
struct ShapeItem {
    int32_t classIndex = -1;  // index into the level's classes; -1 = none
    int32_t shapeIndex = 0;
    float baseY = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float width = board::kCellWidth;
    float height = board::kCellHeight;
    float vy = 0.0f;        // cells: vertical speed; negative = rising
    int32_t present = 0;    // cells: still on the board; held: a shape is held
    int32_t filled = 0;     // cells: a matching shape was placed
    int32_t bonusKind = 0;  // 0 none, 1 any shape, 2 band, 3 area
    Texture* maskTexture = nullptr;
    Texture* mainTexture = nullptr;
};

enum BonusKind : int32_t { BonusNone = 0, BonusAnyShape = 1, BonusBand = 2, BonusArea = 3 };

struct ShapeImages {
    std::string mainImage;
    std::string maskImage;
};

// A family of shapes sharing a name and a sound, read from classes.xml.
struct ShapeClass {
    std::array<ShapeImages, board::kMaxShapesPerClass> shapes{};
    int32_t shapeCount = 0;
    std::string name;
    std::string soundEvent;

    bool SameAs(const ShapeClass& other) const;
};

// One of the six scrolling lines.
struct BoardLine {
    float x = 0.0f;
    float y = 0.5f;
    uint32_t color = 0xFFFFFFFFu;
    float alpha = 1.0f;
    int32_t removed = 0;
    float scroll = 0.01f;
};

// The bug that now and then walks in and eats a placed shape.
struct Bug {
    int32_t active = 0;
    float lastEnd = 0.0f;
    float arriveTime = 0.0f;
    int32_t state = 0;  // 0 approaching, 1 eating, 2 leaving
    float speed = 0.2f;
    float x = 0.0f;
    float y = 0.0f;
    float startX = -0.1f;
    float startY = 0.2f;
    float exitX = 1.1f;
    float exitY = 0.2f;
    int32_t targetCell = -1;  // index of the target cell in the board
    float appearanceRange = 5.0f;
    float eatDelay = 2.0f;
};

enum BugState : int32_t { BugApproaching = 0, BugEating = 1, BugLeaving = 2 };

}  // namespace tamblor
