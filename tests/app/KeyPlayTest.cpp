// The game played without a mouse: the keyboard's keys, or a game pad's buttons as the window layer
// reports them, through the headless application: the menus' focus, a whole level played with the
// level cursor, the name entry, and back to the main menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ApplicationTestSupport.h"
#include "app/autoplay/PlayBrain.h"
#include "screens/FocusOrder.h"

namespace tamblor {

namespace {

// The keys one kind of player presses.
struct Hand {
    const char* name;
    int up, down, left, right, activate, discard, transform, pause;
};
constexpr Hand kKeyboard = {"keyboard", VK_UP,    VK_DOWN, VK_LEFT,  VK_RIGHT,
                            VK_RETURN,  VK_SPACE, VK_TAB,  VK_ESCAPE};
constexpr Hand kGamepad = {"game pad",
                           VK_GAMEPAD_DPAD_UP,
                           VK_GAMEPAD_LEFT_THUMBSTICK_DOWN,
                           VK_GAMEPAD_DPAD_LEFT,
                           VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT,
                           VK_GAMEPAD_A,
                           VK_GAMEPAD_Y,
                           VK_GAMEPAD_X,
                           VK_GAMEPAD_MENU};

std::string WidgetName(const Screen& screen, const FocusItem& item) {
    return item.kind == FocusItem::Button ? screen.buttons[static_cast<size_t>(item.index)].name
                                          : screen.sliders[static_cast<size_t>(item.index)].name;
}

class KeyPlayer {
public:
    KeyPlayer(uint32_t seed, const Hand& hand) : game(seed), hand(hand) {}

    Application& App() { return *game.app; }
    Game& Level() { return game.app->GameState(); }

    void Press(int key) { game.Key(key); }

    // The name of the focused widget of the current screen ("" for none).
    std::string Focused() {
        Screen* screen = App().Screens().ForState(App().State());
        if (!screen)
            return "";
        std::vector<FocusItem> items = FocusOrder(*screen);
        int index = App().Keys().FocusIndex();
        if (index < 0 || index >= static_cast<int>(items.size()))
            return "";
        return WidgetName(*screen, items[static_cast<size_t>(index)]);
    }

    // Moves the focus down the screen to a widget and presses it.
    void Choose(const std::string& name) {
        for (int i = 0; i < Screen::kMaxButtons && Focused() != name; ++i) Press(hand.down);
        ASSERT_EQ(Focused(), name) << hand.name;
        Press(hand.activate);
        game.Frames(1);
    }

    // The arrow that starts the shortest way of the level cursor to a panel shape or a hole, as the
    // cursor's own steps go on the level as it stands; -1 when there is none within a few steps.
    int ArrowToward(LevelCursor::Kind kind, int index) {
        struct Node {
            LevelCursor cursor;
            int firstKey;
        };
        auto centre = [&](const LevelCursor& c, float& x, float& y) {
            const int i = c.TargetIndex();
            if (c.TargetKind() == LevelCursor::Panel && i >= 0 && i < Level().panelCount) {
                x = Level().panel[static_cast<size_t>(i)].x;
                y = Level().panel[static_cast<size_t>(i)].y;
                return true;
            }
            if (c.TargetKind() == LevelCursor::Hole && i >= 0 && i < Level().cellCount) {
                x = Level().cells[static_cast<size_t>(i)].x;
                y = Level().cells[static_cast<size_t>(i)].y;
                return true;
            }
            return false;
        };
        const std::pair<LevelCursor::Direction, int> arrows[] = {{LevelCursor::Left, hand.left},
                                                                 {LevelCursor::Right, hand.right},
                                                                 {LevelCursor::Up, hand.up},
                                                                 {LevelCursor::Down, hand.down}};
        std::vector<Node> frontier = {{App().Keys().Cursor(), -1}};
        std::vector<std::pair<int, int>> seen = {
            {frontier[0].cursor.TargetKind(), frontier[0].cursor.TargetIndex()}};
        for (int depth = 0; depth < 16 && !frontier.empty(); ++depth) {
            std::vector<Node> next;
            for (const Node& node : frontier) {
                float x = 0.0f, y = 0.0f;
                if (!centre(node.cursor, x, y))
                    continue;
                for (auto [direction, key] : arrows) {
                    LevelCursor step = node.cursor;
                    step.Move(Level(), direction, x, y);
                    std::pair<int, int> place = {step.TargetKind(), step.TargetIndex()};
                    const int first = node.firstKey < 0 ? key : node.firstKey;
                    if (place == std::pair<int, int>{kind, index})
                        return first;
                    if (std::find(seen.begin(), seen.end(), place) != seen.end())
                        continue;
                    seen.push_back(place);
                    next.push_back({step, first});
                }
            }
            frontier = std::move(next);
        }
        return -1;
    }

    // Steps the level cursor to a panel shape or a hole with the arrows.
    bool CursorTo(LevelCursor::Kind kind, int index) {
        for (int step = 0; step < 20; ++step) {
            const LevelCursor& cursor = App().Keys().Cursor();
            if (cursor.TargetKind() == kind && cursor.TargetIndex() == index)
                return true;
            if (App().State() != Playing)
                break;
            if (cursor.TargetKind() == LevelCursor::None) {
                Press(hand.down);  // the first arrow puts the cursor on the nearest target
                continue;
            }
            const int key = ArrowToward(kind, index);
            if (key < 0)
                break;
            Press(key);
        }
        return false;
    }

    // Plays with the keys alone, the brain choosing the moves, until the condition holds.
    template <typename Condition>
    bool PlayUntil(Condition condition, int frames) {
        const int end = App().FrameCount() + frames;
        while (App().FrameCount() < end) {
            if (condition())
                return true;
            if (App().State() != Playing) {
                game.Frames(1);
                continue;
            }
            PlayChoice choice = ChooseMove(Level(), ReachLimits{});
            if (choice.kind == PlayChoice::Wait) {
                game.Frames(1);
            } else if (choice.kind == PlayChoice::Discard) {
                Press(hand.discard);
                ++discards;
            } else if (choice.panelIndex >= 0) {
                if (!CursorTo(LevelCursor::Panel, choice.panelIndex)) {
                    game.Frames(1);
                    continue;
                }
                Press(hand.activate);
                game.Frames(1);
                for (int i = 0; i < choice.transforms && Level().held.present; ++i) {
                    Press(hand.transform);
                    ++transforms;
                }
            } else if (CursorTo(LevelCursor::Hole, choice.cellIndex)) {
                int score = Level().score;
                Press(hand.activate);
                game.Frames(1);
                placements += Level().score > score ? 1 : 0;
            } else {
                game.Frames(1);
            }
        }
        return condition();
    }

    test::HeadlessGame game;
    Hand hand;
    int placements = 0;
    int discards = 0;
    int transforms = 0;
};

// From the main menu into a new Classic game, through a whole level with the cursor, then paused,
// saved and quit, the score's name entered, and back to the main menu: keys (or pad buttons) only.
void PlayAWholeRun(const Hand& hand, uint32_t seed) {
    KeyPlayer p(seed, hand);
    ASSERT_TRUE(p.game.Start());
    p.game.Frames(40);
    EXPECT_FALSE(p.App().Input().KeysSteerPointer());

    p.Choose("btnClassicGame");
    ASSERT_EQ(p.App().State(), StageMap);
    ASSERT_TRUE(p.game.FramesUntil([&] { return p.Level().levelPhase == 7; }, 120));
    p.game.Frames(40);
    EXPECT_EQ(p.Focused(), "btnBack");  // a new screen takes the focus on its first widget
    p.Choose("btnStart");
    ASSERT_EQ(p.App().State(), Playing);

    ASSERT_TRUE(
        p.PlayUntil([&] { return p.Level().levelNumber == 2 && p.App().State() == Playing; }, 60 * 300))
        << hand.name << ": " << p.placements << " placements";
    EXPECT_GT(p.placements, 0);
    EXPECT_GT(p.Level().score, 0);

    p.Press(hand.pause);
    ASSERT_EQ(p.App().State(), Paused);
    EXPECT_EQ(p.Focused(), "btnResume");
    p.Choose("btnEnd");
    ASSERT_EQ(p.App().State(), HighScoresState);
    ASSERT_EQ(p.App().Scores().Entering(), 1);
    if (hand.activate == VK_RETURN) {
        p.game.Type("Kay");
    } else {
        // Up starts the name at A and turns it on; right adds a letter; down turns back round.
        for (int key : {hand.up, hand.up, hand.up, hand.right, hand.down, hand.down, hand.right})
            p.Press(key);
    }
    p.Press(hand.activate);
    EXPECT_EQ(p.App().Scores().Entering(), 0);
    EXPECT_EQ(p.App().Scores().Entry(0, 0).Name(), hand.activate == VK_RETURN ? "Kay" : "C9A");
    p.Choose("btnClose");
    EXPECT_EQ(p.App().State(), MainMenu);
}

}  // namespace

TEST(KeyPlay, FocusOrderFollowsTheScreenLayout) {
    test::HeadlessGame game;
    ASSERT_TRUE(game.Start());
    struct Case {
        ScreenId screen;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {ScreenId::Main,
         {"btnClassicGame", "btnRelaxGame", "btnTransformerGame", "btnInstructions", "btnHighScores",
          "btnOptions", "btnExit"}},
        {ScreenId::Options, {"SfxVolume", "MusicVolume", "btnFullScreen", "btnLanguage", "btnClose"}},
        // Back is in the top left corner; stages 4 and 6, 5 and 7 stand in one row each.
        {ScreenId::Map,
         {"btnBack", "btnStage4", "btnStage6", "btnStage3", "btnStage5", "btnStage7", "btnStage2",
          "btnStage1", "btnStart"}},
        {ScreenId::HighScores, {"btnPrev", "btnNext", "btnClear", "btnClose"}},
        {ScreenId::Pause, {"btnResume", "btnOptions", "btnEnd"}},
    };
    for (const Case& c : cases) {
        const Screen& screen = game.app->Screens().Get(c.screen);
        std::vector<std::string> names;
        for (const FocusItem& item : FocusOrder(screen)) names.push_back(WidgetName(screen, item));
        EXPECT_EQ(names, c.order) << static_cast<int>(c.screen);
    }
}

TEST(KeyPlay, MenuFocusSlidersCheckBoxAndTheMouseTakingOver) {
    KeyPlayer p(5, kKeyboard);
    ASSERT_TRUE(p.game.Start());
    p.game.Frames(40);
    float x = 0, y = 0, w = 0, h = 0;
    EXPECT_FALSE(p.App().Keys().FocusFrame(x, y, w, h));  // nothing shows before a key is used

    // The first key only shows the focus; the arrows go round the screen.
    p.Press(VK_DOWN);
    EXPECT_EQ(p.Focused(), "btnClassicGame");
    EXPECT_TRUE(p.App().Keys().FocusFrame(x, y, w, h));
    EXPECT_TRUE(p.App().Screens().Get(ScreenId::Main).IsOver("btnClassicGame"));  // the pointer is there
    p.Press(VK_UP);
    EXPECT_EQ(p.Focused(), "btnExit");
    p.Choose("btnOptions");
    ASSERT_EQ(p.App().State(), Options);
    EXPECT_EQ(p.Focused(), "SfxVolume");

    // Left and right move a focused slider, which plays and stores its value as a click would.
    Screen& options = p.App().Screens().Get(ScreenId::Options);
    const float sfx = options.GetSliderValue("SfxVolume");
    p.Press(VK_RIGHT);
    EXPECT_NEAR(options.GetSliderValue("SfxVolume"), std::min(1.0f, sfx + KeyPlay::kSliderStep), 1e-5f);
    for (int i = 0; i < 12; ++i) p.Press(VK_LEFT);
    EXPECT_EQ(options.GetSliderValue("SfxVolume"), 0.0f);  // the end of the bar is reached exactly
    EXPECT_EQ(p.App().Music().SfxVolume(), 0.0f);
    EXPECT_NE(p.game.user.Read("config.ini").find("SfxVolume=0"), std::string::npos);

    // Enter on the check box toggles it through its click.
    const int full = options.IsChecked("btnFullScreen");
    p.Choose("btnFullScreen");
    EXPECT_NE(options.IsChecked("btnFullScreen"), full);
    EXPECT_EQ(p.App().State(), Options);

    // The mouse moving takes the pointer: the focus frame goes; the next key brings it back where it was.
    p.game.MoveTo(10, 10);
    EXPECT_FALSE(p.App().Keys().FocusFrame(x, y, w, h));
    EXPECT_FALSE(options.IsOver("btnFullScreen"));
    p.Press(VK_RETURN);  // shows the focus, presses nothing
    EXPECT_EQ(options.IsChecked("btnFullScreen"), 1 - full);
    EXPECT_EQ(p.Focused(), "btnFullScreen");
    EXPECT_TRUE(p.App().Keys().FocusFrame(x, y, w, h));
    p.Choose("btnClose");
    EXPECT_EQ(p.App().State(), MainMenu);

    // The pad's B is Escape, the screen's way back, and acts once.
    p.Choose("btnOptions");
    ASSERT_EQ(p.App().State(), Options);
    p.Press(VK_GAMEPAD_B);
    EXPECT_EQ(p.App().State(), MainMenu);
}

TEST(KeyPlay, AWholeRunWithTheKeyboard) {
    PlayAWholeRun(kKeyboard, 31);
}

TEST(KeyPlay, AWholeRunWithAGamePad) {
    PlayAWholeRun(kGamepad, 32);
}

TEST(KeyPlay, PadTransformsTheHeldShapeAndTheCursorDropIsAMouseDrop) {
    KeyPlayer p(33, kGamepad);
    ASSERT_TRUE(p.game.Start());
    p.game.Frames(40);
    p.Choose("btnTransformerGame");
    ASSERT_TRUE(p.game.FramesUntil([&] { return p.Level().levelPhase == 7; }, 120));
    p.game.Frames(40);
    p.Choose("btnStart");
    ASSERT_TRUE(
        p.game.FramesUntil([&] { return p.Level().tutorialActive == 1 && p.Level().levelPhase == 3; }, 900));

    // The lesson wants its own panel shape: the cursor takes it, X turns it.
    const int slot = p.Level().tutorialPanelIndex;
    ASSERT_TRUE(p.CursorTo(LevelCursor::Panel, slot));
    p.Press(VK_GAMEPAD_A);
    p.game.Frames(1);
    ASSERT_TRUE(p.Level().held.present);
    const int count = p.Level().ShapeCountOf(p.Level().held.classIndex);
    ASSERT_GT(count, 1);
    const int before = p.Level().held.shapeIndex;
    p.Press(VK_GAMEPAD_X);
    p.game.Frames(1);
    EXPECT_EQ(p.Level().held.shapeIndex, (before + 1) % count);
    // The held shape hangs at the cursor, as at the mouse pointer.
    EXPECT_NEAR(p.Level().held.x, static_cast<float>(p.App().Input().CursorX()) / 800.0f, 0.01f);

    // A drop on a hole that does not take the shape is refused, exactly as a mouse drop there.
    int wrong = -1;
    for (int i = 0; i < p.Level().cellCount && wrong < 0; ++i) {
        const ShapeItem& cell = p.Level().cells[static_cast<size_t>(i)];
        if (cell.present && !cell.filled && cell.y > 0.2f && cell.y < 0.8f &&
            i != p.Level().tutorialCellIndex)
            wrong = i;
    }
    ASSERT_GE(wrong, 0);
    ASSERT_TRUE(p.CursorTo(LevelCursor::Hole, wrong));
    p.Press(VK_GAMEPAD_A);
    p.game.Frames(1);
    EXPECT_TRUE(p.Level().held.present);
    EXPECT_FALSE(p.Level().cells[static_cast<size_t>(wrong)].filled);

    // Start pauses; the focused Resume goes on.
    p.Press(VK_GAMEPAD_MENU);
    EXPECT_EQ(p.App().State(), Paused);
    p.Choose("btnResume");
    EXPECT_EQ(p.App().State(), Playing);
    EXPECT_TRUE(p.Level().held.present);

    // Start on the pause screen is Escape there: it resumes, once (not straight back to the pause).
    p.Press(VK_GAMEPAD_MENU);
    ASSERT_EQ(p.App().State(), Paused);
    p.Press(VK_GAMEPAD_MENU);
    EXPECT_EQ(p.App().State(), Playing);
}

}  // namespace tamblor
