#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>

#include "app/GraphicsTextureFinder.h"
#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "game/Game.h"
#include "graphics/GameScene.h"
#include "graphics/GraphicsHarness.h"
#include "platform/Dialogs.h"
#include "platform/InputState.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {
namespace {

class SilentSound : public SoundEventPlayer {
public:
    void PlayEvent(std::string_view) override {}
};

// A running level drawn on the recording device; every picture the scene asks for exists, and the
// numbers and words it writes are pictures too (through language.ini), so each draw can be named.
struct SceneWorld {
    test::GraphicsHarness h;
    Random random;
    InputState input;
    StderrDialogs dialogs;
    CoreServices services{h.clock, random, input, h.files, h.log, h.settings, h.language, dialogs};
    AppStates appStates{input};
    MouseButtons mouse;
    SilentSound sound;
    EffectList effects{h.clock, random, sound};
    GraphicsTextureFinder finder{h.graphics};
    Game game{services, appStates, mouse, effects, sound, finder};
    GameScene scene{game, h.graphics, effects, appStates, h.clock};
    std::vector<std::string> events;  // hooks called, with the number of draws made before them
    std::map<const Texture*, std::string> names;

    SceneWorld() {
        const std::vector<std::pair<std::string, std::pair<int, int>>> pictures = {
            {"Graphics\\back_game01.jpg", {688, 516}},
            {"Graphics\\am_bottom_bar.jpg", {800, 78}},
            {"Graphics\\status-border.png", {1024, 1024}},
            {"Graphics\\round_time.png", {40, 40}},
            {"Graphics\\progress-empty.png", {100, 10}},
            {"Graphics\\progress-full.png", {100, 10}},
            {"Graphics\\bug_right.png", {300, 50}},
            {"Graphics\\spr.png", {20, 20}},
            {"Graphics\\num3.png", {10, 10}},
            {"Graphics\\num5.png", {10, 10}},
            {"Graphics\\num1234.png", {40, 10}},
            {"Graphics\\unlim.png", {40, 10}},
            {"Shapes\\a.png", {71, 71}},
            {"Shapes\\a_mask.png", {71, 71}},
            {"Shapes\\b.png", {71, 71}},
            {"Shapes\\b_mask.png", {71, 71}},
        };
        for (const auto& [name, size] : pictures) h.Picture(name, size.first, size.second);
        for (int i = 1; i <= 6; ++i) h.Picture("Graphics\\line" + std::to_string(i) + ".png", 95, 600);
        h.LanguageFile(
            "3=Graphics\\num3.png\r\n55=Graphics\\num5.png\r\n5=Graphics\\num5.png\r\n1234=Graphics\\num1234."
            "png\r\n"
            "Unlim=Graphics\\unlim.png\r\n");
        for (const auto& [name, size] : pictures) names[h.graphics.FindTexture(name)] = name;
        for (int i = 1; i <= 6; ++i) {
            std::string name = "Graphics\\line" + std::to_string(i) + ".png";
            names[h.graphics.FindTexture(name)] = name;
        }
        game.hooks.inGameTextPosition = [](std::string_view name) {
            if (name == "txtLevelNum")
                return std::pair<float, float>(0.1f, 0.1f);
            if (name == "txtTimeNum")
                return std::pair<float, float>(0.1f, 0.2f);
            if (name == "txtScoreNum")
                return std::pair<float, float>(0.1f, 0.3f);
            if (name == "txtMeterBar")
                return std::pair<float, float>(0.1f, 0.5f);
            return std::pair<float, float>(0.0f, 0.0f);
        };
        auto note = [this](const char* what) {
            return [this, what] {
                events.push_back(std::string(what) + "@" + std::to_string(h.device.draws.size()));
            };
        };
        scene.hooks.renderInGameScreen = note("screen");
        scene.hooks.renderMainMenu = note("mainmenu");
        scene.hooks.drawStageMap = note("stagemap");
        scene.hooks.drawTutorialHints = note("hints");

        // Two classes, two cells per line.
        game.shapeClassCount = 2;
        game.levelClasses[0].shapeCount = 1;
        game.levelClasses[0].shapes[0] = {"Shapes\\a.png", "Shapes\\a_mask.png"};
        game.levelClasses[1].shapeCount = 1;
        game.levelClasses[1].shapes[0] = {"Shapes\\b.png", "Shapes\\b_mask.png"};
        game.lineShapeCount = 2;
        game.BuildGrid(2, 6);
        for (int i = 0; i < game.cellCount; ++i) game.cells[static_cast<size_t>(i)].classIndex = i % 2;
        game.LoadCellTextures();
        game.ResetLines();
        game.levelPhase = 3;
        game.levelNumber = 3;
        game.score = 1234;
        game.timeLeft = 55.5f;
        game.backgroundShown = "Graphics\\back_game01.jpg";
        appStates.SetState(Playing);
    }
    std::string NameOf(const RecordingRenderDevice::Draw& d) const {
        auto it = names.find(d.state.texture);
        return it == names.end() ? "?" : it->second;
    }
    std::vector<std::string> DrawNames() const {
        std::vector<std::string> out;
        for (const auto& d : h.device.draws) out.push_back(NameOf(d));
        return out;
    }
    void Draw() {
        h.device.ForgetDraws();
        events.clear();
        scene.DrawGameScene(0.02f);
    }
};

TEST(GameScene, DrawOrderAndTheStateEachStepSees) {
    SceneWorld s;
    Game& g = s.game;
    g.cells[0].filled = 1;
    g.lines[2].removed = 1;  // its two cells are gone
    g.lines[2].alpha = 0.25f;
    g.cells[4].present = 0;
    g.cells[5].present = 0;
    g.panelCount = 2;
    for (int i = 0; i < 2; ++i) {
        ShapeItem& p = g.panel[static_cast<size_t>(i)];
        p.x = 0.3f + 0.11875f * static_cast<float>(i);
        p.y = 0.915f;
        p.mainTexture = s.h.graphics.FindTexture("Shapes\\b.png");
    }
    g.held.present = 1;
    g.held.classIndex = 0;
    g.held.x = 0.5f;
    g.held.y = 0.5f;
    g.bug.active = 1;
    g.bug.targetCell = 0;
    g.bug.x = 0.2f;
    g.bug.y = 0.2f;
    g.tutorialActive = 1;
    g.progress = 0.5f;
    s.effects.AddGrowSprite(1, 0, 1, 0.5f, 0.5f, 0.1f, 0.1f, s.h.graphics.FindTexture("Graphics\\spr.png"));
    s.effects.AddShrinkSprite(2, 0, 1, 0.5f, 0.5f, 0.1f, 0.1f, s.h.graphics.FindTexture("Graphics\\spr.png"));
    s.effects.Update();
    s.h.clock.Advance(500);
    s.effects.Update();
    s.Draw();

    std::vector<std::string> expected = {"Graphics\\back_game01.jpg",
                                         "Graphics\\line1.png",
                                         "Graphics\\line2.png",
                                         "Graphics\\line3.png",
                                         "Graphics\\line4.png",
                                         "Graphics\\line5.png",
                                         "Graphics\\line6.png",
                                         "Shapes\\a.png",  // cell 0, filled
                                         "Shapes\\b_mask.png",
                                         "Shapes\\a_mask.png",
                                         "Shapes\\b_mask.png",
                                         "Shapes\\a_mask.png",
                                         "Shapes\\b_mask.png",
                                         "Shapes\\a_mask.png",
                                         "Shapes\\b_mask.png",
                                         "Shapes\\a_mask.png",
                                         "Shapes\\b_mask.png",  // cells 6 to 11 (4 and 5 are gone)
                                         "Graphics\\bug_right.png",
                                         "Graphics\\spr.png",
                                         "Graphics\\am_bottom_bar.jpg",
                                         "Shapes\\b.png",
                                         "Shapes\\b.png",
                                         "Graphics\\status-border.png",
                                         "Graphics\\status-border.png",
                                         "Graphics\\status-border.png",
                                         "Graphics\\status-border.png",
                                         "Graphics\\num3.png",
                                         "Graphics\\num5.png",
                                         "Graphics\\num1234.png",
                                         "Graphics\\progress-empty.png",
                                         "Graphics\\progress-full.png",
                                         "Shapes\\a.png",
                                         "Graphics\\spr.png"};
    EXPECT_EQ(s.DrawNames(), expected);
    EXPECT_EQ(s.events, (std::vector<std::string>{"screen@26", "hints@33"}));

    const auto& d = s.h.device.draws;
    EXPECT_FALSE(d[0].state.alphaBlendEnable);  // the background is opaque
    EXPECT_TRUE(d[1].state.alphaBlendEnable);
    EXPECT_EQ(d[1].state.colorOp, ColorOp::Modulate);
    EXPECT_EQ(d[1].state.addressU, TextureAddress::Wrap);
    EXPECT_FLOAT_EQ(std::min(d[1].vertices[0].v, d[1].vertices[2].v), 0.01f);  // the strip scrolls
    // The removed line: channels 63 at alpha 63, four-fold modulation, blended.
    EXPECT_EQ(d[3].vertices[0].diffuse, 0x3F3F3F3Fu);
    EXPECT_EQ(d[3].state.colorOp, ColorOp::Modulate4X);
    EXPECT_TRUE(d[3].state.alphaBlendEnable);
    EXPECT_EQ(g.lines[2].color, 0x3F3F3F3Fu);
    EXPECT_EQ(d[4].state.colorOp, ColorOp::Modulate);
    EXPECT_EQ(d[4].vertices[0].diffuse, 0xFFFFFFFFu);
    // Cells at their own pixel size.
    EXPECT_FLOAT_EQ(d[7].vertices[1].x - d[7].vertices[0].x, 71.0f);
    // The bug with modulated blending; the layer-1 effects after blending was switched off.
    EXPECT_TRUE(d[17].state.alphaBlendEnable);
    EXPECT_EQ(d[17].state.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_FALSE(d[19].state.alphaBlendEnable);  // the bottom bar
    // The panel without filtering, the frame with it again.
    EXPECT_EQ(d[20].state.minFilter, TextureFilter::Point);
    EXPECT_EQ(d[20].state.magFilter, TextureFilter::Point);
    EXPECT_EQ(d[22].state.minFilter, TextureFilter::Linear);
    // The left frame piece: screen 0..0.25 x 0..0.84 from the screen picture inside the texture.
    float u1 = std::max(d[22].vertices[0].u, d[22].vertices[1].u);
    float v1 = std::max(d[22].vertices[0].v, d[22].vertices[2].v);
    EXPECT_FLOAT_EQ(u1, 0.78125f * 0.25f);
    EXPECT_FLOAT_EQ(v1, 0.5859375f * 0.84f);
    EXPECT_NEAR(d[22].vertices[1].x - d[22].vertices[0].x, 200.0f, 1e-3);
    // The meter half full.
    EXPECT_NEAR(d[30].vertices[1].x - d[30].vertices[0].x, 50.0f, 1e-3);
    // The tutorial set-up is imposed while it is drawn.
    EXPECT_EQ(g.tutorialCellIndex, 4);
    EXPECT_EQ(g.panel[4].classIndex, 0);
}

TEST(GameScene, ClockBlinksUnderTenSecondsAndUntimedLevelsShowUnlim) {
    SceneWorld s;
    s.game.timeLeft = 9.99f;
    auto clockAlpha = [&]() -> int {
        for (const auto& d : s.h.device.draws) {
            if (s.NameOf(d) == "Graphics\\round_time.png")
                return static_cast<int>(d.vertices[0].diffuse >> 24);
        }
        return -1;
    };
    s.h.clock.Set(62000);
    s.Draw();
    EXPECT_EQ(clockAlpha(), 0);
    s.h.clock.Set(63000);
    s.Draw();
    EXPECT_GE(clockAlpha(), 254);  // 63000 x 0.001 in single precision lands a hair above 63
    s.h.clock.Set(63500);
    s.Draw();
    EXPECT_EQ(clockAlpha(), 127);
    s.game.timeLeft = 10.0f;
    s.Draw();
    EXPECT_EQ(clockAlpha(), -1);

    // Relax and bonus levels have no time limit: "Unlim" stands where the seconds would.
    struct Case {
        int mode;
        const char* bonusLevel;
        bool unlimited;
    };
    for (Case c : {Case{ModeClassic, "", false}, Case{ModeRelax, "", true}, Case{ModeClassic, "true", true},
                   Case{ModeTransformer, "true", true}, Case{ModeTransformer, "false", false}}) {
        s.game.gameMode = c.mode;
        s.game.bonusLevel = c.bonusLevel;
        s.game.timeLeft = 5.0f;
        s.Draw();
        std::vector<std::string> names = s.DrawNames();
        auto shows = [&](const char* picture) {
            return std::find(names.begin(), names.end(), picture) != names.end();
        };
        EXPECT_EQ(shows("Graphics\\unlim.png"), c.unlimited) << c.mode << c.bonusLevel;
        EXPECT_EQ(shows("Graphics\\num5.png"), !c.unlimited) << c.mode << c.bonusLevel;
        EXPECT_NE(clockAlpha(), -1);  // the clock blinks below ten seconds in every mode
    }
}

TEST(GameScene, WildNumbersDrawWithinTheirRange) {
    // Values no game produces (a damaged file, a value grown without bound) still become colours
    // and a percentage within range.
    SceneWorld s;
    s.game.lines[0].alpha = 1e12f;
    s.game.lines[1].alpha = -1e12f;
    s.game.lines[2].alpha = std::numeric_limits<float>::quiet_NaN();
    s.game.lines[3].alpha = 0.5f;
    s.game.progress = 1e12f;
    s.game.timeLeft = -3e38f;
    s.Draw();
    EXPECT_EQ(s.game.lines[0].color, 0xFFFFFFFFu);
    EXPECT_EQ(s.game.lines[1].color, 0x00000000u);
    EXPECT_EQ(s.game.lines[2].color, 0x00000000u);
    EXPECT_EQ(s.game.lines[3].color, 0x7F7F7F7Fu);
    float fullU = -1.0f;
    for (const auto& d : s.h.device.draws) {
        if (s.NameOf(d) == "Graphics\\progress-full.png")
            for (const Vertex& v : d.vertices) fullU = std::max(fullU, v.u);
    }
    EXPECT_EQ(fullU, 1.0f);  // a full bar, no more
}

TEST(GameScene, FadingInFromAMenuShowsOnlyThatMenuAndTheBugWaitsOutsidePlay) {
    SceneWorld s;
    s.game.levelPhase = 0;
    s.appStates.SetState(MainMenu);
    s.appStates.SetState(Playing);
    float fade = 0.0f;
    s.effects.AddTween(0, 1, 1.0f, 0.0f, &fade);
    s.effects.Update();
    s.h.clock.Advance(250);
    s.effects.Update();
    s.Draw();
    EXPECT_EQ(s.events, std::vector<std::string>{"mainmenu@0"});
    EXPECT_TRUE(s.h.device.draws.empty());
    EXPECT_FLOAT_EQ(fade, 0.75f);  // effects of layer -1 still run
    s.appStates.SetState(StageMap);
    s.appStates.SetState(Playing);
    s.Draw();
    EXPECT_EQ(s.events, std::vector<std::string>{"stagemap@0"});

    // The bug walks only while playing.
    s.game.levelPhase = 3;
    s.game.cells[3].filled = 1;
    s.game.bug.active = 1;
    s.game.bug.targetCell = 3;
    s.game.bug.x = -0.1f;
    s.game.bug.y = 0.2f;
    s.appStates.SetState(Paused);
    s.Draw();
    EXPECT_FLOAT_EQ(s.game.bug.x, -0.1f);
    s.appStates.SetState(Playing);
    s.Draw();
    EXPECT_GT(s.game.bug.x, -0.1f);
}

}  // namespace
}  // namespace tamblor
