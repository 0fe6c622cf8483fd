#include <gtest/gtest.h>

#include <deque>

#include "core/AppState.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "platform/InputState.h"
#include "platform/Message.h"

namespace tamblor {
namespace {

class ScriptedRandom : public Random {
public:
    std::deque<int> values;
    int Rand15() override {
        int v = values.front();
        values.pop_front();
        return v;
    }
};

TEST(Random, GeneratorMatchesTheClassicSequence) {
    Random random;
    random.SRand15(1);
    EXPECT_EQ(random.Rand15(), 41);
    EXPECT_EQ(random.Rand15(), 18467);
    EXPECT_EQ(random.Rand15(), 6334);
    EXPECT_EQ(random.Rand15(), 26500);
}

TEST(Random, RandomIntMapsDrawsAndRejects) {
    ScriptedRandom r;
    r.values = {10922, 10923, 21844, 21845, 32767, 0};
    EXPECT_EQ(r.RandomInt(0, 2), 0);
    EXPECT_EQ(r.RandomInt(0, 2), 1);
    EXPECT_EQ(r.RandomInt(0, 2), 1);
    EXPECT_EQ(r.RandomInt(0, 2), 2);
    EXPECT_EQ(r.RandomInt(0, 2), 2);
    EXPECT_EQ(r.RandomInt(0, 2), 0);

    // (5, 9): a draw that lands above 9 is rejected and drawn again.
    r.values = {32767, 0};
    EXPECT_EQ(r.RandomInt(5, 9), 5);
    EXPECT_TRUE(r.values.empty());

    // (3, 3): only draws up to 8191 give 3 (3 + floor(r * 4 / 32767)).
    r.values = {8192, 20000, 8191};
    EXPECT_EQ(r.RandomInt(3, 3), 3);
    EXPECT_TRUE(r.values.empty());

    r.values = {};
    EXPECT_EQ(r.RandomInt(4, 2), 4);  // an empty range never loops

    Random real;
    real.SRand15(99);
    int counts[2] = {0, 0};
    for (int i = 0; i < 2000; ++i) {
        int v = real.RandomInt(5, 9);
        ASSERT_GE(v, 5);
        ASSERT_LE(v, 9);
        counts[real.RandomInt(0, 1)]++;
    }
    EXPECT_GT(counts[0], 900);
    EXPECT_GT(counts[1], 900);
}

TEST(MouseButtons, EdgesLastOneFrame) {
    InputState input;
    MouseButtons buttons;
    struct Frame { bool left, right; int pressed, released, rightPressed; };
    const Frame frames[] = {
        {false, false, 0, 0, 0}, {true, false, 1, 0, 0}, {true, true, 0, 0, 1}, {true, true, 0, 0, 0},
        {false, true, 0, 1, 0},  {false, false, 0, 0, 0}, {true, false, 1, 0, 0}, {false, false, 0, 1, 0},
    };
    int i = 0;
    for (const Frame& f : frames) {
        input.SetKeyDown(VK_LBUTTON, f.left);
        input.SetKeyDown(VK_RBUTTON, f.right);
        buttons.UpdateMouseButtons(input);
        EXPECT_EQ(buttons.LeftButtonPressed(), f.pressed) << "frame " << i;
        EXPECT_EQ(buttons.LeftButtonReleased(), f.released) << "frame " << i;
        EXPECT_EQ(buttons.RightButtonPressed(), f.rightPressed) << "frame " << i;
        ++i;
    }
}

TEST(AppStates, EveryChangeNudgesTheCursorAndPauseTogglesClocks) {
    InputState input;
    input.MoveCursor(100, 200);
    AppStates states(input);
    int pauses = 0, resumes = 0;
    states.onPauseClock = [&] { ++pauses; };
    states.onResumeClock = [&] { ++resumes; };
    states.SetState(MainMenu);
    EXPECT_EQ(input.CursorY(), 201);
    states.SetState(Playing);
    states.SetState(Paused);
    states.SetState(Options);
    states.SetState(Paused);
    states.SetState(Playing);
    EXPECT_EQ(input.CursorX(), 100);
    EXPECT_EQ(input.CursorY(), 206);
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(resumes, 1);
    EXPECT_EQ(states.PreviousState(), Paused);
}

TEST(FpsCounter, RefreshesOnlyAfterMoreThanASecond) {
    FpsCounter fps;
    fps.MeasureFps(60.0f);  // the first call after start computes over the whole minute
    float first = fps.MeasureFps(60.5f);
    for (int i = 2; i < 50; ++i) EXPECT_EQ(fps.MeasureFps(60.5f + i * 0.01f), first);  // within a second: unchanged
    float refreshed = fps.MeasureFps(61.25f);  // 50 calls in 1.25 s
    EXPECT_NEAR(refreshed, 50 / 1.25f, 0.01f);
}

}  // namespace
}  // namespace tamblor
