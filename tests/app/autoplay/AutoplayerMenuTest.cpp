// The bot in the menus: it finds the button of the action it wants by position and clicks it as a
// person would (glide, button down, button up, a pause for the next screen).
#include <gtest/gtest.h>

#include "core/AppState.h"
#include "app/autoplay/Autoplayer.h"
#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

// Runs the bot on a still screen until it has pressed and released the left button; returns the
// pointer position at the press, or (-1, -1).
std::pair<int, int> ClickOf(Autoplayer& bot, AutoplayView view, int frames = 200) {
    InputState input;
    input.MoveCursor(view.cursorX, view.cursorY);
    std::pair<int, int> pressed(-1, -1);
    for (int f = 0; f < frames; ++f) {
        std::vector<InputEvent> events;
        view.cursorX = input.CursorX();
        view.cursorY = input.CursorY();
        bot.Frame(view, events);
        for (const InputEvent& e : events) {
            ApplyInputEvent(input, e);
            if (e.kind == InputEvent::LeftDown)
                pressed = {input.CursorX(), input.CursorY()};
            if (e.kind == InputEvent::LeftUp && pressed.first >= 0)
                return pressed;
        }
    }
    return {-1, -1};
}

TEST(AutoplayerMenus, ClicksTheButtonOfTheWantedActionOnEachScreen) {
    AutoplayView menu;
    menu.appState = MainMenu;
    menu.cursorX = 700;
    menu.cursorY = 50;
    menu.buttons = {{"btnClassicGame", "procClassicGame", 0.25f, 0.33f, true},
                    {"btnTransformerGame", "procTransformerGame", 0.25f, 0.55f, true},
                    {"btnExit", "procExit", 0.25f, 0.9f, true}};
    Autoplayer transformer("procTransformerGame");
    EXPECT_EQ(ClickOf(transformer, menu), std::make_pair(200, 330));
    Autoplayer classic("procClassicGame");
    EXPECT_EQ(ClickOf(classic, menu), std::make_pair(200, 198));

    // The stage map: "Start" once the map is shown (phase 7), not while it still fades in.
    test::GameWorld world;
    AutoplayView map;
    map.appState = StageMap;
    map.game = &world.game;
    map.buttons = {{"btnStage1", "procStage1", 0.3f, 0.3f, true},
                   {"btnStart", "procStart", 0.8f, 0.85f, true}};
    world.game.levelPhase = 6;
    Autoplayer bot;
    EXPECT_EQ(ClickOf(bot, map, 100), std::make_pair(-1, -1));
    world.game.levelPhase = 7;
    EXPECT_EQ(ClickOf(bot, map), std::make_pair(640, 510));

    // A hidden button is never clicked; a screen without the wanted action leaves the mouse alone.
    map.buttons[1].visible = false;
    Autoplayer other;
    EXPECT_EQ(ClickOf(other, map, 100), std::make_pair(-1, -1));
    AutoplayView options;
    options.appState = Options;
    options.buttons = {{"btnBack", "procBack", 0.5f, 0.5f, true}};
    EXPECT_EQ(ClickOf(other, options, 100), std::make_pair(-1, -1));

    // Game over: try again; the confirmation of a saved game: a new game.
    AutoplayView over;
    over.appState = AppState::GameOver;
    over.buttons = {{"btnExit", "procExit", 0.3f, 0.7f, true},
                    {"btnContinue", "procContinue", 0.7f, 0.7f, true}};
    EXPECT_EQ(ClickOf(other, over), std::make_pair(560, 420));
    AutoplayView confirm;
    confirm.appState = ContinueConfirm;
    confirm.buttons = {{"btnLoad", "procLoad", 0.3f, 0.6f, true}, {"btnNew", "procNew", 0.5f, 0.6f, true}};
    EXPECT_EQ(ClickOf(other, confirm), std::make_pair(400, 360));
}

}  // namespace
}  // namespace tamblor
