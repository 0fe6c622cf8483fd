#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/AppState.h"
#include "core/CoreServices.h"
#include "app/GraphicsTextureFinder.h"
#include "app/KeyPlay.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "app/ScreenSet.h"
#include "app/Shell.h"
#include "app/ShellHost.h"
#include "core/Settings.h"
#include "app/autoplay/InputEvent.h"
#include "game/Game.h"
#include "graphics/GameScene.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "platform/audio/AudioDevice.h"
#include "platform/display/DisplayApplication.h"
#include "platform/display/SdlDialogs.h"
#include "platform/gl/SdlImageDecoder.h"
#include "screens/EffectList.h"
#include "screens/GraphicsScreenCanvas.h"
#include "screens/HighScores.h"
#include "screens/MusicSoundFiles.h"
#include "sound/MusicManager.h"

namespace tamblor {

class GlRenderDevice;
class TextureFont;

// How a run is set up: the folders, and what the command line changed.
struct ApplicationConfig {
    std::string userDir;  // the current directory of the run; receives everything written
    std::string dataDir;  // read when a file is not in the user folder
    bool headless = false;
    std::optional<bool> fullScreen;  // overrides the options screen's check box
    std::optional<uint32_t> seed;    // a fixed random seed
    int maxFrames = 0;               // stop after this many frames (0: no limit)
    int framesPerPicture = 1;        // headless: draw only every n-th frame (a faster run)
    std::string screenshot;          // PNG of the last frame
    bool developer = false;          // the developer keys act in a level
    // The sound output: none when headless, unless a test asks for the loopback device.
    std::optional<AudioOutput> audioOutput;
    // Headless runs only: the device to draw on instead of OpenGL (a recording device for tests and
    // benchmarks), made at the chosen back-buffer size.
    std::function<std::unique_ptr<RenderDevice>(int width, int height)> makeRenderDevice;
    // The frame caches and batching: texts held between checks of language.ini, names missing from
    // the user folder remembered, and draws with the same state sent as one draw call. Off only to
    // measure what they save (the frame benchmark); the game looks and plays the same either way.
    bool frameCaches = true;
};

// The seams and small services of the run, made before anything else so the framework and every
// subsystem can be handed references to them.
struct ApplicationCore {
    explicit ApplicationCore(const ApplicationConfig& config);

    ApplicationConfig config;
    SystemClock systemClock;
    ManualClock manualClock;  // the clock of headless runs, stepped one frame at a time
    Clock& clock;
    Random random;
    InputState input;
    FileSystem files;
    Log log;  // started first, so every later start-up message is kept
    Settings settings;
    Language language;
    SdlDialogs dialogs;
    CoreServices services;
};

// The game: owns every long-lived object of the run and hands them to each other by reference, runs
// the application states, draws each state's picture and routes the window messages.
class Application : private ApplicationCore, public DisplayApplication {
public:
    explicit Application(const ApplicationConfig& config);
    ~Application() override;

    int32_t MsgProc(const Message& message) override;

    // Input that does not come from the window (the bot, a recording): asked at the start of every
    // frame; each event reaches the game as the window's own events do. Two observers serve the
    // recording of a run: every message the game receives, and the end of every drawn frame.
    std::function<void(std::vector<InputEvent>& events)> frameInput;
    std::function<void(const Message& message)> onMessage;
    std::function<void()> onFrameEnd;

    // The state change of the whole program (see AppStates).
    void SetState(int state) { states_.SetState(state); }
    int State() const { return states_.State(); }
    int PreviousState() const { return states_.PreviousState(); }

    // Simulates the loss of the drawing device: the reset path a minimise or display change takes.
    int32_t SimulateDeviceLoss() { return ResetDevice(); }

    // What tests and tools look at.
    CoreServices& Services() { return services; }
    InputState& Input() { return input; }
    ManualClock& HeadlessClock() { return manualClock; }
    Log& AppLog() { return log; }
    Settings& AppSettings() { return settings; }
    ScreenSet& Screens() { return screens_; }
    HighScores& Scores() { return highScores_; }
    MusicManager& Music() { return music_; }
    Graphics& Gfx() { return graphics_; }
    AppStates& States() { return states_; }
    Game& GameState() { return game_; }
    EffectList& Effects() { return effects_; }
    Shell& Menus() { return shell_; }
    const KeyPlay& Keys() const { return keyPlay_; }
    // The last web address the logo button asked for (headless runs only record it).
    const std::string& OpenedLink() const { return openedLink_; }
    bool ShowFps() const { return showFps_; }
    float Fps() const { return fps_; }
    float FrameTime() const { return frameTime_; }
    bool MediaLoaded() const { return mainWindowSet_; }
    int RestoreCount() const { return restoreCount_; }
    const TextureFont* StatusFont() const { return statusFont_.get(); }
    // The device drawn on (nullptr before it exists).
    RenderDevice* Device() { return device_.get(); }
    // The OpenGL renderer's name ("" before the device exists or on another device).
    std::string RendererName() const;

protected:
    int32_t OneTimeSceneInit() override;
    int32_t InitDeviceObjects() override;
    int32_t RestoreDeviceObjects() override;
    int32_t FrameMove() override;
    int32_t Render() override;
    int32_t InvalidateDeviceObjects() override;
    int32_t DeleteDeviceObjects() override { return 0; }
    int32_t FinalCleanup() override;
    void PresentPicture() override;
    bool ReadPicture(std::vector<uint8_t>& rgba, int* width, int* height) override;
    std::string StoredVideoMode() override;
    void StoreVideoMode(const std::string& text) override;
    std::string ErrorText(int32_t code, ErrorKind kind) override;

private:
    static DisplayOptions MakeDisplayOptions(ApplicationCore& core);
    void LoadMediaOnce();
    void ConnectGameHooks();
    void DrawMenuBackdrop();
    void DrawState(int state);
    void ShowFrameNow();
    void DrawScreen(ScreenId id) { screens_.Get(id).Render(); }
    void DrawKeyFocus();
    // Delivers pointer input made by the keys as the window's own; the run's message observer does
    // not see it, since the key that made it is seen.
    void DeliverKeyInput(const std::vector<InputEvent>& events);
    void OnFocusChange(bool gained);

    void CloseWindow();
    void OpenSiteLink();
    void ChooseNextLanguage();
    // What is missing of the files the game cannot start without (the main menu's screen file and
    // the shape classes), as lines of a message naming the data folder; empty when nothing is.
    std::string MissingGameData(bool classesRead) const;
    // F11 (unless it is a developer key) and Alt+Enter switch between window and full screen.
    bool IsFullScreenKey(const Message& message) const;

    // What the menus ask of the window, the desktop and the music.
    class Host final : public ShellHost {
    public:
        explicit Host(Application& app) : app_(app) {}
        void CloseWindow() override { app_.CloseWindow(); }
        void OpenSiteLink() override { app_.OpenSiteLink(); }
        bool IsFullScreen() const override { return !app_.IsWindowed(); }
        bool ToggleFullscreen() override { return app_.DisplayApplication::ToggleFullscreen() >= 0; }
        void SetMusicVolume(float volume) override { app_.music_.SetMusicVolume(volume); }
        void SetSfxVolume(float volume) override { app_.music_.SetSfxVolume(volume); }
        void ChooseNextLanguage() override { app_.ChooseNextLanguage(); }

    private:
        Application& app_;
    };

    SdlImageDecoder decoder_;
    Graphics graphics_;
    MusicManager music_;
    GraphicsScreenCanvas canvas_;
    MusicSoundFiles screenSounds_;
    ScreenEnvironment screenEnvironment_;
    ScreenSet screens_;
    AppStates states_;
    MouseButtons mouseButtons_;
    FpsCounter fpsCounter_;
    HighScores highScores_;
    GraphicsTextureFinder textureFinder_;
    EffectList effects_;
    Game game_;
    Host host_{*this};
    Shell shell_;
    GameScene scene_;
    KeyPlay keyPlay_;
    std::vector<InputEvent> frameEvents_;
    bool keyInput_ = false;  // pointer input made by a key is being delivered

    std::unique_ptr<RenderDevice> device_;
    GlRenderDevice* glDevice_ = nullptr;  // device_ when it is the OpenGL device
    std::unique_ptr<TextureFont> statusFont_;
    float frameTime_ = 0.0f;
    float fps_ = 0.0f;
    bool showFps_ = false;
    bool mainWindowSet_ = false;  // the media of the first restore are loaded
    int restoreCount_ = 0;
    std::string openedLink_;
    std::string missingData_;  // why the start stopped, when the game's data were not there
};

}  // namespace tamblor
