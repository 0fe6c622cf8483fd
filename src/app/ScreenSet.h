#pragma once
#include <array>
#include <cstddef>
#include <utility>

#include "screens/Screen.h"

namespace tamblor {

// The seventeen screens of the game, in the order in which they are loaded.
enum class ScreenId : int {
    Main = 0,
    GameOver,
    HighScores,
    InGame,
    Pause,
    Options,
    Map,
    InfoClassic,
    InfoRelax,
    InfoTransformer,
    ClearConfirmation,
    ContinueConfirmation,
    GameComplete,
    Instructions1,
    Instructions2,
    Instructions3,
    Intro,
};

// Every menu and overlay of the game, loaded once at start and kept for the whole run.
class ScreenSet {
public:
    static constexpr size_t kCount = 17;
    static constexpr std::array<const char*, kCount> kFiles = {
        "menu-main.xml",
        "menu-game-over.xml",
        "menu-highscores.xml",
        "menu-ingame.xml",
        "menu-pause.xml",
        "menu-options.xml",
        "menu-map.xml",
        "menu-info-classic.xml",
        "menu-info-relax.xml",
        "menu-info-transformer.xml",
        "menu-clear-confirmation.xml",
        "menu-continue-confirmation.xml",
        "menu-game-complete.xml",
        "menu-instructions.xml",
        "menu-instructions2.xml",
        "menu-instructions3.xml",
        "menu-intro.xml",
    };

    explicit ScreenSet(ScreenEnvironment& env) : screens_(Make(env, std::make_index_sequence<kCount>{})) {}

    // Loads every screen in table order; a file that fails is logged and leaves its screen empty.
    // Returns the number of screens loaded.
    int LoadAll();
    // Whether a screen's file was read by the last LoadAll.
    bool Loaded(ScreenId id) const { return loaded_[static_cast<size_t>(id)]; }

    Screen& Get(ScreenId id) { return screens_[static_cast<size_t>(id)]; }
    const Screen& Get(ScreenId id) const { return screens_[static_cast<size_t>(id)]; }

    // The screen that receives the mouse in an application state, or null for states without one
    // (LevelWon, the unused state 10, Starting).
    Screen* ForState(int state);

private:
    template <size_t... I>
    static std::array<Screen, kCount> Make(ScreenEnvironment& env, std::index_sequence<I...>) {
        return {{((void)I, Screen(env))...}};
    }

    std::array<Screen, kCount> screens_;
    std::array<bool, kCount> loaded_{};
};

}  // namespace tamblor
