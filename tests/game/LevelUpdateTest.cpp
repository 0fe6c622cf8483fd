#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "game/GameTestSupport.h"

namespace tamblor {

// Reaches the level's private steps for the tests that need one alone.
class GameTestAccess {
public:
    static void BonusLevelStep(Game& game) { game.BonusLevelStep(); }
};

namespace {

using test::GameWorld;

// The application around the level: the clock pauses with the pause menu, the in-game screen gives
// its text positions, and every frame the scene is drawn (the bug moves, the glides apply).
struct LevelRun {
    GameWorld w;
    int frames = 0;

    LevelRun() {
        w.appStates.onPauseClock = [this] { w.game.PauseClock(); };
        w.appStates.onResumeClock = [this] { w.game.ResumeClock(); };
        w.game.hooks.inGameTextPosition = [](std::string_view name) {
            if (name == "txtScoreNum")
                return std::pair<float, float>(0.1f, 0.3f);
            if (name == "txtTimeNum")
                return std::pair<float, float>(0.1f, 0.2f);
            return std::pair<float, float>(0.0f, 0.0f);
        };
    }
    // One frame of 20 ms: the level update while playing (or only the effects, as the application
    // does after a level ends), then what drawing does.
    void Frame() {
        w.clock.Advance(20);
        if (w.appStates.State() == Playing) {
            w.game.UpdateLevel(0.02f);
        } else {
            w.effects.Update();
        }
        if (w.game.bug.active)
            w.game.UpdateBug(0.02f);
        if (w.game.tutorialActive)
            w.game.ImposeTutorialSetup();
        w.ApplyTweens();
        ++frames;
    }
    void Seconds(float s) {
        int n = static_cast<int>(s * 50.0f + 0.5f);
        for (int i = 0; i < n; ++i) Frame();
    }
    // Frames until the condition holds (at most 60 s).
    bool Until(const std::function<bool()>& condition) {
        for (int i = 0; i < 3000; ++i) {
            if (condition())
                return true;
            Frame();
        }
        return condition();
    }
    // Takes panel slot `slot` with a press and drops it on `cell` with the release.
    bool TakeAndPlace(int slot, int cell) {
        const ShapeItem& item = w.game.panel[static_cast<size_t>(slot)];
        w.MouseAt(item.x, item.y);
        w.Left(true);
        Frame();
        if (!w.game.held.present)
            return false;
        EXPECT_NEAR(w.game.held.x, w.game.mouseX, 1e-6);  // the held shape follows the mouse
        const ShapeItem& target = w.game.cells[static_cast<size_t>(cell)];
        w.MouseAt(target.x, target.y);
        w.Left(false);
        Frame();
        return !w.game.held.present;
    }
    // A panel slot and an empty cell that fit each other, or (-1, -1).
    std::pair<int, int> Match() const {
        for (int p = 0; p < w.game.panelCount; ++p) {
            const ShapeItem& item = w.game.panel[static_cast<size_t>(p)];
            if (item.x > 1.0f)
                continue;
            for (int c = 0; c < w.game.cellCount; ++c) {
                const ShapeItem& cell = w.game.cells[static_cast<size_t>(c)];
                if (cell.filled || !cell.present)
                    continue;
                if (item.bonusKind ||
                    (cell.classIndex == item.classIndex && cell.shapeIndex == item.shapeIndex))
                    return {p, c};
            }
        }
        return {-1, -1};
    }
};

TEST(LevelUpdate, AWholeLevelFromTheMapToLevelWon) {
    LevelRun r;
    GameWorld& w = r.w;
    w.WriteClasses(3, 2);
    ASSERT_EQ(w.game.LoadShapeClasses("classes.xml"), 1);
    // One class, no bonuses, still lines: every placement continues the run.
    w.WriteLevel(2,
                 "levelTime=\"60\" shapeClassCount=\"1\" lineShapeCount=\"2\" lineSpeed=\"0\" "
                 "fBugAppearanceRange=\"1000\" fBonusAnyShapeP=\"0\" fBonusBandP=\"0\" fBonusAreaP=\"0\"");
    w.appStates.SetState(StageMap);
    w.game.levelNumber = 2;
    w.game.score = 100;
    w.game.StartLevel();
    ASSERT_EQ(w.game.cellCount, 12);
    EXPECT_EQ(w.game.levelPhase, 0);

    // The fade to black takes half a second; then the announcement.
    r.Seconds(0.4f);
    EXPECT_EQ(w.game.levelPhase, 0);
    EXPECT_GT(w.game.sceneFade, 0.0f);
    ASSERT_TRUE(r.Until([&] { return w.game.levelPhase == 2; }));
    EXPECT_EQ(w.sound.Count("shape_panel_in"), 1);
    std::vector<std::string> texts;
    for (int i = 0; i < w.effects.Count(); ++i) {
        if (w.effects.At(i).kind == EffectFadingText)
            texts.emplace_back(w.effects.At(i).Text());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Level N", "2"}));
    EXPECT_EQ(w.game.backgroundShown, "Graphics\\back_game01.jpg");
    // Level 2: shapes can be taken during the announcement already, but the clock stands.
    EXPECT_FLOAT_EQ(w.game.timeLeft, 60.0f);
    ASSERT_TRUE(r.Until([&] { return w.game.levelPhase == 3; }));
    EXPECT_EQ(w.sound.Count("level_start"), 1);
    EXPECT_NEAR(w.game.sceneFade, 1.0f, 1e-6);
    EXPECT_EQ(w.game.tutorialActive, 0);
    r.Frame();
    EXPECT_NEAR(w.game.timeLeft, 60.0f + 0.9f - 0.02f, 0.001f);  // 0.9 s of grace

    // Eleven placements, as fast as the panel brings shapes.
    int placed = 0;
    while (placed < 11) {
        std::pair<int, int> m;
        ASSERT_TRUE(r.Until([&] { return (m = r.Match()).first >= 0; }));
        ASSERT_TRUE(r.TakeAndPlace(m.first, m.second));
        ++placed;
    }
    EXPECT_EQ(w.game.score, 100 + 50 + 100 + 150 + 200 + 250 + 300 + 350 + 400 + 450 + 500 + 550);
    EXPECT_EQ(w.sound.Count("place_shape_bonus_7"), 4);
    EXPECT_GE(w.sound.Count("remove_line"), 5);
    EXPECT_EQ(w.appStates.State(), Playing);

    // The last one with 37.8 s left.
    std::pair<int, int> m;
    ASSERT_TRUE(r.Until([&] { return (m = r.Match()).first >= 0 && w.game.timeLeft <= 37.84f; }));
    ASSERT_GT(w.game.timeLeft, 37.8f);
    ASSERT_TRUE(r.TakeAndPlace(m.first, m.second));
    int beforeBonus = 100 + 3900;
    EXPECT_EQ(w.game.score, beforeBonus);
    EXPECT_EQ(w.appStates.State(), LevelWon);
    EXPECT_EQ(w.sound.Count("level_complete"), 1);
    EXPECT_EQ(w.sound.Count("remove_line"), 6);

    // The end's show (pinned in LevelEndPresentation) plays out: time and completion bonus added,
    // the clock at 0, the panel and the meter gone.
    r.Seconds(5.0f);
    EXPECT_TRUE(w.effects.Empty());
    EXPECT_EQ(w.game.score, beforeBonus + 37 + 1500);
    EXPECT_EQ(w.game.timeLeft, 0.0f);
    EXPECT_EQ(w.game.progress, 0.0f);
    for (int i = 0; i < w.game.panelCount; ++i) EXPECT_EQ(w.game.panel[static_cast<size_t>(i)].width, 0.0f);
}

TEST(LevelUpdate, BonusLevelAwardsAndTheNoBonusEnd) {
    LevelRun r;
    GameWorld& w = r.w;
    w.WriteClasses(2, 1);
    w.game.LoadShapeClasses("classes.xml");
    w.WriteLevel(5,
                 "bonusLevel=\"true\" levelTime=\"30\" shapeClassCount=\"2\" lineShapeCount=\"3\" "
                 "lineSpeed=\"0.03\" fBugAppearanceRange=\"1000\"");
    w.appStates.SetState(LevelWon);
    w.game.levelNumber = 5;
    w.game.StartLevel();
    EXPECT_EQ(w.game.levelPhase, 1);
    r.Frame();
    EXPECT_EQ(w.game.levelPhase, 2);
    EXPECT_EQ(w.sound.Count("shape_panel_in"), 0);
    EXPECT_EQ(w.effects.At(1).kind, EffectBounceText);
    EXPECT_EQ(w.effects.At(1).Text(), "Bonus Level");
    // No clock: a bonus level is never lost by time and gives no warnings.
    w.game.levelTime = 1.0f;
    r.Seconds(5.0f);
    EXPECT_EQ(w.appStates.State(), Playing);
    EXPECT_EQ(w.sound.Count("timeout"), 0);

    w.input.SetKeyDown(VK_F11, true);
    r.Frame();
    w.input.SetKeyDown(VK_F11, false);
    EXPECT_EQ(w.appStates.State(), LevelWon);
    EXPECT_EQ(w.sound.Count("bonus_level_complete"), 1);
    EXPECT_EQ(w.game.score, 1000);
    r.Seconds(5.0f);
    EXPECT_TRUE(w.effects.Empty());
    EXPECT_EQ(w.game.score, 4750);

    // Every cell wholly above the top edge: "No Bonus".
    GameWorld v;
    v.SetBoard({"..", "..", "..", "..", "..", ".."});
    v.game.bonusLevel = "true";
    v.game.levelTime = 0.0f;
    v.appStates.SetState(Playing);
    for (int i = 0; i < v.game.cellCount; ++i) v.game.cells[static_cast<size_t>(i)].y = -0.11875f;
    v.game.cells[3].y = -0.1f;
    GameTestAccess::BonusLevelStep(v.game);
    EXPECT_EQ(v.appStates.State(), Playing);
    v.game.levelTime = 10.0f;
    v.game.dt = 1.0f;
    GameTestAccess::BonusLevelStep(v.game);  // all rise by dt x lineSpeed
    EXPECT_EQ(v.appStates.State(), LevelWon);
    EXPECT_EQ(v.sound.Count("no_bonus"), 1);
    EXPECT_EQ(v.effects.At(0).Text(), "No Bonus");
}

// A level in play on a board given as a picture.
void PlayOn(LevelRun& r, const std::vector<std::string>& rows, float levelTime) {
    GameWorld& w = r.w;
    w.SetBoard(rows);
    w.game.lineSpeed = 0.0f;
    w.game.levelTime = levelTime;
    w.game.levelPhase = 3;
    w.game.levelNumber = 3;
    w.appStates.SetState(Playing);
    w.game.playStartTime = w.clock.Seconds();
    w.game.ResetBug();
}

// One line per timed effect, with what the player sees of it: kind, layer, delay from now, duration,
// places, text, pictures and targets.
std::string Describe(const Effect& e, float now, const Game& g, test::FakeTextures& textures) {
    auto picture = [&](Texture* t) -> std::string {
        for (const char* name :
             {"Graphics\\star-rotation.png", "Graphics\\particle1.png", "Graphics\\particle2.png"})
            if (t == textures.Handle(name))
                return name;
        return "?";
    };
    auto target = [&](const float* p) -> std::string {
        if (p == &g.timeLeft)
            return "timeLeft";
        if (p == &g.progress)
            return "progress";
        for (int i = 0; i < board::kMaxPanelSlots; ++i) {
            if (p == &g.panel[static_cast<size_t>(i)].width)
                return "panel" + std::to_string(i) + ".width";
            if (p == &g.panel[static_cast<size_t>(i)].height)
                return "panel" + std::to_string(i) + ".height";
        }
        return "?";
    };
    char line[300];
    // To the millisecond, without a sign on nothing.
    float delay = std::round((e.startTime - now) * 1000.0f) / 1000.0f + 0.0f;
    std::string text(e.Text());
    switch (e.kind) {
        case EffectFadingText:
        case EffectDropText:
            std::snprintf(line, sizeof line,
                          "%s layer %d delay %.3f for %.3f at (%.3f, %.3f) \"%s\" digits %d",
                          e.kind == EffectFadingText ? "fading" : "drop", e.layer, delay, e.duration, e.x,
                          e.y, text.c_str(), e.useDigits);
            break;
        case EffectFlyingText:
            std::snprintf(
                line, sizeof line,
                "flying layer %d delay %.3f for %.3f from (%.3f, %.3f) to (%.3f, %.3f) \"%s\" digits %d",
                e.layer, delay, e.duration, e.x, e.y, e.x2, e.y2, text.c_str(), e.useDigits);
            break;
        case EffectRisingSprite:
            std::snprintf(line, sizeof line,
                          "rising layer %d delay %.3f for %.3f at (%.3f, %.3f) %s %dx%d by %.3f", e.layer,
                          delay, e.duration, e.x, e.y, picture(e.texture).c_str(), e.columns, e.rows,
                          e.riseSpeed);
            break;
        case EffectParticleBurst:
            std::snprintf(line, sizeof line,
                          "burst layer %d delay %.3f for %.3f at (%.3f, %.3f) size %.3f radius %.3f %s",
                          e.layer, delay, e.duration, e.x, e.y, e.size, e.radius, picture(e.texture).c_str());
            break;
        case EffectTween:
            std::snprintf(line, sizeof line, "tween delay %.3f for %.3f from %.3f to %.3f %s", delay,
                          e.duration, e.from, e.to, target(e.target).c_str());
            break;
        case EffectDelayedAdd:
            std::snprintf(line, sizeof line, "add %d to %s delay %.3f", e.amount,
                          e.intTarget == &g.score ? "score" : "?", delay);
            break;
        case EffectSoundCue:
            std::snprintf(line, sizeof line, "sound %s delay %.3f", text.c_str(), delay);
            break;
        default:
            std::snprintf(line, sizeof line, "kind %d", e.kind);
    }
    return line;
}

TEST(LevelUpdate, LevelEndPresentation) {
    char line[200];
    auto fmt = [&](const char* format, auto... args) {
        std::snprintf(line, sizeof line, format, args...);
        return std::string(line);
    };
    for (bool bonus : {false, true}) {
        SCOPED_TRACE(bonus);
        LevelRun r;
        GameWorld& w = r.w;
        PlayOn(r, {"###", "###", "###", "###", "###", "##."}, 37.82f);
        w.game.bug.appearanceRange = 1000.0f;
        w.game.bonusLevel = bonus ? "true" : "";
        w.game.score = 200;
        w.game.panelCount = 2;
        // The last cell is filled in a frame 20 ms into play: 37.8 s left.
        w.input.SetKeyDown(VK_F11, true);
        w.clock.Advance(20);
        w.game.UpdateLevel(0.02f);
        ASSERT_EQ(w.appStates.State(), LevelWon);
        float now = w.clock.Seconds();

        std::vector<std::string> expected;
        if (!bonus) {
            expected.push_back(
                "fading layer 1 delay 0.500 for 3.000 at (0.600, 0.450) \"Level Complete\" digits 0");
            for (int k = 0; k < 4; ++k) {
                for (int p = 1; p <= 2; ++p)
                    expected.push_back(
                        fmt("burst layer 1 delay 3.000 for 1.200 at (%.3f, 0.450) size 0.120 "
                            "radius 0.500 Graphics\\particle%d.png",
                            0.45 + 0.1 * k, p));
            }
            expected.push_back(
                "flying layer 2 delay 1.750 for 1.000 from (0.100, 0.200) to (0.100, 0.300) \"37\" digits 1");
            expected.push_back(
                "rising layer 1 delay 1.750 for 1.000 at (0.100, 0.200) Graphics\\star-rotation.png 8x1 by "
                "-0.100");
            expected.push_back("add 37 to score delay 2.750");
            expected.push_back("tween delay 1.750 for 0.010 from 37.800 to 0.000 timeLeft");
            expected.push_back(
                "flying layer 2 delay 1.750 for 1.000 from (0.600, 0.450) to (0.100, 0.300) \"1500\" digits "
                "1");
            expected.push_back(
                "rising layer 1 delay 1.750 for 1.000 at (0.600, 0.450) Graphics\\star-rotation.png 8x1 by "
                "-0.100");
            expected.push_back("add 1500 to score delay 2.750");
            expected.push_back("sound emit_scores delay 1.750");
            expected.push_back("sound collect_scores delay 2.750");
        } else {
            expected.push_back("drop layer 1 delay 0.000 for 4.500 at (0.600, 0.450) \"Bonus!\" digits 0");
            for (int k = 0; k < 5; ++k) {
                double t = 1.4 + 0.3 * k;
                expected.push_back(
                    fmt("flying layer 2 delay %.3f for 0.600 from (0.600, 0.450) to (0.100, 0.300) "
                        "\"750\" digits 1",
                        t));
                expected.push_back(
                    fmt("rising layer 1 delay %.3f for 1.000 at (0.600, 0.450) "
                        "Graphics\\star-rotation.png 8x1 by -0.100",
                        t));
                expected.push_back(fmt("add 750 to score delay %.3f", t + 0.6));
                expected.push_back(fmt("sound emit_scores delay %.3f", t));
                expected.push_back(fmt("sound collect_scores delay %.3f", t + 0.6));
            }
        }
        expected.push_back("sound shape_panel_out delay 3.400");
        expected.push_back("tween delay 0.000 for 0.500 from 0.089 to 0.000 panel0.width");
        expected.push_back("tween delay 0.000 for 0.500 from 0.119 to 0.000 panel0.height");
        expected.push_back("tween delay 0.000 for 0.500 from 0.089 to 0.000 panel1.width");
        expected.push_back("tween delay 0.000 for 0.500 from 0.119 to 0.000 panel1.height");
        expected.push_back("tween delay 0.000 for 0.500 from 1.000 to 0.000 progress");

        std::vector<std::string> actual;
        for (int i = 0; i < w.effects.Count(); ++i)
            actual.push_back(Describe(w.effects.At(i), now, w.game, w.textures));
        EXPECT_EQ(actual, expected);
        EXPECT_EQ(w.sound.Count(bonus ? "bonus_level_complete" : "level_complete"), 1);
        EXPECT_EQ(w.game.score, bonus ? 1200 : 200);  // a bonus level pays its first 1000 at once
    }
}

TEST(LevelUpdate, ClockWarningsGameOverAndRelax) {
    LevelRun r;
    GameWorld& w = r.w;
    PlayOn(r, {"....", "....", "....", "....", "....", "...."}, 12.0f);
    w.game.bug.appearanceRange = 1000.0f;
    r.Seconds(1.9f);
    EXPECT_EQ(w.sound.Count("timeout"), 0);
    r.Seconds(0.2f);
    EXPECT_EQ(w.sound.Count("timeout"), 1);
    r.Seconds(4.5f);  // 5.6 s left
    EXPECT_EQ(w.sound.Count("timeout"), 5);
    r.Until([&] { return w.appStates.State() != Playing; });
    EXPECT_EQ(w.appStates.State(), GameOver);
    EXPECT_EQ(w.sound.Count("timeout"), 10);
    EXPECT_EQ(w.sound.Count("game_over"), 1);

    // A short clock from the start: one warning per frame at most.
    LevelRun s;
    PlayOn(s, {"....", "....", "....", "....", "....", "...."}, 5.0f);
    s.Frame();
    EXPECT_EQ(s.w.sound.Count("timeout"), 1);
    s.Frame();
    EXPECT_EQ(s.w.sound.Count("timeout"), 2);
    s.Seconds(0.2f);  // 10, 9, 8, 7, 6 and then 5 passed
    EXPECT_EQ(s.w.sound.Count("timeout"), 6);

    // Time out and completion in the same frame: the game is lost.
    LevelRun o;
    int silenced = 0, unsaved = 0;
    o.w.game.hooks.silenceMusic = [&] { ++silenced; };
    o.w.game.hooks.markNoSavedGame = [&] { ++unsaved; };
    PlayOn(o, {"....", "....", "....", "....", "....", "...."}, 50.0f);
    o.w.input.SetKeyDown(VK_F8, true);
    o.w.input.SetKeyDown(VK_F11, true);
    o.Frame();
    EXPECT_EQ(o.w.appStates.State(), GameOver);
    EXPECT_EQ(o.w.sound.Count("level_complete"), 0);
    EXPECT_EQ(silenced, 1);
    EXPECT_EQ(unsaved, 1);

    // Relax: the clock runs below zero, no game over, no warnings; a negative remainder adds nothing.
    LevelRun x;
    x.w.game.gameMode = ModeRelax;
    PlayOn(x, {"#...", "....", "....", "....", "....", "...."}, 2.0f);
    x.w.game.bug.appearanceRange = 1000.0f;
    x.Seconds(4.0f);
    EXPECT_LT(x.w.game.timeLeft, -1.9f);
    EXPECT_EQ(x.w.appStates.State(), Playing);
    EXPECT_EQ(x.w.sound.Count("timeout"), 0);
    x.w.input.SetKeyDown(VK_F8, true);
    x.Frame();
    EXPECT_EQ(x.w.appStates.State(), Playing);
    x.w.input.SetKeyDown(VK_F8, false);
    x.w.input.SetKeyDown(VK_F11, true);
    x.Frame();
    EXPECT_EQ(x.w.appStates.State(), LevelWon);
    x.Seconds(4.0f);
    EXPECT_EQ(x.w.game.score, 1500);

    // A level without cells is complete at once.
    LevelRun e;
    PlayOn(e, {"....", "....", "....", "....", "....", "...."}, 50.0f);
    e.w.game.cellCount = 0;
    e.Frame();
    EXPECT_EQ(e.w.appStates.State(), LevelWon);
}

TEST(LevelUpdate, BugAppearsAfterItsRangeStandsStillInThePauseAndItsCellCanBeRefilled) {
    const std::vector<std::string> board = {
        "######", "######", "######", "######", "######", ".#####",
    };
    LevelRun r;
    GameWorld& w = r.w;
    PlayOn(r, board, 500.0f);
    w.game.bug.appearanceRange = 15.0f;
    r.Seconds(14.98f);
    EXPECT_EQ(w.game.bug.active, 0);
    EXPECT_EQ(w.sound.Count("bug_alarm"), 0);
    // From then on each frame draws a cell and comes when it is a filled one low on the board.
    ASSERT_TRUE(r.Until([&] { return w.game.bug.active != 0; }));
    EXPECT_LE(r.frames, 15 * 50 + 10);
    EXPECT_EQ(w.sound.Count("bug_alarm"), 1);
    int target = w.game.bug.targetCell;
    const ShapeItem& cell = w.game.cells[static_cast<size_t>(target)];
    EXPECT_TRUE(cell.filled && cell.present && cell.y > 0.55f && cell.y < 1.05f);

    // Paused, the bug stands still; a pause while it eats moves the end of the meal on by the pause.
    w.appStates.SetState(Paused);
    float bx = w.game.bug.x;
    w.clock.Advance(3000);
    w.game.UpdateBug(0.02f);
    EXPECT_EQ(w.game.bug.x, bx);
    w.appStates.SetState(Playing);
    ASSERT_TRUE(r.Until([&] { return w.game.bug.state == BugEating; }));
    float arrived = w.game.bug.arriveTime;
    w.appStates.SetState(Paused);
    w.clock.Advance(5000);
    w.appStates.SetState(Playing);
    EXPECT_FLOAT_EQ(w.game.bug.arriveTime, arrived + 5.0f);
    ASSERT_TRUE(r.Until([&] { return w.game.bug.active == 0; }));
    EXPECT_EQ(cell.filled, 0);

    // The eaten cell is empty again, with its class and shape, and takes a shape.
    w.Hold(cell.classIndex, cell.shapeIndex);
    w.ClickAt(cell.x, cell.y);
    EXPECT_EQ(cell.filled, 1);
}

// A level in play with a bug already on the board: `state` at (x, y), going for the cell `target`.
struct BugRun : LevelRun {
    static constexpr int kTarget = 4;  // line 0, its fifth cell: lower part of the board
    BugRun() {
        PlayOn(*this, {"######", "######", "######", "######", "######", "######"}, 500.0f);
        w.game.bug.appearanceRange = 1000.0f;
    }
    const ShapeItem& Target() const { return w.game.cells[kTarget]; }
    void Place(int state, float x, float y) {
        Bug& bug = w.game.bug;
        bug.active = 1;
        bug.state = state;
        bug.x = x;
        bug.y = y;
        bug.targetCell = kTarget;
        bug.arriveTime = w.clock.Seconds();
    }
};

TEST(LevelUpdate, BugSpeedArrivalWindowEatingDelayAndExitAreExact) {
    // Speed: 0.2 screen units a second along the straight line to the cell.
    {
        BugRun b;
        Game& g = b.w.game;
        EXPECT_FLOAT_EQ(g.bug.speed, 0.2f);
        b.Place(BugApproaching, g.bug.startX, g.bug.startY);
        EXPECT_FLOAT_EQ(g.bug.x, -0.1f);
        EXPECT_FLOAT_EQ(g.bug.y, 0.2f);
        float dx = b.Target().x + 0.1f, dy = b.Target().y - 0.2f;
        float length = std::sqrt(dx * dx + dy * dy);
        g.UpdateBug(0.05f);
        EXPECT_NEAR(g.bug.x, -0.1f + 0.01f * dx / length, 1e-6);
        EXPECT_NEAR(g.bug.y, 0.2f + 0.01f * dy / length, 1e-6);
        EXPECT_EQ(g.bug.state, BugApproaching);
    }

    // Arrival: closer than 0.025 to the cell in x and in y (the test comes before the step).
    const struct {
        float dx, dy;
        int state;
    } arrivals[] = {
        {0.0249f, 0.0f, BugEating},      {-0.0249f, 0.0249f, BugEating},  {0.0f, -0.0249f, BugEating},
        {0.0251f, 0.0f, BugApproaching}, {0.0f, 0.0251f, BugApproaching}, {0.02f, -0.0251f, BugApproaching},
    };
    for (const auto& a : arrivals) {
        SCOPED_TRACE(testing::Message() << a.dx << ", " << a.dy);
        BugRun b;
        b.Place(BugApproaching, b.Target().x + a.dx, b.Target().y + a.dy);
        b.w.clock.Advance(123);
        b.w.game.UpdateBug(0.02f);
        EXPECT_EQ(b.w.game.bug.state, a.state);
        if (a.state == BugEating) {
            EXPECT_EQ(b.w.game.bug.arriveTime, b.w.clock.Seconds());
        }
    }

    // Eating: on the cell, following it, for 2 s; just past them the cell is empty and the bug goes.
    {
        BugRun b;
        Game& g = b.w.game;
        ShapeItem& cell = g.cells[BugRun::kTarget];
        b.w.clock.Set(70000);
        b.Place(BugEating, 0.0f, 0.0f);
        cell.y -= 0.01f;  // the line moved on
        b.w.clock.Set(72000);
        g.UpdateBug(0.02f);
        EXPECT_EQ(g.bug.state, BugEating);
        EXPECT_EQ(g.bug.x, cell.x);
        EXPECT_EQ(g.bug.y, cell.y);
        EXPECT_EQ(cell.filled, 1);
        b.w.clock.Set(72001);
        g.UpdateBug(0.02f);
        EXPECT_EQ(g.bug.state, BugLeaving);
        EXPECT_EQ(cell.filled, 0);
        EXPECT_EQ(b.w.sound.Count("shape_clear"), 1);
        ASSERT_EQ(b.w.effects.Count(), 1);
        const Effect& star = b.w.effects.At(0);
        EXPECT_EQ(star.kind, EffectRisingSprite);
        EXPECT_EQ(star.layer, 1);
        EXPECT_FLOAT_EQ(star.startTime, b.w.clock.Seconds());
        EXPECT_FLOAT_EQ(star.duration, 0.5f);
        EXPECT_EQ(star.x, cell.x);
        EXPECT_EQ(star.y, cell.y);
        EXPECT_EQ(star.texture, b.w.textures.Handle("Graphics\\star-rotation.png"));
        EXPECT_EQ(star.columns, 8);
        EXPECT_EQ(star.rows, 1);
    }

    // Exit: closer than 0.025 to (1.1, 0.2) in x and y ends the visit.
    const struct {
        float dx, dy;
        bool gone;
    } exits[] = {
        {-0.0249f, 0.0f, true},
        {0.0249f, -0.0249f, true},
        {-0.0251f, 0.0f, false},
        {0.0f, 0.0251f, false},
    };
    for (const auto& e : exits) {
        SCOPED_TRACE(testing::Message() << e.dx << ", " << e.dy);
        BugRun b;
        Game& g = b.w.game;
        EXPECT_FLOAT_EQ(g.bug.exitX, 1.1f);
        EXPECT_FLOAT_EQ(g.bug.exitY, 0.2f);
        b.Place(BugLeaving, 1.1f + e.dx, 0.2f + e.dy);
        b.w.clock.Advance(777);
        g.UpdateBug(0.02f);
        EXPECT_EQ(g.bug.active, e.gone ? 0 : 1);
        if (e.gone) {
            EXPECT_EQ(g.bug.lastEnd, b.w.clock.Seconds());
        } else {
            EXPECT_NEAR(std::hypot(g.bug.x - 1.1f - e.dx, g.bug.y - 0.2f - e.dy), 0.004f, 1e-6);
        }
    }
}

TEST(LevelUpdate, TheLevelEditorHoldsTheBugAndTheClock) {
    BugRun b;
    Game& g = b.w.game;
    b.Place(BugEating, 0.5f, 0.5f);
    float arrived = g.bug.arriveTime, playStart = g.playStartTime, levelStart = g.levelStartTime;
    g.ToggleEditor();
    b.w.clock.Advance(5000);
    g.UpdateBug(0.02f);
    EXPECT_EQ(g.bug.x, 0.5f);
    EXPECT_EQ(g.bug.state, BugEating);
    g.ToggleEditor();
    // The time spent editing is not the level's: its clocks and the bug's meal move on by it.
    EXPECT_NEAR(g.bug.arriveTime, arrived + 5.0f, 1e-4);
    EXPECT_NEAR(g.playStartTime, playStart + 5.0f, 1e-4);
    EXPECT_NEAR(g.levelStartTime, levelStart + 5.0f, 1e-4);
    g.UpdateBug(0.02f);
    EXPECT_EQ(g.bug.x, b.Target().x);
}

TEST(LevelUpdate, BugNeverOvershootsInLongFrames) {
    for (float frame : {0.5f, 1.0f, 4.0f}) {
        SCOPED_TRACE(frame);
        BugRun b;
        Game& g = b.w.game;
        const ShapeItem& cell = b.Target();
        b.Place(BugApproaching, g.bug.startX, g.bug.startY);
        // Along the line from the entry to the cell the bug never passes the cell.
        float dx = cell.x - g.bug.startX, dy = cell.y - g.bug.startY;
        float length = std::sqrt(dx * dx + dy * dy);
        int steps = 0;
        while (g.bug.state == BugApproaching && steps < 100) {
            g.UpdateBug(frame);
            ++steps;
            float along = ((g.bug.x - g.bug.startX) * dx + (g.bug.y - g.bug.startY) * dy) / length;
            ASSERT_LE(along, length + 1e-5f) << "step " << steps;
        }
        EXPECT_EQ(g.bug.state, BugEating);
        EXPECT_LE(steps, static_cast<int>(std::ceil(length / (0.2f * frame))) + 1);
        EXPECT_EQ(g.bug.x, cell.x);
        EXPECT_EQ(g.bug.y, cell.y);

        // After the meal it walks to the exit point and stops there.
        b.w.clock.Advance(2001);
        g.UpdateBug(frame);
        ASSERT_EQ(g.bug.state, BugLeaving);
        steps = 0;
        while (g.bug.active && steps < 100) {
            g.UpdateBug(frame);
            ++steps;
            ASSERT_LE(g.bug.x, g.bug.exitX) << "step " << steps;
        }
        EXPECT_EQ(g.bug.active, 0);
        EXPECT_LE(steps,
                  static_cast<int>(std::ceil(std::hypot(1.1f - cell.x, 0.2f - cell.y) / (0.2f * frame))) + 1);
    }
}

TEST(LevelUpdate, BugLeavesWhenItsLineGoes) {
    const std::vector<std::string> board = {
        "######", "######", "######", "######", "######", ".#####",
    };
    for (bool whileEating : {false, true}) {
        SCOPED_TRACE(whileEating);
        LevelRun r;
        GameWorld& w = r.w;
        PlayOn(r, board, 500.0f);
        w.game.bug.appearanceRange = 0.0f;
        ASSERT_TRUE(r.Until([&] { return w.game.bug.active != 0; }));
        if (whileEating) {
            ASSERT_TRUE(r.Until([&] { return w.game.bug.state == BugEating; }));
        }
        int line = w.game.bug.targetCell / w.game.lineShapeCount;
        // The line goes (as a removal does).
        for (int k = 0; k < w.game.lineShapeCount; ++k)
            w.game.cells[static_cast<size_t>(line * 6 + k)].present = 0;
        w.game.lines[static_cast<size_t>(line)].removed = 1;
        const ShapeItem& cell = w.game.cells[static_cast<size_t>(w.game.bug.targetCell)];
        if (!whileEating) {
            r.Frame();
            EXPECT_EQ(w.game.bug.state, BugLeaving);
        } else {
            r.Seconds(1.9f);
            EXPECT_EQ(w.game.bug.state, BugEating);
            ASSERT_TRUE(r.Until([&] { return w.game.bug.state == BugLeaving; }));
        }
        EXPECT_EQ(cell.filled, 1);
        EXPECT_EQ(w.sound.Count("shape_clear"), 0);
    }
}

TEST(LevelUpdate, TutorialInClassicAndTransformer) {
    for (int mode : {ModeClassic, ModeTransformer}) {
        SCOPED_TRACE(mode);
        LevelRun r;
        GameWorld& w = r.w;
        w.game.gameMode = mode;
        w.WriteClasses(3, 2);
        w.game.LoadShapeClasses("classes.xml");
        // Every shape the panel makes is a bonus, but not the one the lesson asks for.
        w.WriteLevel(
            1,
            "levelTime=\"90\" shapeClassCount=\"3\" lineShapeCount=\"11\" lineSpeed=\"0.03\" "
            "fBugAppearanceRange=\"1000\" fBonusAnyShapeP=\"0\" fBonusBandP=\"0\" fBonusAreaP=\"1\"");
        w.appStates.SetState(MainMenu);
        w.game.levelNumber = 1;
        w.game.StartLevel();
        // Level 1 before play: nothing can be taken.
        ASSERT_TRUE(r.Until([&] { return w.game.panelCount > 0 && w.game.panel[0].x < 1.0f; }));
        w.MouseAt(w.game.panel[0].x, w.game.panel[0].y);
        w.Left(true);
        r.Frame();
        EXPECT_EQ(w.game.held.present, 0);
        w.Left(false);
        ASSERT_TRUE(r.Until([&] { return w.game.levelPhase == 3; }));
        EXPECT_EQ(w.game.tutorialActive, 1);
        EXPECT_EQ(w.game.tutorialStep, 1);
        EXPECT_EQ(w.game.PauseDepth(), 1);
        float frozen = w.game.timeLeft;
        float cellY = w.game.cells[20].y;

        // A menu pause in the middle of the tutorial.
        r.Seconds(1.0f);
        w.appStates.SetState(Paused);
        w.clock.Advance(7000);
        w.appStates.SetState(Playing);
        ASSERT_TRUE(r.Until([&] { return w.game.panelCount > 4 && w.game.panel[4].x < 1.0f; }));
        r.Seconds(3.0f);
        EXPECT_EQ(w.game.timeLeft, frozen);
        EXPECT_EQ(w.game.cells[20].y, cellY);  // the lines stand still
        EXPECT_LE(w.game.spawnedCount, 10);

        // Only panel slot 4 can be taken.
        w.MouseAt(w.game.panel[1].x, w.game.panel[1].y);
        w.Left(true);
        r.Frame();
        EXPECT_EQ(w.game.held.present, 0);
        w.Left(false);
        r.Frame();
        w.MouseAt(w.game.panel[4].x, w.game.panel[4].y);
        w.Left(true);
        r.Frame();
        ASSERT_EQ(w.game.held.present, 1);
        EXPECT_EQ(w.game.held.classIndex, 0);
        EXPECT_EQ(w.game.held.shapeIndex, 0);
        EXPECT_EQ(w.game.held.bonusKind, BonusNone);
        EXPECT_EQ(w.game.ShapeImageFile(w.game.held), w.game.levelClasses[0].shapes[0].mainImage);
        const ShapeItem& cell = w.game.cells[4];
        EXPECT_EQ(cell.classIndex, 0);
        EXPECT_EQ(cell.shapeIndex, mode == ModeTransformer ? 1 : 0);
        if (mode == ModeTransformer) {
            EXPECT_EQ(w.game.tutorialStep, 2);
            // Dropped untransformed: it stays held.
            w.MouseAt(cell.x, cell.y);
            w.Left(false);
            r.Frame();
            EXPECT_EQ(w.game.held.present, 1);
            w.input.SetKeyDown(VK_RBUTTON, true);
            r.Frame();
            w.input.SetKeyDown(VK_RBUTTON, false);
            EXPECT_EQ(w.sound.Count("transform_shape"), 1);
            EXPECT_EQ(w.game.held.shapeIndex, 1);
        }
        EXPECT_EQ(w.game.tutorialStep, 3);
        float before = w.clock.Seconds();
        w.MouseAt(cell.x, cell.y);
        w.Left(true);
        r.Frame();
        w.Left(false);
        r.Frame();
        EXPECT_EQ(cell.filled, 1);
        EXPECT_EQ(w.game.tutorialActive, 0);
        EXPECT_EQ(w.game.PauseDepth(), 0);
        r.Frame();
        // The clock goes on from where it stood: the whole tutorial, menu pause included, is given back.
        EXPECT_NEAR(w.game.timeLeft, frozen + 0.9f - (w.clock.Seconds() - before) + 0.02f, 0.03f);
        EXPECT_NE(w.game.cells[20].y, cellY);
    }
}

TEST(LevelUpdate, TransformerTutorialFinishesWithOneShapeClassesAndPausesNest) {
    LevelRun r;
    GameWorld& w = r.w;
    w.game.gameMode = ModeTransformer;
    w.WriteClasses(3, 1);
    w.game.LoadShapeClasses("classes.xml");
    w.WriteLevel(1,
                 "levelTime=\"90\" shapeClassCount=\"3\" lineShapeCount=\"11\" fBugAppearanceRange=\"1000\" "
                 "fBonusAnyShapeP=\"0\" fBonusBandP=\"0\" fBonusAreaP=\"0\"");
    w.game.levelNumber = 1;
    w.game.StartLevel();
    ASSERT_TRUE(
        r.Until([&] { return w.game.levelPhase == 3 && w.game.panelCount > 4 && w.game.panel[4].x < 1.0f; }));
    ASSERT_EQ(w.game.cells[4].shapeIndex, 0);  // the only shape of class 0
    // A shape with no other form skips the lesson of the right button: it goes straight to its hole.
    const ShapeItem& slot = w.game.panel[4];
    w.MouseAt(slot.x, slot.y);
    w.Left(true);
    r.Frame();
    ASSERT_EQ(w.game.held.present, 1);
    EXPECT_EQ(w.game.tutorialStep, 3);
    w.input.SetKeyDown(VK_RBUTTON, true);
    r.Frame();
    w.input.SetKeyDown(VK_RBUTTON, false);
    EXPECT_EQ(w.game.held.shapeIndex, 0);
    EXPECT_EQ(w.game.tutorialStep, 3);
    w.MouseAt(w.game.cells[4].x, w.game.cells[4].y);
    w.Left(false);
    r.Frame();
    EXPECT_EQ(w.game.cells[4].filled, 1);
    EXPECT_EQ(w.game.tutorialActive, 0);
    EXPECT_EQ(w.game.PauseDepth(), 0);

    // A bonus shape dropped before the transformation also ends it (the cell is filled for good).
    LevelRun b;
    b.w.game.gameMode = ModeTransformer;
    b.w.SetBoard({"....", "....", "....", "....", "....", "...."});
    b.w.appStates.SetState(Playing);
    b.w.game.tutorialActive = 1;
    b.w.game.tutorialStep = 2;
    b.w.Hold(0, 0, BonusAnyShape);
    b.w.game.ImposeTutorialSetup();
    b.w.ClickAt(b.w.game.cells[4].x, b.w.game.cells[4].y);
    EXPECT_EQ(b.w.game.cells[4].filled, 1);
    EXPECT_EQ(b.w.game.tutorialActive, 0);

    // A new level drops the tutorial and any pause it held.
    w.game.PauseClock();
    w.game.PauseClock();
    w.game.ResumeClock();
    EXPECT_EQ(w.game.PauseDepth(), 1);
    w.game.tutorialActive = 1;
    w.game.LoadLevel();
    EXPECT_EQ(w.game.tutorialActive, 0);
    EXPECT_EQ(w.game.PauseDepth(), 0);
    w.game.ResumeClock();
    EXPECT_EQ(w.game.PauseDepth(), 0);
}

}  // namespace
}  // namespace tamblor

namespace tamblor {
namespace {

TEST(LevelUpdate, DeveloperKeys) {
    LevelRun r;
    GameWorld& w = r.w;
    PlayOn(r, {"....", "....", "....", "....", "....", "...."}, 50.0f);
    w.game.bug.appearanceRange = 1000.0f;
    int completes = 0;
    w.game.hooks.gameComplete = [&] { ++completes; };

    // Without the developer switch the keys do nothing: no ending, the clock and the board stay.
    w.game.developerKeys = false;
    for (int key : {VK_F7, VK_F8, VK_F9, VK_F11}) w.input.SetKeyDown(key, true);
    r.Frame();
    for (int key : {VK_F7, VK_F8, VK_F9, VK_F11}) w.input.SetKeyDown(key, false);
    EXPECT_EQ(completes, 0);
    EXPECT_EQ(w.appStates.State(), Playing);
    EXPECT_GT(w.game.timeLeft, 40.0f);
    EXPECT_FALSE(w.game.IsBonusLevel());
    EXPECT_EQ(w.game.filledCount, 0);
    w.game.developerKeys = true;

    w.effects.AddSoundCue(0.0f, "waiting");
    w.input.SetKeyDown(VK_F9, true);
    r.Frame();
    r.Frame();
    EXPECT_EQ(completes, 2);
    EXPECT_EQ(w.sound.Count("waiting"), 0);  // the effects wait while F9 runs the ending
    w.input.SetKeyDown(VK_F9, false);
    r.Frame();
    EXPECT_EQ(w.sound.Count("waiting"), 1);

    // F7: a bonus level, every cell filled, the bonus awards.
    w.input.SetKeyDown(VK_F7, true);
    r.Frame();
    EXPECT_TRUE(w.game.IsBonusLevel());
    EXPECT_EQ(w.appStates.State(), LevelWon);
    EXPECT_EQ(w.sound.Count("bonus_level_complete"), 1);
    EXPECT_EQ(w.game.filledCount, w.game.cellCount);
}

}  // namespace
}  // namespace tamblor
