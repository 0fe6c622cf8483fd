// Where every kind of window message goes in every application state, through the real application
// (headless): the screen of the state, the name entry, the level's key hook, the shell's own keys
// (frame rate, editor, full screen, Escape) or nowhere, and what each one changes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ApplicationTestSupport.h"
#include "app/MenuActions.h"

namespace tamblor {
namespace {

class Router {
public:
    explicit Router(bool developer = false) {
        game_.config.developer = developer;
        started = game_.Start();
        if (started) {
            // Level 2: no tutorial holding the panel and the clock.
            Level().startLevelClassic = 2;
            game_.Frames(2);
        }
    }

    Application& App() { return *game_.app; }
    Game& Level() { return game_.app->GameState(); }
    void Perform(const char* action) { App().Menus().actions.Perform(action); }
    // Messages are handed to the application at once, as the window's event loop does.
    void Send(const Message& message) { App().MsgProc(message); }
    void Key(int key) {
        Send(KeyMessage(WM_KEYDOWN, static_cast<uintptr_t>(key)));
        Send(KeyMessage(WM_KEYUP, static_cast<uintptr_t>(key)));
    }
    void Frames(int n) { game_.Frames(n); }
    bool UserHas(const std::string& name) { return game_.user.Has(name); }

    // Puts the application into a state the way a player gets there, from the main menu.
    void Enter(int state, bool entering = false) {
        if (Level().editorMode)
            Level().ToggleEditor();
        App().Scores().EndEntry();
        App().Input().ReleaseAll();
        Level().held.present = 0;
        App().SetState(MainMenu);
        switch (state) {
            case StageMap:
                Perform("procClassicGame");
                if (App().State() == ContinueConfirm)
                    Perform("procNew");
                break;
            case Playing:
            case Paused:
            case LevelWon:
            case GameOver:
            case GameComplete:
                Enter(StageMap);
                Perform("procStart");
                if (state == Paused)
                    Perform("procMenu");
                else if (state != Playing)
                    App().SetState(state);  // the level's own ends are the level tests' matter
                break;
            case Options:
                Perform("procOptions");
                break;
            case Instructions1:
            case Instructions2:
            case Instructions3:
                Perform("procInstructions");
                for (int page = Instructions1; page < state; ++page) Perform("procNext");
                break;
            case HighScoresState:
            case ClearScoresConfirm:
                Perform("procHighScores");
                if (entering)
                    App().Scores().AddScore(1);
                if (state == ClearScoresConfirm)
                    Perform("procClear");
                break;
            case ContinueConfirm:
                // A game put aside from the pause screen offers itself again.
                Enter(Paused);
                Perform("procEnd");
                Perform("procClassicGame");
                break;
            default:
                break;
        }
        ASSERT_EQ(App().State(), state);
    }

    // The centre of a button of the screen of the current state, in pixels; false when there is none.
    bool ButtonAt(const std::string& name, int& x, int& y) {
        Screen* screen = App().Screens().ForState(App().State());
        for (int i = 0; screen && i < screen->buttonCount; ++i) {
            const ScreenButton& b = screen->buttons[static_cast<size_t>(i)];
            if (b.name == name) {
                x = static_cast<int>(b.x * 800.0f);
                y = static_cast<int>(b.y * 600.0f);
                return true;
            }
        }
        return false;
    }
    const ScreenButton* Button(const std::string& name) {
        Screen* screen = App().Screens().ForState(App().State());
        for (int i = 0; screen && i < screen->buttonCount; ++i)
            if (screen->buttons[static_cast<size_t>(i)].name == name)
                return &screen->buttons[static_cast<size_t>(i)];
        return nullptr;
    }
    void MouseTo(int x, int y, uint32_t message) {
        App().Input().MoveCursor(x, y);
        if (message == WM_LBUTTONDOWN)
            App().Input().SetKeyDown(VK_LBUTTON, true);
        Send(MouseMessage(message, x, y));
        App().Input().SetKeyDown(VK_LBUTTON, false);
    }

    bool started = false;

private:
    test::HeadlessGame game_{4242};
};

// One state, as a player finds it: the button that leads back (or on, where there is no way back) and
// where that button and Escape lead.
struct StateRow {
    const char* name;
    int state;
    bool entering;       // a high-score name is being typed
    const char* button;  // "" for states without a screen
    int afterClick;
    int afterEscape;
};

TEST(MessageRouting, EveryMessageInEveryState) {
    Router r;
    ASSERT_TRUE(r.started);
    const std::vector<StateRow> rows = {
        {"main menu", MainMenu, false, "btnHighScores", HighScoresState, MainMenu},
        {"stage map", StageMap, false, "btnBack", MainMenu, MainMenu},
        {"instructions 1", Instructions1, false, "btnClose", MainMenu, MainMenu},
        {"instructions 2", Instructions2, false, "btnBack", Instructions1, MainMenu},
        {"instructions 3", Instructions3, false, "btnClose", MainMenu, MainMenu},
        {"level", Playing, false, "btnMenu", Paused, Paused},
        {"pause", Paused, false, "btnResume", Playing, Playing},
        {"high scores", HighScoresState, false, "btnClose", MainMenu, MainMenu},
        {"name entry", HighScoresState, true, "btnNext", HighScoresState, HighScoresState},
        {"options", Options, false, "btnClose", MainMenu, MainMenu},
        {"level won", LevelWon, false, "", LevelWon, LevelWon},
        {"game complete", GameComplete, false, "btnMenu", MainMenu, MainMenu},
        {"game over", GameOver, false, "btnExit", MainMenu, MainMenu},
        {"clear scores?", ClearScoresConfirm, false, "btnNo", HighScoresState, HighScoresState},
        {"continue?", ContinueConfirm, false, "btnCancel", MainMenu, MainMenu},
    };

    for (const StateRow& row : rows) {
        SCOPED_TRACE(row.name);
        Application& app = r.App();
        Game& level = r.Level();
        auto enter = [&] { r.Enter(row.state, row.entering); };
        const bool hasScreen = *row.button != '\0';
        // The mouse goes to the state's screen: a move lights the button up, a click performs it.
        enter();
        int bx = 400, by = 300;
        if (hasScreen) {
            ASSERT_TRUE(r.ButtonAt(row.button, bx, by)) << row.button;
        }
        r.MouseTo(bx, by, WM_MOUSEMOVE);
        if (hasScreen) {
            EXPECT_EQ(r.Button(row.button)->over, 1);
        }
        EXPECT_EQ(app.State(), row.state);
        r.MouseTo(bx, by, WM_LBUTTONDOWN);
        EXPECT_EQ(app.State(), row.afterClick) << "click";
        if (row.entering) {
            EXPECT_EQ(app.Scores().Entering(), 0);  // browsing ends the entry
        }
        // The right button is no screen's: it changes no state.
        enter();
        r.MouseTo(bx, by, WM_RBUTTONDOWN);
        EXPECT_EQ(app.State(), row.state) << "right click";

        // Escape: the way back; the name entry keeps it and drops the new score.
        enter();
        r.Key(VK_ESCAPE);
        EXPECT_EQ(app.State(), row.afterEscape) << "Escape";
        if (row.entering) {
            EXPECT_EQ(app.Scores().Entering(), 0);
            EXPECT_EQ(app.Scores().Entry(app.Scores().CurrentTable(), 0).score, 0u);
        }

        // F1 and F12 work everywhere, even while a name is typed, and type nothing.
        enter();
        const bool fps = app.ShowFps();
        r.Key(VK_F1);
        EXPECT_NE(app.ShowFps(), fps) << "F1";
        r.Key(VK_F12);
        EXPECT_EQ(level.editorMode, 1) << "F12";
        r.Key(VK_F12);
        EXPECT_EQ(level.editorMode, 0) << "F12 again";
        // F2 outside the editor writes nothing.
        r.Key(VK_F2);
        EXPECT_FALSE(r.UserHas("Levels"));
        EXPECT_EQ(app.State(), row.state);
        if (row.entering) {
            EXPECT_EQ(app.Scores().Entry(app.Scores().CurrentTable(), app.Scores().EntryRow()).Name(), "");
        }

        // Typed characters reach the name entry only; space reaches the level's key hook only.
        enter();
        level.held.present = 1;
        r.Send(KeyMessage(WM_CHAR, 'Q'));
        r.Key(VK_SPACE);
        EXPECT_EQ(app.State(), row.state);
        EXPECT_EQ(level.held.present, row.state == Playing ? 0 : 1) << "space";
        if (row.entering) {
            EXPECT_EQ(app.Scores().Entry(app.Scores().CurrentTable(), app.Scores().EntryRow()).Name(), "Q");
        }
        level.held.present = 0;

        // Losing the focus pauses a level in play and nothing else.
        enter();
        r.Send(KeyMessage(WM_KILLFOCUS, 0));
        EXPECT_EQ(app.State(), row.state == Playing ? Paused : row.state) << "focus loss";

        // F11 and Alt+Enter switch the window in every state; the options' check box follows.
        enter();
        Screen& options = app.Screens().Get(ScreenId::Options);
        r.Key(VK_F11);
        EXPECT_FALSE(app.IsWindowed()) << "F11";
        EXPECT_EQ(options.IsChecked("btnFullScreen"), 1);
        r.Send(KeyMessage(WM_SYSKEYDOWN, VK_RETURN));
        EXPECT_TRUE(app.IsWindowed()) << "Alt+Enter";
        EXPECT_EQ(options.IsChecked("btnFullScreen"), 0);
        EXPECT_EQ(app.State(), row.state);
    }

    // A held Escape repeats its key-down: only the first one acts, so the pause does not flicker.
    r.Enter(Playing);
    Message repeat = KeyMessage(WM_KEYDOWN, VK_ESCAPE);
    r.Send(repeat);
    repeat.lParam = intptr_t{1} << 30;
    r.Send(repeat);
    r.Send(repeat);
    EXPECT_EQ(r.App().State(), Paused);

    // Without --developer the developer keys held in a level do nothing.
    r.Enter(Playing);
    r.Frames(30);
    const float timeLeft = r.Level().timeLeft;
    for (int key : {VK_F7, VK_F8, VK_F9, VK_F11}) r.App().Input().SetKeyDown(key, true);
    r.Frames(2);
    EXPECT_EQ(r.App().State(), Playing);
    EXPECT_GT(r.Level().timeLeft, timeLeft - 1.0f);
    EXPECT_EQ(r.Level().filledCount, 0);
}

TEST(MessageRouting, DeveloperKeysOnlyWithTheDeveloperSwitch) {
    Router r(true);
    ASSERT_TRUE(r.started);
    struct Row {
        int key;
        int after;
    };
    // F7 wins the level as a bonus level, F8 empties the clock, F9 ends the game, F11 fills the board.
    for (Row row :
         {Row{VK_F7, LevelWon}, Row{VK_F8, GameOver}, Row{VK_F9, GameComplete}, Row{VK_F11, LevelWon}}) {
        SCOPED_TRACE(row.key);
        r.Enter(Playing);
        r.Frames(30);
        r.App().Input().SetKeyDown(row.key, true);
        r.Send(KeyMessage(WM_KEYDOWN, static_cast<uintptr_t>(row.key)));
        r.Frames(1);
        r.App().Input().SetKeyDown(row.key, false);
        EXPECT_EQ(r.App().State(), row.after);
        // F11 is a developer key here, not the window switch; Alt+Enter still is.
        EXPECT_TRUE(r.App().IsWindowed());
    }
    r.Send(KeyMessage(WM_SYSKEYDOWN, VK_RETURN));
    EXPECT_FALSE(r.App().IsWindowed());
}

}  // namespace
}  // namespace tamblor
