// saved.ini: the input is the file. For each game mode the saved game is checked, taken over and
// restarted as it was, played for a while, saved again and read back: what the game writes it reads
// again with the same level and score, and the other modes' saved games are left as they were.
#include <cmath>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "app/SavedGame.h"
#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/IniText.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace {

using namespace tamblor;

class NoTextures final : public TextureFinder {
public:
    Texture* FindTexture(std::string_view) override { return nullptr; }
};

struct Rig {
    FileSystem files{fuzz::Scratch().Path(), fuzz::GameFolder()};
    Log log{files};
    Settings settings{files, log};
    ManualClock clock;
    Language language{files, log, clock};
    fuzz::SilentDialogs dialogs;
    Random random;
    InputState input;
    CoreServices services{clock, random, input, files, log, settings, language, dialogs};
    AppStates states{input};
    MouseButtons mouse;
    fuzz::SilentSoundEvents sound;
    NoTextures textures;
    EffectList effects{clock, random, sound};
    Game game{services, states, mouse, effects, sound, textures};
    SavedGame saved{game, settings, log, clock, textures};

    Rig() {
        log.timeOfDay = [] { return std::string("00:00:00"); };
        random.SRand15(7);
        game.hooks.clientSize = [] { return std::pair<int, int>(800, 600); };
        game.LoadShapeClasses("classes.xml");
    }
};

std::optional<std::string> Stored(const Settings& settings, int mode, const char* key) {
    std::string text;
    if (!settings.Files().ReadFile(SavedGame::kFile, text))
        return std::nullopt;
    return IniGet(text, SavedGame::SectionFor(mode), key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch().Empty();
    fuzz::Scratch().Write(SavedGame::kFile, fuzz::AsText(data, size));
    Rig rig;
    Game& game = rig.game;

    for (int mode : {ModeClassic, ModeTransformer, ModeRelax}) {
        game.gameMode = mode;
        rig.saved.IsGameSaved();
        game.levelNumber = 1;
        game.score = 0;
        if (!rig.saved.LoadSavedGame(1))
            continue;
        FUZZ_CHECK(game.levelNumber >= 1, "a saved game was taken over with no level");
        if (!rig.saved.LoadSavedGame(0))
            continue;
        for (int frame = 0; frame < 60; ++frame) {
            rig.clock.Advance(50);
            game.UpdateLevel(0.05f);
            FUZZ_CHECK(game.cellCount >= 0 && game.cellCount <= board::kMaxCells, "cell count");
            FUZZ_CHECK(game.panelCount >= 0 && game.panelCount <= board::kMaxPanelSlots, "panel count");
            FUZZ_CHECK(std::isfinite(game.timeLeft) && std::isfinite(game.now), "a clock is not finite");
        }
        if (rig.states.State() != Playing)
            continue;

        // Saving the restored game and reading it back gives the same level and score, and leaves
        // the other modes' saved games alone.
        std::optional<std::string> others[3];
        for (int m = 0; m < 3; ++m) others[m] = Stored(rig.settings, m, SavedGame::kDataKey);
        const int level = game.levelNumber;
        const int score = game.score;
        FUZZ_CHECK(rig.saved.SaveGame() == 1, "a restored game could not be saved");
        FUZZ_CHECK(rig.saved.IsGameSaved() == 1, "a saved game is not flagged as saved");
        game.levelNumber = 0;
        game.score = -1;
        FUZZ_CHECK(rig.saved.LoadSavedGame(1) == 1, "a game the program saved does not load");
        FUZZ_CHECK(game.levelNumber == level && game.score == score, "a saved game reads back differently");
        for (int m = 0; m < 3; ++m) {
            if (m != mode)
                FUZZ_CHECK(Stored(rig.settings, m, SavedGame::kDataKey) == others[m],
                           "saving one mode changed another mode's saved game");
        }
    }
    return 0;
}
