#include <gtest/gtest.h>

#include <filesystem>

#include "core/AppState.h"
#include "app/GraphicsTextureFinder.h"
#include "core/CoreServices.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "game/Game.h"
#include "graphics/GameScene.h"
#include "platform/Dialogs.h"
#include "platform/InputState.h"
#include "platform/gl/GlHarness.h"
#include "platform/gl/GoldenImage.h"
#include "platform/gl/PngFile.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {
namespace {

class SilentSound : public SoundEventPlayer {
public:
    void PlayEvent(std::string_view) override {}
};

// A picture of one colour with a darker one-pixel rim and, for shapes, a transparent outside corner.
void WritePicture(const test::GlHarness& h, const std::string& logicalName, int w, int hgt, uint32_t argb,
                  bool roundish) {
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * hgt * 4);
    for (int y = 0; y < hgt; ++y) {
        for (int x = 0; x < w; ++x) {
            size_t i = (static_cast<size_t>(y) * w + x) * 4;
            bool rim = x == 0 || y == 0 || x == w - 1 || y == hgt - 1;
            float dx = (x + 0.5f) / w - 0.5f, dy = (y + 0.5f) / hgt - 0.5f;
            bool outside = roundish && dx * dx + dy * dy > 0.25f;
            int shade = rim ? 2 : 1;
            rgba[i] = static_cast<uint8_t>(((argb >> 16) & 0xFF) / shade);
            rgba[i + 1] = static_cast<uint8_t>(((argb >> 8) & 0xFF) / shade);
            rgba[i + 2] = static_cast<uint8_t>((argb & 0xFF) / shade);
            rgba[i + 3] = outside ? 0 : static_cast<uint8_t>(argb >> 24);
        }
    }
    std::string path = logicalName;
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    path = h.user.Path() + "/" + path;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(WritePng(path, w, hgt, rgba));
}

TEST(GameSceneGl, AFrameOfALevelMatchesTheGoldenImage) {
    test::GlHarness h(800, 600);
    ASSERT_TRUE(h.Ready()) << h.Why();
    Random random;
    random.SRand15(2026);
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

    WritePicture(h, "Graphics\\back_game01.jpg", 344, 258, 0xFF305070, false);
    for (int i = 1; i <= 6; ++i) {
        WritePicture(h, "Graphics\\line" + std::to_string(i) + ".png", 24, 64, 0xC0202840u + 0x101010u * i,
                     false);
    }
    WritePicture(h, "Graphics\\am_bottom_bar.jpg", 200, 20, 0xFF604020, false);
    WritePicture(h, "Graphics\\status-border.png", 256, 256, 0x90807060u, false);
    WritePicture(h, "Graphics\\progress-empty.png", 100, 12, 0xFF202020, false);
    WritePicture(h, "Graphics\\progress-full.png", 100, 12, 0xFF20C020, false);
    WritePicture(h, "Graphics\\bug_right.png", 120, 20, 0xFFE0E020, true);
    const uint32_t colours[3] = {0xFFE04040, 0xFF40E040, 0xFF4040E0};
    for (int c = 0; c < 3; ++c) {
        std::string stem = "Shapes\\c" + std::to_string(c);
        WritePicture(h, stem + ".png", 60, 60, colours[c], true);
        WritePicture(h, stem + "_mask.png", 60, 60, 0x80000000u | (colours[c] & 0x00FFFFFFu), true);
        game.levelClasses[static_cast<size_t>(c)].shapeCount = 1;
        game.levelClasses[static_cast<size_t>(c)].shapes[0] = {stem + ".png", stem + "_mask.png"};
    }
    game.shapeClassCount = 3;
    game.lineShapeCount = 5;
    game.BuildGrid(5, 6);
    game.ForceEveryClass();
    game.ResetLines();
    for (int i = 0; i < game.cellCount; i += 3) game.cells[static_cast<size_t>(i)].filled = 1;
    game.LoadCellTextures();
    game.lines[4].removed = 1;
    game.lines[4].alpha = 0.5f;
    game.lines[1].scroll = 0.3f;
    for (int i = 0; i < 4; ++i) {
        ShapeItem& p = game.panel[static_cast<size_t>(i)];
        p.classIndex = i % 3;
        p.x = 0.3f + 0.11875f * static_cast<float>(i);
        p.y = 0.915f;
        p.mainTexture = finder.FindTexture(game.ShapeImageFile(p));
    }
    game.panelCount = 4;
    game.held = game.panel[1];
    game.held.present = 1;
    game.held.x = 0.62f;
    game.held.y = 0.4f;
    game.hooks.inGameTextPosition = [](std::string_view name) {
        if (name == "txtMeterBar")
            return std::pair<float, float>(0.12f, 0.6f);
        return std::pair<float, float>(0.12f, 0.3f);
    };
    game.levelPhase = 3;
    game.progress = 0.4f;
    game.timeLeft = 42.0f;
    game.backgroundShown = "Graphics\\back_game01.jpg";
    game.bug.active = 1;
    game.bug.state = BugLeaving;
    game.bug.x = 0.5f;
    game.bug.y = 0.3f;
    appStates.SetState(Paused);  // the bug stays where it is
    h.clock.Set(61000);

    scene.DrawGameScene(0.02f);
    h.device->Present();
    EXPECT_TRUE(test::MatchesGolden("game-scene", 800, 600, h.Pixels(), h.device->Renderer()));
}

}  // namespace
}  // namespace tamblor
