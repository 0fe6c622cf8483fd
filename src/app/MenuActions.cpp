#include "app/MenuActions.h"

#include <string>

#include "core/AppState.h"
#include "app/SavedGame.h"
#include "app/ScreenSet.h"
#include "app/ShellHost.h"
#include "app/StageMap.h"
#include "game/Game.h"
#include "platform/Message.h"
#include "screens/EffectList.h"
#include "screens/HighScores.h"

namespace tamblor {

void MenuActions::HandleMessage(const Message& message) {
    const int state = states_.State();
    Screen* screen = screens_.ForState(state);
    if (!screen)
        return;
    if (state == HighScoresState)
        highScores_.MsgProc(message);
    // The action string belongs to the screen, which outlives the call.
    const std::string& action = screen->MsgProc(message);
    if (!action.empty())
        Perform(action);
}

void MenuActions::RestoreMusicVolume() {
    host_.SetMusicVolume(screens_.Get(ScreenId::Options).GetSliderValue("MusicVolume"));
}

void MenuActions::ScoreCheck() {
    highScores_.SetTable(game_.gameMode);
    states_.SetState(highScores_.AddScore(game_.score) ? HighScoresState : MainMenu);
}

void MenuActions::StartMode(int mode) {
    game_.gameMode = mode;
    if (savedGame_.IsGameSaved() && savedGame_.LoadSavedGame(1)) {
        states_.SetState(ContinueConfirm);
    } else {
        game_.NewGame();
    }
}

void MenuActions::MainMenuAction(std::string_view action) {
    if (action == "procClassicGame") {
        StartMode(ModeClassic);
    } else if (action == "procRelaxGame") {
        StartMode(ModeRelax);
    } else if (action == "procTransformerGame") {
        StartMode(ModeTransformer);
    } else if (action == "procLevelSimple") {
        if (++game_.startLevelClassic > kMaxStartLevel)
            game_.startLevelClassic = 1;
    } else if (action == "procLevelAdvanced") {
        if (++game_.startLevelTransformer > kMaxStartLevel)
            game_.startLevelTransformer = 1;
    } else if (action == "procOptions") {
        states_.SetState(Options);
    } else if (action == "procInstructions") {
        states_.SetState(Instructions1);
    } else if (action == "procHighScores") {
        states_.SetState(HighScoresState);
    } else if (action == "procExit") {
        host_.CloseWindow();
    } else if (action == "procLogo") {
        host_.OpenSiteLink();
    }
}

void MenuActions::OptionsAction(std::string_view action) {
    Screen& options = screens_.Get(ScreenId::Options);
    if (action == "procSoundMode") {
        host_.SetSfxVolume(options.GetSliderValue("SfxVolume"));
    } else if (action == "procMusicMode") {
        host_.SetMusicVolume(options.GetSliderValue("MusicVolume"));
    } else if (action == "procLanguage") {
        host_.ChooseNextLanguage();
    } else if (action == "procFullScreenMode") {
        ApplyFullScreenOption();
    } else if (action == "procClose") {
        states_.SetState(states_.PreviousState());
    }
}

void MenuActions::ApplyFullScreenOption() {
    Screen& options = screens_.Get(ScreenId::Options);
    const bool wanted = options.IsChecked("btnFullScreen") != 0;
    const bool full = host_.IsFullScreen();
    if (wanted != full && !host_.ToggleFullscreen()) {
        // The switch failed: the box shows, and the next start uses, the mode actually running.
        options.SetChecked("btnFullScreen", full ? 1 : 0);
    }
}

void MenuActions::ToggleFullScreen() {
    screens_.Get(ScreenId::Options).SetChecked("btnFullScreen", host_.IsFullScreen() ? 0 : 1);
    ApplyFullScreenOption();
}

std::string_view MenuActions::EscapeAction(int state) {
    switch (state) {
        case Playing:
            return "procMenu";
        case Paused:
            return "procResume";
        case StageMap:
            return "procBack";
        case Instructions1:
        case Instructions2:
        case Instructions3:
        case Options:
        case HighScoresState:
            return "procClose";
        case ClearScoresConfirm:
            return "procNo";
        case ContinueConfirm:
            return "procCancel";
        case GameOver:
            return "procExit";
        case GameComplete:
            return "procMenu";
        default:
            return {};
    }
}

void MenuActions::HighScoresAction(std::string_view action) {
    if (action == "procClear") {
        highScores_.EndEntry();
        states_.SetState(ClearScoresConfirm);
    } else if (action == "procClose") {
        highScores_.EndEntry();
        states_.SetState(MainMenu);
    } else if (action == "procPrevious") {
        if (game_.gameMode > 0)
            --game_.gameMode;
        highScores_.EndEntry();
    } else if (action == "procNext") {
        if (game_.gameMode < ModeRelax)
            ++game_.gameMode;
        highScores_.EndEntry();
    }
}

void MenuActions::Perform(std::string_view action) {
    if (action.empty())
        return;
    switch (states_.State()) {
        case MainMenu:
            MainMenuAction(action);
            break;
        case StageMap:
            if (action == "procStart") {
                game_.StartLevel();
            } else if (action == "procBack") {
                // The game is kept: choosing its mode again offers to continue it.
                savedGame_.SaveLevelStart();
                stageMap_.Leave();
            } else if (action.substr(0, 9) == "procStage") {
                stageMap_.ChooseStage(action);
            }
            break;
        case Instructions1:
            if (action == "procNext")
                states_.SetState(Instructions2);
            else if (action == "procClose")
                states_.SetState(MainMenu);
            break;
        case Instructions2:
            if (action == "procPrevious")
                states_.SetState(Instructions1);
            else if (action == "procNext")
                states_.SetState(Instructions3);
            else if (action == "procClose")
                states_.SetState(MainMenu);
            break;
        case Instructions3:
            if (action == "procPrevious")
                states_.SetState(Instructions2);
            else if (action == "procClose")
                states_.SetState(MainMenu);
            break;
        case Playing:
            if (action == "procMenu")
                states_.SetState(Paused);
            else if (action == "procDiscard")
                game_.Discard();
            break;
        case Paused:
            if (action == "procOptions") {
                states_.SetState(Options);
            } else if (action == "procResume") {
                states_.SetState(Playing);
            } else if (action == "procEnd") {
                savedGame_.SaveGame();
                ScoreCheck();
            }
            break;
        case HighScoresState:
            HighScoresAction(action);
            break;
        case Options:
            OptionsAction(action);
            break;
        case GameOver:
            if (action == "procContinue") {
                RestoreMusicVolume();
                game_.StartLevel();
            } else if (action == "procExit") {
                RestoreMusicVolume();
                effects_.Clear();
                ScoreCheck();
            }
            break;
        case GameComplete:
            if (action == "procMenu") {
                RestoreMusicVolume();
                effects_.Clear();
                ScoreCheck();
            }
            break;
        case ClearScoresConfirm:
            if (action == "procYes") {
                highScores_.Clear();
                states_.SetState(HighScoresState);
            } else if (action == "procNo") {
                states_.SetState(HighScoresState);
            }
            break;
        case ContinueConfirm:
            if (action == "procLoad") {
                // A record damaged since the question was asked: a new game rather than a dead button.
                if (!savedGame_.LoadSavedGame(0))
                    game_.NewGame();
            } else if (action == "procNew") {
                game_.NewGame();
            } else if (action == "procCancel") {
                states_.SetState(MainMenu);
            }
            break;
        default:
            break;
    }
}

}  // namespace tamblor
