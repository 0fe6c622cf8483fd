#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "app/SavedGameRecord.h"

namespace tamblor {
namespace {

uint32_t U32At(const std::array<uint8_t, SavedGameRecord::kBytes>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

float F32At(const std::array<uint8_t, SavedGameRecord::kBytes>& b, size_t at) {
    uint32_t bits = U32At(b, at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

SavedGameRecord Sample() {
    SavedGameRecord r;
    r.panel[0] = {2, 1, 0.5f, 0.3f, 0.915f, 0.089f, 0.118f, 0.0f, 1, 0, 3};
    r.panel[19].x = 0.77f;
    r.cells[0] = {1, 0, 0.25f, 0.29f, 0.4f, 0.089f, 0.118f, -0.03f, 1, 1, 0};
    r.cells[179].vy = -0.5f;
    r.panelCount = 4;
    r.cellCount = 66;
    r.lines[0] = {0.29f, 0.5f, 0xFF112233u, 0.75f, 1, 0.01f};
    r.lines[5].scroll = 0.02f;
    r.linesLeft = 5;
    r.levelNumber = 13;
    r.score = 48250;
    r.sinceLevelStart = 42.5f;
    r.elapsed = 37.25f;
    r.spawnedCount = 17;
    return r;
}

TEST(SavedGameRecord, FieldsSitAtTheirOffsetsLittleEndian) {
    const auto b = Sample().Encode();
    ASSERT_EQ(b.size(), 10584u);
    EXPECT_EQ(U32At(b, 0), 2u);  // panel[0].classIndex
    EXPECT_EQ(U32At(b, 4), 1u);
    EXPECT_FLOAT_EQ(F32At(b, 12), 0.3f);  // panel[0].x
    EXPECT_EQ(U32At(b, 32), 1u);          // present
    EXPECT_EQ(U32At(b, 40), 3u);          // bonusKind
    EXPECT_EQ(U32At(b, 44), 0u);          // texture handles are not stored
    EXPECT_EQ(U32At(b, 48), 0u);
    EXPECT_FLOAT_EQ(F32At(b, 19 * 52 + 12), 0.77f);
    EXPECT_EQ(U32At(b, 1040), 1u);       // cells[0].classIndex
    EXPECT_EQ(U32At(b, 1040 + 36), 1u);  // cells[0].filled
    EXPECT_FLOAT_EQ(F32At(b, 1040 + 179 * 52 + 28), -0.5f);
    EXPECT_EQ(U32At(b, 10400), 4u);
    EXPECT_EQ(U32At(b, 10404), 66u);
    EXPECT_EQ(U32At(b, 10408 + 8), 0xFF112233u);  // lines[0].color
    EXPECT_EQ(U32At(b, 10408 + 16), 1u);
    EXPECT_FLOAT_EQ(F32At(b, 10408 + 5 * 24 + 20), 0.02f);
    EXPECT_EQ(U32At(b, 10552), 5u);
    EXPECT_EQ(U32At(b, 10556), 13u);
    EXPECT_EQ(U32At(b, 10560), 48250u);
    EXPECT_EQ(b[10560], 0x7A);  // 48250 = 0xBC7A, least significant byte first
    EXPECT_EQ(b[10561], 0xBC);
    EXPECT_FLOAT_EQ(F32At(b, 10564), 42.5f);
    EXPECT_FLOAT_EQ(F32At(b, 10568), 37.25f);
    EXPECT_EQ(U32At(b, 10580), 17u);

    SavedGameRecord back = SavedGameRecord::Decode(b);
    ASSERT_TRUE(back.Sanitise());
    EXPECT_EQ(back.Encode(), b);
    EXPECT_EQ(back.cells[0].vy, -0.03f);
    EXPECT_EQ(back.levelNumber, 13);
}

TEST(SavedGameRecord, OutOfRangeValuesAreRefused) {
    struct Case {
        const char* what;
        void (*damage)(SavedGameRecord&);
    };
    const Case cases[] = {
        {"cellCount 5000", [](SavedGameRecord& r) { r.cellCount = 5000; }},
        {"cellCount -1", [](SavedGameRecord& r) { r.cellCount = -1; }},
        {"panelCount 21", [](SavedGameRecord& r) { r.panelCount = 21; }},
        {"linesLeft 7", [](SavedGameRecord& r) { r.linesLeft = 7; }},
        {"level 0", [](SavedGameRecord& r) { r.levelNumber = 0; }},
        {"level huge", [](SavedGameRecord& r) { r.levelNumber = 2000000000; }},
        {"bonus kind 4", [](SavedGameRecord& r) { r.cells[3].bonusKind = 4; }},
        {"class 30", [](SavedGameRecord& r) { r.panel[2].classIndex = 30; }},
        {"class -2", [](SavedGameRecord& r) { r.cells[100].classIndex = -2; }},
        {"shape 10", [](SavedGameRecord& r) { r.cells[1].shapeIndex = 10; }},
        {"NaN position", [](SavedGameRecord& r) { r.cells[5].y = std::numeric_limits<float>::quiet_NaN(); }},
        {"infinite time", [](SavedGameRecord& r) { r.elapsed = std::numeric_limits<float>::infinity(); }},
        {"NaN line", [](SavedGameRecord& r) { r.lines[2].scroll = std::numeric_limits<float>::quiet_NaN(); }},
        {"spawned -1", [](SavedGameRecord& r) { r.spawnedCount = -1; }},
        // Finite, but far from anything the game produces.
        {"line alpha 1e12", [](SavedGameRecord& r) { r.lines[3].alpha = 1e12f; }},
        {"line alpha -0.5", [](SavedGameRecord& r) { r.lines[0].alpha = -0.5f; }},
        {"line far right", [](SavedGameRecord& r) { r.lines[1].x = 5e6f; }},
        {"elapsed -3e38", [](SavedGameRecord& r) { r.elapsed = -3e38f; }},
        {"since start 1e30", [](SavedGameRecord& r) { r.sinceLevelStart = 1e30f; }},
        {"cell far off screen", [](SavedGameRecord& r) { r.cells[10].x = 1e6f; }},
        {"unused cell far below", [](SavedGameRecord& r) { r.cells[170].baseY = 40.0f; }},
        {"panel far above", [](SavedGameRecord& r) { r.panel[2].y = -12.0f; }},
        {"cell wider than the screen", [](SavedGameRecord& r) { r.cells[0].width = 2.0f; }},
        {"negative height", [](SavedGameRecord& r) { r.panel[0].height = -0.1f; }},
        {"score -1", [](SavedGameRecord& r) { r.score = -1; }},
        {"score 2e9", [](SavedGameRecord& r) { r.score = 2000000000; }},
    };
    for (const Case& c : cases) {
        SavedGameRecord r = Sample();
        c.damage(r);
        SavedGameRecord back = SavedGameRecord::Decode(r.Encode());
        EXPECT_FALSE(back.Sanitise()) << c.what;
    }
    // The edges of what a game produces are kept: a cell at the bottom of a 30-cell line, a shape
    // shrunk to nothing, a faded line, the grace time before the clock starts, a day of Relax play.
    SavedGameRecord edges = Sample();
    edges.cells[4].y = 30 * 0.15833333f;
    edges.panel[1].width = 0.0f;
    edges.lines[2].alpha = 0.0f;
    edges.lines[4].scroll = -5000.0f;
    edges.elapsed = -0.9f;
    edges.sinceLevelStart = 86400.0f;
    edges.score = 999999999;
    SavedGameRecord edgesBack = SavedGameRecord::Decode(edges.Encode());
    EXPECT_TRUE(edgesBack.Sanitise());

    SavedGameRecord flags = Sample();
    flags.cells[7].filled = 9;
    flags.lines[1].removed = -3;
    ASSERT_TRUE(flags.Sanitise());
    EXPECT_EQ(flags.cells[7].filled, 1);
    EXPECT_EQ(flags.lines[1].removed, 1);
}

}  // namespace
}  // namespace tamblor
