// The whole game, headless, driven like a player: clicks on the menus' buttons, keys, typed names,
// and levels played by the bot's pointer and button input.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "ApplicationTestSupport.h"
#include "app/autoplay/Autoplayer.h"
#include "app/autoplay/InputEvent.h"

namespace tamblor {

namespace {

class Player {
public:
    explicit Player(uint32_t seed) : game(seed) {}

    bool Start() {
        if (!game.Start())
            return false;
        game.Frames(40);  // the opening fade
        return true;
    }
    Application& App() { return *game.app; }
    Game& Level() { return game.app->GameState(); }
    Screen& Of(ScreenId id) { return game.app->Screens().Get(id); }

    void Press(ScreenId id, const std::string& button) { game.ClickButton(Of(id), button); }

    // From the main menu through the stage map into the first level of a new game of a mode.
    void StartNewGame(const std::string& modeButton) {
        Press(ScreenId::Main, modeButton);
        ASSERT_EQ(App().State(), StageMap);
        ASSERT_TRUE(game.FramesUntil([&] { return Level().levelPhase == 7; }, 120));
        game.Frames(40);  // the map fades in
        Press(ScreenId::Map, "btnStart");
        ASSERT_EQ(App().State(), Playing);
    }

    // The first level's lesson: waits for it to begin, then plays until it is over.
    bool PlayThroughTutorial() {
        if (!game.FramesUntil([&] { return Level().tutorialActive == 1; }, 600))
            return false;
        return PlayUntil([&] { return Level().tutorialActive == 0; }, 60 * 60);
    }

    // Lets the bot's input play until the condition holds; the bot only acts while a level runs.
    template <typename Condition>
    bool PlayUntil(Condition condition, int frames) {
        // A quick hand, so the levels take fewer frames.
        AutoplayPace pace;
        pace.pixelsPerSecond = 3000.0f;
        pace.restAfterDrop = 0.05f;
        pace.restAfterClick = 0.1f;
        Autoplayer bot("procClassicGame", pace);
        App().frameInput = [&](std::vector<InputEvent>& events) {
            if (App().State() == Playing)
                bot.Frame(View(), events);
        };
        bool held = game.FramesUntil(condition, frames);
        App().frameInput = nullptr;
        transforms += bot.Transforms();
        placements += bot.Placements();
        // Whatever the bot held is let go, as a player's hand would be.
        App().Input().ReleaseAll();
        return held;
    }

    AutoplayView View() {
        AutoplayView view;
        view.appState = App().State();
        view.game = &Level();
        if (Screen* screen = App().Screens().ForState(view.appState)) {
            for (int i = 0; i < screen->buttonCount; ++i) {
                const ScreenButton& b = screen->buttons[static_cast<size_t>(i)];
                view.buttons.push_back({b.name, b.action, b.x, b.y, b.visible != 0});
            }
        }
        view.cursorX = App().Input().CursorX();
        view.cursorY = App().Input().CursorY();
        return view;
    }

    test::HeadlessGame game;
    int transforms = 0;
    int placements = 0;
};

}  // namespace

TEST(ApplicationEndToEnd, ClassicGameThroughTheMapAndTheTutorialIntoLevelTwo) {
    Player p(11);
    ASSERT_TRUE(p.Start());
    EXPECT_FLOAT_EQ(p.Level().sceneFade, 1.0f);
    p.StartNewGame("btnClassicGame");
    EXPECT_EQ(p.Level().gameMode, ModeClassic);
    EXPECT_EQ(p.Level().levelNumber, 1);
    // Level 1 teaches the first placement once the level has faded in.
    EXPECT_TRUE(p.game.FramesUntil([&] { return p.Level().tutorialActive == 1; }, 600));

    ASSERT_TRUE(
        p.PlayUntil([&] { return p.Level().levelNumber == 2 && p.App().State() == Playing; }, 60 * 240));
    EXPECT_GT(p.placements, 0);
    EXPECT_EQ(p.Level().tutorialActive, 0);
    EXPECT_GT(p.Level().score, 0);
    // The highest level reached is stored at once.
    EXPECT_NE(p.game.user.Read("config.ini").find("LastOpenedLevel=2"), std::string::npos);
}

TEST(ApplicationEndToEnd, PauseOptionsResumeThenSaveAndContinue) {
    Player p(12);
    ASSERT_TRUE(p.Start());
    p.StartNewGame("btnClassicGame");
    ASSERT_TRUE(p.PlayThroughTutorial());
    p.game.Frames(30);
    ASSERT_EQ(p.App().State(), Playing);

    p.Press(ScreenId::InGame, "btnMenu");
    ASSERT_EQ(p.App().State(), Paused);
    float frozen = p.Level().timeLeft;
    p.game.Frames(120);
    EXPECT_FLOAT_EQ(p.Level().timeLeft, frozen);  // the level clock stands still
    p.Press(ScreenId::Pause, "btnOptions");
    ASSERT_EQ(p.App().State(), Options);
    p.game.Frames(30);
    p.Press(ScreenId::Options, "btnClose");
    ASSERT_EQ(p.App().State(), Paused);
    EXPECT_FLOAT_EQ(p.Level().timeLeft, frozen);
    p.Press(ScreenId::Pause, "btnResume");
    ASSERT_EQ(p.App().State(), Playing);
    p.game.Frames(240);
    EXPECT_LT(p.Level().timeLeft, frozen - 2.0f);  // and runs again

    // Save and quit, then continue the saved game from the main menu.
    int level = p.Level().levelNumber;
    int score = p.Level().score;
    p.Press(ScreenId::InGame, "btnMenu");
    p.Press(ScreenId::Pause, "btnEnd");
    EXPECT_TRUE(p.game.user.Has("saved.ini"));
    if (p.App().State() == HighScoresState)
        p.Press(ScreenId::HighScores, "btnClose");
    ASSERT_EQ(p.App().State(), MainMenu);
    p.Level().score = 0;
    p.Press(ScreenId::Main, "btnClassicGame");
    ASSERT_EQ(p.App().State(), ContinueConfirm);
    EXPECT_EQ(p.Level().levelNumber, level);
    EXPECT_EQ(p.Level().score, score);
    p.game.Frames(10);
    p.Press(ScreenId::ContinueConfirmation, "btnLoad");
    EXPECT_EQ(p.App().State(), Playing);
    EXPECT_EQ(p.Level().levelNumber, level);
    EXPECT_EQ(p.Level().score, score);
}

TEST(ApplicationEndToEnd, GameOverTryAgainAndAHighScoreEnteredByName) {
    Player p(13);
    p.game.config.developer = true;  // F8 runs the clock out
    ASSERT_TRUE(p.Start());
    p.StartNewGame("btnClassicGame");
    ASSERT_TRUE(
        p.PlayUntil([&] { return p.Level().tutorialActive == 0 && p.Level().score >= 200; }, 60 * 120));

    // The developer key F8 runs the clock out.
    p.App().Input().SetKeyDown(VK_F8, true);
    ASSERT_TRUE(p.game.FramesUntil([&] { return p.App().State() == GameOver; }, 600));
    p.App().Input().SetKeyDown(VK_F8, false);
    p.game.Frames(30);
    int level = p.Level().levelNumber;
    p.Press(ScreenId::GameOver, "btnContinue");
    ASSERT_EQ(p.App().State(), Playing);
    EXPECT_EQ(p.Level().levelNumber, level);  // the same level again
    EXPECT_GT(p.Level().timeLeft, 10.0f);

    ASSERT_TRUE(p.PlayUntil([&] { return p.Level().score >= 200; }, 60 * 120));
    int score = p.Level().score;
    p.App().Input().SetKeyDown(VK_F8, true);
    ASSERT_TRUE(p.game.FramesUntil([&] { return p.App().State() == GameOver; }, 600));
    p.App().Input().SetKeyDown(VK_F8, false);
    p.game.Frames(10);
    p.Press(ScreenId::GameOver, "btnExit");
    ASSERT_EQ(p.App().State(), HighScoresState);
    EXPECT_EQ(p.App().Scores().Entering(), 1);
    p.game.Type("Ada");
    p.game.Key(VK_F1);  // the frame-rate key works while a name is typed and types nothing
    EXPECT_TRUE(p.App().ShowFps());
    p.game.Key(VK_RETURN);
    p.game.Frames(2);
    EXPECT_EQ(p.App().Scores().Entering(), 0);
    EXPECT_EQ(p.App().Scores().Entry(0, 0).Name(), "Ada");
    EXPECT_EQ(p.App().Scores().Entry(0, 0).score, static_cast<uint32_t>(score));
    EXPECT_TRUE(p.game.user.Has("scores.ini"));
}

TEST(ApplicationEndToEnd, StageMapBackKeepsTheGameToContinue) {
    Player p(18);
    ASSERT_TRUE(p.Start());
    // A Relax game on the map before its second stage (as after level 6 was won) is left with Back.
    p.Press(ScreenId::Main, "btnRelaxGame");
    ASSERT_EQ(p.App().State(), StageMap);
    ASSERT_TRUE(p.game.FramesUntil([&] { return p.Level().levelPhase == 7; }, 120));
    p.game.Frames(40);
    p.Level().score = 2345;
    p.Level().levelNumber = 7;
    p.Press(ScreenId::Map, "btnBack");
    ASSERT_EQ(p.App().State(), MainMenu);
    p.game.Frames(40);
    EXPECT_FLOAT_EQ(p.Level().sceneFade, 1.0f);  // the menu has faded in

    // Another mode knows nothing of it; Relax offers to continue at the map's level and score.
    p.Press(ScreenId::Main, "btnClassicGame");
    ASSERT_EQ(p.App().State(), StageMap);
    p.game.Key(VK_ESCAPE);  // Escape is the map's Back
    ASSERT_EQ(p.App().State(), MainMenu);
    p.game.Frames(40);
    p.Level().score = 0;
    p.Press(ScreenId::Main, "btnRelaxGame");
    ASSERT_EQ(p.App().State(), ContinueConfirm);
    EXPECT_EQ(p.Level().levelNumber, 7);
    EXPECT_EQ(p.Level().score, 2345);
    p.game.Frames(10);
    p.Press(ScreenId::ContinueConfirmation, "btnLoad");
    ASSERT_EQ(p.App().State(), Playing);
    EXPECT_EQ(p.Level().gameMode, ModeRelax);
    EXPECT_EQ(p.Level().levelNumber, 7);
    EXPECT_EQ(p.Level().score, 2345);
    // The level begins whole: every hole empty, no time used.
    EXPECT_GT(p.Level().cellCount, 0);
    p.game.Frames(2);
    EXPECT_EQ(p.Level().filledCount, 0);
    EXPECT_NEAR(p.Level().timeLeft, p.Level().levelTime, 0.5f);
}

TEST(ApplicationEndToEnd, RelaxAndTransformerStarts) {
    {
        Player p(14);
        ASSERT_TRUE(p.Start());
        p.StartNewGame("btnRelaxGame");
        EXPECT_EQ(p.Level().gameMode, ModeRelax);
        EXPECT_EQ(p.Level().levelNumber, 1);
        ASSERT_TRUE(p.PlayThroughTutorial());
        EXPECT_EQ(p.App().State(), Playing);
    }
    {
        Player p(15);
        ASSERT_TRUE(p.Start());
        p.StartNewGame("btnTransformerGame");
        EXPECT_EQ(p.Level().gameMode, ModeTransformer);
        // A shape taken from the panel is turned into the next shape of its class by the right button.
        ASSERT_TRUE(p.PlayUntil([&] { return p.Level().held.present != 0; }, 60 * 60));
        const ShapeItem& held = p.Level().held;
        int count = p.Level().ShapeCountOf(held.classIndex);
        ASSERT_GT(count, 1);
        int before = held.shapeIndex;
        p.App().Input().SetKeyDown(VK_RBUTTON, true);
        p.App().PostMessage(
            MouseMessage(WM_RBUTTONDOWN, p.App().Input().CursorX(), p.App().Input().CursorY()));
        p.game.Frames(1);
        p.App().Input().SetKeyDown(VK_RBUTTON, false);
        p.game.Frames(1);
        EXPECT_EQ(p.Level().held.shapeIndex, (before + 1) % count);
        ASSERT_TRUE(p.PlayUntil([&] { return p.Level().tutorialActive == 0; }, 60 * 60));
        EXPECT_EQ(p.App().State(), Playing);
    }
}

TEST(ApplicationEndToEnd, FocusLossMutesAndPausesPlayAndADeviceResetKeepsEverything) {
    Player p(16);
    p.game.config.audioOutput = AudioOutput::Loopback;
    ASSERT_TRUE(p.Start());
    AudioDevice& audio = p.App().Music().Audio();
    // The loudest sample of the next mixed stretch of output.
    auto loudest = [&] {
        std::vector<float> mix(2 * 4096);
        EXPECT_TRUE(audio.RenderLoopback(mix.data(), 4096));
        float peak = 0.0f;
        for (float v : mix) peak = std::max(peak, std::fabs(v));
        return peak;
    };
    EXPECT_GT(loudest(), 0.0f);  // the music plays
    p.game.Send(WM_KILLFOCUS);
    EXPECT_EQ(p.App().State(), MainMenu);
    EXPECT_TRUE(audio.IsMuted());
    loudest();  // the mixer fades a gain change in over the stretch it is mixing
    EXPECT_EQ(loudest(), 0.0f);
    p.game.Send(WM_SETFOCUS);
    EXPECT_FALSE(audio.IsMuted());
    loudest();
    EXPECT_GT(loudest(), 0.0f);

    p.StartNewGame("btnClassicGame");
    p.game.Frames(60);
    p.game.Send(WM_KILLFOCUS);
    EXPECT_EQ(p.App().State(), Paused);
    EXPECT_TRUE(audio.IsMuted());
    p.game.Send(WM_SETFOCUS);
    EXPECT_FALSE(audio.IsMuted());
    EXPECT_EQ(p.App().State(), Paused);  // coming back does not resume by itself
    p.Press(ScreenId::Pause, "btnResume");
    ASSERT_EQ(p.App().State(), Playing);

    uint32_t textures = p.App().Gfx().TextureCount();
    float music = p.App().Music().MusicVolume();
    int level = p.Level().levelNumber;
    std::string before = p.game.LogText();
    ASSERT_EQ(p.App().SimulateDeviceLoss(), 0);
    p.game.Frames(10);
    EXPECT_EQ(p.App().State(), Playing);
    EXPECT_EQ(p.Level().levelNumber, level);
    EXPECT_EQ(p.App().Gfx().TextureCount(), textures);
    EXPECT_FLOAT_EQ(p.App().Music().MusicVolume(), music);
    EXPECT_FLOAT_EQ(p.Level().sceneFade, 1.0f);  // no second opening fade
    std::string after = p.game.LogText().substr(before.size());
    EXPECT_EQ(after.find("intro"), std::string::npos);  // the loading picture is not shown again
    EXPECT_EQ(after.find("LoadAllTexturesMIPMAP"), std::string::npos);
    EXPECT_EQ(after.find("OGG sound loading"), std::string::npos);
    EXPECT_NE(after.find("RestoreDeviceObjects(): FINISHED"), std::string::npos);
}

TEST(ApplicationEndToEnd, LevelEditorInTheRunningGame) {
    Player p(17);
    ASSERT_TRUE(p.Start());
    p.StartNewGame("btnClassicGame");
    ASSERT_TRUE(p.PlayThroughTutorial());
    p.game.Frames(30);
    ASSERT_EQ(p.App().State(), Playing);
    Game& g = p.Level();
    // In play the lines move and the clock runs.
    float firstY = g.cells[0].y, clock = g.timeLeft;
    p.game.Frames(10);
    ASSERT_NE(g.cells[0].y, firstY);
    ASSERT_LT(g.timeLeft, clock);

    // F12: every cell back at its starting height, and the level stands still while it is edited.
    p.game.Key(VK_F12);
    ASSERT_EQ(g.editorMode, 1);
    std::vector<std::pair<float, float>> edited;
    for (int i = 0; i < g.cellCount; ++i) {
        const ShapeItem& cell = g.cells[static_cast<size_t>(i)];
        EXPECT_EQ(cell.y, cell.baseY);
        edited.emplace_back(cell.x, cell.y);
    }
    const int gridCells = g.cellCount;
    const float held = g.timeLeft;
    p.game.Frames(120);
    for (int i = 0; i < g.cellCount; ++i)
        EXPECT_EQ(g.cells[static_cast<size_t>(i)].y, edited[static_cast<size_t>(i)].second);
    EXPECT_EQ(g.timeLeft, held);

    // The left button adds a filled cell at the grid point below the pointer.
    p.game.Click(130, 250);  // (0.1625, 0.4167): column 0, row 3
    ASSERT_EQ(g.cellCount, gridCells + 1);
    const ShapeItem& added = g.cells[static_cast<size_t>(gridCells)];
    EXPECT_FLOAT_EQ(added.x, 0.15f);
    EXPECT_FLOAT_EQ(added.y, -0.07916667f + 3 * 0.15833333f);
    EXPECT_EQ(added.filled, 1);
    edited.emplace_back(added.x, added.y);

    // The right button over a board cell removes it (a cell that is alone near its grid point).
    int removed = -1;
    for (int i = 0; i < gridCells && removed < 0; ++i) {
        const ShapeItem& cell = g.cells[static_cast<size_t>(i)];
        if (cell.y < 0.05f || cell.y > 0.75f || cell.x < 0.25f)
            continue;
        int px = static_cast<int>(std::lround(cell.x * 800.0f)),
            py = static_cast<int>(std::lround(cell.y * 600.0f));
        auto [sx, sy] =
            Game::SnapToEditorGrid(static_cast<float>(px) / 800.0f, static_cast<float>(py) / 600.0f);
        int near = 0;
        for (int j = 0; j < g.cellCount; ++j) {
            const ShapeItem& other = g.cells[static_cast<size_t>(j)];
            if (std::fabs(other.x - sx) < other.width * 0.45f &&
                std::fabs(other.y - sy) < other.height * 0.45f)
                near += j == i ? 1 : 2;
        }
        if (near != 1)
            continue;
        removed = i;
        p.game.MoveTo(px, py);
        p.App().Input().SetKeyDown(VK_RBUTTON, true);
        p.App().PostMessage(MouseMessage(WM_RBUTTONDOWN, px, py));
        p.game.Frames(1);
        p.App().Input().SetKeyDown(VK_RBUTTON, false);
        p.App().PostMessage(MouseMessage(WM_RBUTTONUP, px, py));
        p.game.Frames(1);
    }
    ASSERT_GE(removed, 0);
    edited.erase(edited.begin() + removed);
    EXPECT_EQ(g.cellCount, gridCells);

    // F2 writes the level file into the user folder: exactly the edited cells, in their order.
    p.game.Key(VK_F2);
    std::string text = p.game.user.Read("Levels/level_1.xml");
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(text.c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* map = doc.FirstChildElement("LevelMap");
    ASSERT_NE(map, nullptr);
    std::vector<std::string> written, wanted;
    for (const tinyxml2::XMLElement* e = map->FirstChildElement("ShapeCell"); e;
         e = e->NextSiblingElement("ShapeCell"))
        written.push_back(std::string(e->Attribute("xc")) + " " + e->Attribute("yc"));
    for (auto [x, y] : edited) {
        char line[64];
        std::snprintf(line, sizeof line, "%f %f", x, y);
        wanted.emplace_back(line);
    }
    EXPECT_EQ(written, wanted);

    // F12 again: play goes on with the clock where it stood and the lines moving.
    p.game.Key(VK_F12);
    EXPECT_EQ(g.editorMode, 0);
    EXPECT_NEAR(g.timeLeft, held, 0.05f);
    const ShapeItem& last = g.cells[static_cast<size_t>(g.cellCount - 1)];  // the added cell
    EXPECT_EQ(last.x, 0.15f);
    float lastY = last.y;
    p.game.Frames(30);
    EXPECT_NE(last.y, lastY);
    EXPECT_LT(g.timeLeft, held - 0.4f);

    // The keypad steps through the levels only while the editor is on; level 1 is read back from the
    // written file by the loading rule: its parameters and the generated grid, not the listed cells.
    p.game.Key(VK_ADD);
    EXPECT_EQ(g.levelNumber, 1);
    p.game.Key(VK_F12);
    p.game.Key(VK_ADD);
    EXPECT_EQ(g.levelNumber, 2);
    p.game.Key(VK_SUBTRACT);
    EXPECT_EQ(g.levelNumber, 1);
    EXPECT_EQ(g.cellCount, gridCells);
    p.game.Key(VK_F12);
    EXPECT_EQ(g.editorMode, 0);
}

}  // namespace tamblor
