#pragma once
// The whole shell around a real Game: the project's screen files, classes and levels in the data
// folder, a manual clock, recorded sounds, a recording canvas for the menus and a recording device
// for the effects.
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/Language.h"
#include "core/Log.h"
#include "app/MainMenu.h"
#include "app/MenuActions.h"
#include "core/MouseButtons.h"
#include "app/Progression.h"
#include "core/Random.h"
#include "app/SavedGame.h"
#include "app/ScreenSet.h"
#include "core/Settings.h"
#include "app/Shell.h"
#include "app/ShellHost.h"
#include "app/StageMap.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "graphics/GraphicsHarness.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "screens/EffectList.h"
#include "screens/FakeScreenCanvas.h"
#include "screens/HighScores.h"
#include "sound/SoundEventPlayer.h"
#include "BuildPaths.h"

namespace tamblor::test {

class RecordingEvents : public SoundEventPlayer {
public:
    std::vector<std::string> played;
    void PlayEvent(std::string_view name) override { played.emplace_back(name); }
    int Count(const std::string& name) const {
        int n = 0;
        for (const auto& p : played) n += p == name ? 1 : 0;
        return n;
    }
};

class FakeHost : public ShellHost {
public:
    int closes = 0;
    int siteOpens = 0;
    bool fullScreen = false;
    bool toggleWorks = true;
    int toggles = 0;
    std::vector<float> musicVolumes;
    std::vector<float> sfxVolumes;
    int languageChoices = 0;
    void CloseWindow() override { ++closes; }
    void OpenSiteLink() override { ++siteOpens; }
    bool IsFullScreen() const override { return fullScreen; }
    bool ToggleFullscreen() override {
        ++toggles;
        if (toggleWorks)
            fullScreen = !fullScreen;
        return toggleWorks;
    }
    void SetMusicVolume(float v) override { musicVolumes.push_back(v); }
    void SetSfxVolume(float v) override { sfxVolumes.push_back(v); }
    void ChooseNextLanguage() override { ++languageChoices; }
};

// Textures from the graphics harness's table (null for pictures that do not exist).
class HarnessTextures : public TextureFinder {
public:
    explicit HarnessTextures(Graphics& graphics) : graphics_(graphics) {}
    Texture* FindTexture(std::string_view name) override { return graphics_.FindTexture(name); }

private:
    Graphics& graphics_;
};

inline std::string ProjectDataDir() {
    return (std::filesystem::path(TAMBLOR_TEST_FIXTURES).parent_path().parent_path() / "data").string();
}

struct ShellRig {
    TempDir dir;
    FileSystem files{dir / "user", ProjectDataDir()};
    Log log{files};
    Settings settings{files, log};
    Language language{files, log, clock};
    StderrDialogs dialogs;
    ManualClock clock;
    Random random;
    InputState input;
    CoreServices services{clock, random, input, files, log, settings, language, dialogs};
    AppStates states{input};
    MouseButtons mouse;
    RecordingEvents sound;
    GraphicsHarness gfx;
    HarnessTextures textures{gfx.graphics};
    EffectList effects{clock, random, sound};
    Game game{services, states, mouse, effects, sound, textures};
    FakeScreenCanvas canvas;
    RecordingSoundFiles soundFiles;
    ScreenEnvironment env{settings, log, input, canvas, soundFiles};
    ScreenSet screens{env};
    HighScores highScores{settings, sound, clock};
    FakeHost host;
    Shell shell{game,  states, screens,      highScores, effects, settings, log,
                clock, random, gfx.graphics, canvas,     sound,   textures, host};
    SavedGame& saved = shell.savedGame;
    MainMenuView& mainMenu = shell.mainMenu;
    StageMapView& stageMap = shell.stageMap;
    Progression& progression = shell.progression;
    MenuActions& actions = shell.actions;

    ShellRig() {
        dir.Write("user/.keep", "");
        random.SRand15(7);
        log.timeOfDay = [] { return std::string("12:00:00"); };
        game.hooks.clientSize = [] { return std::pair<int, int>(800, 600); };
        states.onPauseClock = [this] { game.PauseClock(); };
        states.onResumeClock = [this] { game.ResumeClock(); };
        screens.LoadAll();
        game.LoadShapeClasses("classes.xml");
        states.SetState(MainMenu);
    }

    std::string LogText() const { return dir.Read("user/app.log"); }
    std::string Config(const std::string& section, const std::string& key) const {
        return settings.ReadString("config.ini", section, key, "<none>");
    }
    // One frame of the map: the clock moves on, the map is drawn (its effects advance).
    void MapFrames(uint32_t ms, uint32_t step = 10) {
        for (uint32_t t = 0; t < ms; t += step) {
            clock.Advance(step);
            stageMap.DrawStageMap(static_cast<float>(step) * 0.001f);
        }
    }
};

}  // namespace tamblor::test
