#include "app/Application.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "app/Folders.h"
#include "app/SiteLink.h"
#include "core/FloatToInt.h"
#include "platform/Memory.h"
#include "platform/TextureFont.h"
#include "platform/display/DesktopOpener.h"
#include "platform/gl/GlRenderDevice.h"

namespace tamblor {

namespace {

constexpr const char* kWindowTitle = "Tamblor 2.0";
constexpr uint32_t kWhite = 0xFFFFFFFF;

}  // namespace

ApplicationCore::ApplicationCore(const ApplicationConfig& configIn)
    : config(configIn),
      clock(config.headless ? static_cast<Clock&>(manualClock) : static_cast<Clock&>(systemClock)),
      files(config.userDir, config.dataDir),
      log(files),
      settings(files, log),
      language(files, log, clock),
      dialogs(config.headless),
      services{clock, random, input, files, log, settings, language, dialogs} {
    files.RememberMisses(config.frameCaches);
    language.CheckOnEveryLookup(!config.frameCaches);
    // The log is begun before anything else is loaded, so a screen file that fails stays on record.
    log.WriteLog("*** SESSION STARTED ***", LOG_NEW | LOG_TIME | LOG_FRAME);
    for (const std::string& name : RemoveInterruptedWrites(files)) {
        log.WriteLog("Removed '" + name + "', left by an interrupted write", LOG_TIME);
    }
}

DisplayOptions Application::MakeDisplayOptions(ApplicationCore& core) {
    DisplayOptions options;
    options.headless = core.config.headless;
    options.manualClock = core.config.headless ? &core.manualClock : nullptr;
    options.maxFrames = core.config.maxFrames;
    options.framesPerPicture = core.config.framesPerPicture;
    options.finalScreenshot = core.config.screenshot;
    return options;
}

Application::Application(const ApplicationConfig& config)
    : ApplicationCore(config),
      DisplayApplication(input, dialogs, MakeDisplayOptions(*this)),
      graphics_(services, decoder_),
      music_(files, log, random, settings, dialogs),
      canvas_(graphics_),
      screenSounds_(music_),
      screenEnvironment_{settings, log, input, canvas_, screenSounds_},
      screens_(screenEnvironment_),
      states_(input),
      highScores_(settings, music_, clock),
      textureFinder_(graphics_),
      effects_(clock, random, music_),
      game_(services, states_, mouseButtons_, effects_, music_, textureFinder_),
      shell_(game_, states_, screens_, highScores_, effects_, settings, log, clock, random, graphics_,
             canvas_, music_, textureFinder_, host_),
      scene_(game_, graphics_, effects_, states_, clock),
      keyPlay_(states_, screens_, highScores_, game_, input, shell_.actions) {
    windowTitle_ = kWindowTitle;
    creationWidth_ = 800;
    creationHeight_ = 600;
    useDepthBuffer_ = true;
    minDepthBits_ = 15;
    showCursorWhenFullscreen_ = true;
    showCursorWhenWindowed_ = true;
    screens_.LoadAll();
    // Every state change nudges the pointer one pixel down so the new screen sees a mouse move at once.
    states_.onCursorNudged = [this](int x, int y) { PostMessage(MouseMessage(WM_MOUSEMOVE, x, y)); };
    // Between Playing and Paused the level clocks stop and go on.
    states_.onPauseClock = [this] { game_.PauseClock(); };
    states_.onResumeClock = [this] { game_.ResumeClock(); };
    game_.developerKeys = config.developer;
    ConnectGameHooks();
    shell_.ConnectScene(scene_, frameTime_);
}

Application::~Application() {
    if (!IsClosed()) {
        Message close;
        close.message = WM_CLOSE;
        MsgProc(close);
    }
}

int32_t Application::OneTimeSceneInit() {
    // Full screen when the options say so, unless the command line decided.
    windowed_ = !screens_.Get(ScreenId::Options).IsChecked("btnFullScreen");
    if (config.fullScreen)
        windowed_ = !*config.fullScreen;
    if (config.headless)
        windowed_ = true;

    // A fixed seed repeats a run exactly; otherwise the moment of the start decides.
    uint32_t tick = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::system_clock::now().time_since_epoch())
                                              .count());
    random.SRand15(config.seed ? *config.seed : tick);

    std::string languageName;
    if (!settings.ReadConfigString("LANGUAGE", "Name", languageName)) {
        languageName = "ENGLISH";
        settings.WriteConfigString("LANGUAGE", "Name", languageName);
    }
    language.languageName = languageName;

    const bool classesRead = game_.LoadShapeClasses("classes.xml") != 0;
    // Without its main menu or its shape classes the game would show an empty window or win every
    // level at once: the start stops and says where the data were looked for.
    missingData_ = MissingGameData(classesRead);
    if (!missingData_.empty()) {
        log.WriteLog(missingData_, LOG_TIME | LOG_WARNING);
        return D3DAPPERR_MEDIANOTFOUND;
    }
    SetState(MainMenu);
    highScores_.LoadAtStartup();
    return 0;
}

int32_t Application::InitDeviceObjects() {
    if (!device_) {
        if (config.headless && config.makeRenderDevice) {
            device_ = config.makeRenderDevice(ChosenMode().width, ChosenMode().height);
            if (!device_)
                return D3DAPPERR_HALNOTCOMPATIBLE;
        } else {
            auto gl = std::make_unique<GlRenderDevice>(ChosenMode().width, ChosenMode().height);
            if (!gl->Ok()) {
                std::fprintf(stderr, "Tamblor: the OpenGL device did not start: %s\n", gl->Error().c_str());
                return D3DAPPERR_HALNOTCOMPATIBLE;
            }
            glDevice_ = gl.get();
            device_ = std::move(gl);
        }
        // A "16 bit" mode reduces the textures of the first restore to four bits per channel, full
        // screen only: a window shows in the desktop's own format, so windowed starts stay 32-bit.
        device_->SetBackBufferIs32Bit(ChosenMode().bits != 16 || IsWindowed());
        device_->SetBatching(config.frameCaches);
    }
    graphics_.AttachDevice(*device_);
    return 0;
}

int32_t Application::RestoreDeviceObjects() {
    log.WriteLog("RestoreDeviceObjects(): STARTED", 0);
    if (!device_)
        return DISPLAY_E_FAIL;
    RenderState& state = device_->State();
    state.magFilter = TextureFilter::Linear;
    state.minFilter = TextureFilter::Linear;
    graphics_.AttachDevice(*device_);

    if (!mainWindowSet_)
        LoadMediaOnce();

    PixelSize client = graphics_.GetClientSize();
    statusFont_ = std::make_unique<TextureFont>("Arial", static_cast<int>(client.height * 0.02f), 0);
    statusFont_->InitDeviceObjects(*device_);
    statusFont_->RestoreDeviceObjects();
    graphics_.CreateBigFont("Arial", 0.025f);
    graphics_.force32Bit = 1;
    graphics_.fontCellsExact = 1;
    ++restoreCount_;
    log.WriteLog("RestoreDeviceObjects(): FINISHED", 0);
    return 0;
}

void Application::LoadMediaOnce() {
    // The intro picture stands while the rest loads.
    device_->Clear(0xFF000000);
    graphics_.LoadSymbolWidths("Graphics\\font01.png");
    screens_.Get(ScreenId::Intro).Render();
    device_->Present();
    ShowFrameNow();
    mainWindowSet_ = true;

    AudioOutput output = config.audioOutput ? *config.audioOutput
                                            : (config.headless ? AudioOutput::None : AudioOutput::Default);
    music_.Init(output);
    const Screen& options = screens_.Get(ScreenId::Options);
    music_.SetMusicVolume(options.GetSliderValue("MusicVolume"));
    music_.SetSfxVolume(options.GetSliderValue("SfxVolume"));
    music_.LoadSoundFolder(MusicManager::kSoundFolder);
    music_.Play(music_.FindMusic(MusicManager::kMusicFile), true);

    for (const char* line : GameScene::kLinePictures) graphics_.KeepWrapping(line);
    graphics_.LoadAllTexturesMIPMAP("Graphics\\");
    graphics_.LoadAllTexturesMIPMAP("Graphics\\Shapes\\");

    // The decoded pictures are gone now that the textures hold them.
    ReleaseFreedMemory();

    effects_.Clear();
    shell_.mainMenu.HideInfoPanels();
    // The opening fade-in.
    effects_.AddTween(0.0f, 0.5f, 0.0f, 1.0f, &game_.sceneFade);
}

int32_t Application::InvalidateDeviceObjects() {
    log.WriteLog("Invalidate Device Objects...", 0);
    graphics_.ReleaseBigFont();
    if (statusFont_) {
        statusFont_->InvalidateDeviceObjects();
        statusFont_->DeleteDeviceObjects();
        statusFont_.reset();
    }
    return 0;
}

int32_t Application::FinalCleanup() {
    graphics_.DeleteAllTexturesMIPMAP();
    music_.FreeMusicManager();
    glDevice_ = nullptr;
    device_.reset();
    log.WriteLog("*** Session finished ***", LOG_TIME | LOG_FRAME);
    return 0;
}

int32_t Application::FrameMove() {
    if (frameInput) {
        frameEvents_.clear();
        frameInput(frameEvents_);
        for (const InputEvent& event : frameEvents_) MsgProc(ApplyInputEvent(input, event));
    }
    std::vector<InputEvent> keyInput;
    keyPlay_.BeginFrame(keyInput);
    DeliverKeyInput(keyInput);
    frameTime_ = ElapsedTime();
    fps_ = fpsCounter_.MeasureFps(clock.Seconds());
    // In play the level moves on, or, with the editor on, the editor works on the standing level.
    if (State() == Playing) {
        if (game_.editorMode)
            game_.UpdateEditor();
        else
            game_.UpdateLevel(ElapsedTime());
    }
    keyInput.clear();
    keyPlay_.EndFrame(keyInput);
    DeliverKeyInput(keyInput);
    return 0;
}

void Application::DeliverKeyInput(const std::vector<InputEvent>& events) {
    // The events are the mouse's, but the keys made them: they leave the pointer to whoever had it.
    const bool outer = keyInput_;
    const bool keysSteer = input.KeysSteerPointer();
    keyInput_ = true;
    for (const InputEvent& event : events) {
        MsgProc(ApplyInputEvent(input, event));
        input.SetKeysSteerPointer(keysSteer);
    }
    keyInput_ = outer;
}

void Application::DrawKeyFocus() {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    if (!keyPlay_.FocusFrame(x, y, w, h))
        return;
    // A frame of four bars just outside the widget or the shape.
    constexpr uint32_t kFrameColour = 0xFFFFD040;
    const PixelSize client = graphics_.GetClientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    const float tx = 3.0f / static_cast<float>(client.width);  // bar thickness
    const float ty = 3.0f / static_cast<float>(client.height);
    const float left = x - w / 2.0f - tx / 2.0f;
    const float right = x + w / 2.0f + tx / 2.0f;
    const float top = y - h / 2.0f - ty / 2.0f;
    const float bottom = y + h / 2.0f + ty / 2.0f;
    graphics_.DrawSprite(nullptr, x, top, w + 2.0f * tx, ty, 0, 0, 1, 1, kFrameColour, SPRITE_ALPHA);
    graphics_.DrawSprite(nullptr, x, bottom, w + 2.0f * tx, ty, 0, 0, 1, 1, kFrameColour, SPRITE_ALPHA);
    graphics_.DrawSprite(nullptr, left, y, tx, h + 2.0f * ty, 0, 0, 1, 1, kFrameColour, SPRITE_ALPHA);
    graphics_.DrawSprite(nullptr, right, y, tx, h + 2.0f * ty, 0, 0, 1, 1, kFrameColour, SPRITE_ALPHA);
}

void Application::OnFocusChange(bool gained) {
    // Away from the window the game is quiet and a running level waits; it stays paused when the
    // player comes back, until they resume it.
    music_.Audio().SetMuted(!gained);
    if (!gained && State() == Playing)
        SetState(Paused);
}

int32_t Application::Render() {
    if (!device_)
        return 0;
    // A frame without a picture still runs its drawing pass: the bug, the value glides and the
    // screens' animations move while drawing.
    if (glDevice_)
        glDevice_->SetDiscardDrawing(!PictureShown());
    device_->Clear(0xFF000000);
    RenderState& state = device_->State();
    state.alphaBlendEnable = true;
    state.srcBlend = BlendFactor::SrcAlpha;
    state.destBlend = BlendFactor::InvSrcAlpha;
    state.colorOp = ColorOp::Modulate;

    DrawState(State());
    DrawKeyFocus();

    if (showFps_ && statusFont_) {
        char text[64];
        std::snprintf(text, sizeof text, "%s: %d", "FPS", static_cast<int>(fps_));
        statusFont_->DrawText(2, 2, kWhite, text, 0);
    }
    if (game_.editorMode && statusFont_) {
        statusFont_->DrawText(2, 45, kWhite, "Level Editor: '+','-' - change level, F2 - save", 0);
    }

    state.alphaBlendEnable = false;
    // The one fade of the program: the finished picture times sceneFade.
    if (game_.sceneFade != 1.0f) {
        uint32_t c = static_cast<uint32_t>(TruncateToInt((1.0f - game_.sceneFade) * 255.0f, 0, 255));
        graphics_.DrawSprite(nullptr, 0.5f, 0.5f, 1.0f, 1.0f, 0, 0, 1, 1, MakeArgb(c, c, c, c),
                             SPRITE_DARKEN);
    }
    device_->Present();
    if (glDevice_)
        glDevice_->SetDiscardDrawing(false);
    graphics_.ReleaseRestingPictures();
    if (onFrameEnd)
        onFrameEnd();
    return 0;
}

void Application::ConnectGameHooks() {
    game_.hooks.inGameTextPosition = [this](std::string_view name) {
        const Screen& inGame = screens_.Get(ScreenId::InGame);
        return std::pair<float, float>(inGame.GetTextX(name), inGame.GetTextY(name));
    };
    game_.hooks.clientSize = [this] {
        PixelSize size = graphics_.GetClientSize();
        return std::pair<int, int>(size.width, size.height);
    };
    // What loading the level freed goes back to the system.
    game_.hooks.levelStarted = [] { ReleaseFreedMemory(); };
}

void Application::DrawMenuBackdrop() {
    shell_.mainMenu.DrawMenuBackdrop(frameTime_);
}

void Application::DrawState(int state) {
    // The recipe is chosen once from the state at the start of the frame, so a state change made
    // while drawing (the level advance) still shows this frame's picture.
    switch (state) {
        case MainMenu:
            shell_.mainMenu.DrawMainMenu(frameTime_);
            break;
        case StageMap:
            shell_.stageMap.DrawStageMap(frameTime_);
            break;
        case Instructions1:
            DrawMenuBackdrop();
            DrawScreen(ScreenId::Instructions1);
            break;
        case Instructions2:
            DrawMenuBackdrop();
            DrawScreen(ScreenId::Instructions2);
            break;
        case Instructions3:
            DrawMenuBackdrop();
            DrawScreen(ScreenId::Instructions3);
            break;
        case Playing:
            scene_.DrawGameScene(frameTime_);
            break;
        case Paused:
            scene_.DrawGameScene(frameTime_);
            DrawScreen(ScreenId::Pause);
            break;
        case HighScoresState:
            shell_.mainMenu.DrawHighScoreScreen(frameTime_);
            break;
        case Options:
            DrawMenuBackdrop();
            DrawScreen(ScreenId::Options);
            break;
        case LevelWon:
            shell_.progression.AdvanceLevel();
            scene_.DrawGameScene(frameTime_);
            break;
        case GameComplete:
            scene_.DrawGameScene(frameTime_);
            DrawScreen(ScreenId::GameComplete);
            shell_.progression.DrawGameComplete();
            break;
        case GameOver:
            scene_.DrawGameScene(frameTime_);
            DrawScreen(ScreenId::GameOver);
            break;
        case ClearScoresConfirm:
            DrawMenuBackdrop();
            DrawScreen(ScreenId::ClearConfirmation);
            break;
        case ContinueConfirm:
            shell_.mainMenu.DrawContinueConfirmation(frameTime_);
            break;
        default:
            break;
    }
}

int32_t Application::MsgProc(const Message& in) {
    // The record as the game sees it: the pointer where it is now, in back-buffer pixels.
    Message message = in;
    message.window = nullptr;
    message.time = 0;
    message.x = input.CursorX();
    message.y = input.CursorY();
    if (onMessage && !keyInput_)
        onMessage(message);
    // A game pad's buttons act as the keyboard keys they stand for.
    if (message.message == WM_KEYDOWN || message.message == WM_KEYUP)
        message.wParam =
            static_cast<uintptr_t>(KeyPlay::KeyboardKey(static_cast<int>(message.wParam), State()));

    switch (message.message) {
        case WM_SIZE:
            log.WriteLog("WM_SIZE command", LOG_TIME);
            break;
        case WM_SETFOCUS:
            log.WriteLog("WM_SETFOCUS command", LOG_TIME);
            OnFocusChange(true);
            break;
        case WM_KILLFOCUS:
            log.WriteLog("WM_KILLFOCUS command", LOG_TIME);
            OnFocusChange(false);
            break;
        default:
            break;
    }

    if (IsActive() && IsReady()) {
        bool toScreen = true;
        // A key held down repeats its key-down message; switches act on the first one only.
        const bool repeated = (message.lParam & (intptr_t{1} << 30)) != 0;
        if (IsFullScreenKey(message) && !repeated)
            shell_.actions.ToggleFullScreen();
        if (message.message == WM_KEYDOWN) {
            // F1, F12 and the editor's keys work in every state, even while a name is typed.
            if (message.wParam == static_cast<uintptr_t>(VK_F1))
                showFps_ = !showFps_;
            if (message.wParam == static_cast<uintptr_t>(VK_F12))
                game_.ToggleEditor();
            if (game_.editorMode) {
                if (message.wParam == static_cast<uintptr_t>(VK_ADD))
                    game_.EditorChangeLevel(+1);
                if (message.wParam == static_cast<uintptr_t>(VK_SUBTRACT))
                    game_.EditorChangeLevel(-1);
            }
            std::vector<InputEvent> keyInput;
            if (keyPlay_.KeyDown(static_cast<int>(message.wParam), repeated, keyInput)) {
                toScreen = false;
                DeliverKeyInput(keyInput);
            } else if (State() == Playing) {
                // In play the keys belong to the game; the in-game screen sees no key messages.
                game_.OnKey(message.message, message.wParam);
                toScreen = false;
            }
        }
        // The screen of the state (the name entry first in the high-score table) and its action.
        if (toScreen)
            shell_.actions.HandleMessage(message);
    }
    return DisplayApplication::MsgProc(message);
}

std::string Application::MissingGameData(bool classesRead) const {
    std::string missing;
    if (!screens_.Loaded(ScreenId::Main))
        missing += std::string("\n") + ScreenSet::kFiles[static_cast<size_t>(ScreenId::Main)] +
                   " is missing or unreadable.";
    bool anyClass = false;
    for (int i = 0; i < game_.allClassCount; ++i)
        anyClass = anyClass || game_.allClasses[static_cast<size_t>(i)].shapeCount > 0;
    if (!classesRead || !anyClass)
        missing += "\nclasses.xml is missing, unreadable or has no shape classes.";
    if (missing.empty())
        return {};
    return "The game's data were not found in the folder\n" + config.dataDir + missing +
           "\n\nInstall the game again, or name its data folder with --datadir.";
}

std::string Application::ErrorText(int32_t code, ErrorKind kind) {
    if (code == D3DAPPERR_MEDIANOTFOUND && !missingData_.empty())
        return missingData_ + "\n\nTamblor will now exit.";
    return DisplayApplication::ErrorText(code, kind);
}

bool Application::IsFullScreenKey(const Message& message) const {
    // Alt+Enter always; F11 unless it is a developer key.
    if (message.message == WM_SYSKEYDOWN)
        return message.wParam == static_cast<uintptr_t>(VK_RETURN);
    return message.message == WM_KEYDOWN && message.wParam == static_cast<uintptr_t>(VK_F11) &&
           !config.developer;
}

std::string Application::RendererName() const {
    return glDevice_ ? glDevice_->Renderer() : std::string();
}

void Application::CloseWindow() {
    Message close;
    close.message = WM_CLOSE;
    PostMessage(close);
}

void Application::OpenSiteLink() {
    std::string url = ReadSiteLink(settings);
    if (url.empty())
        return;
    openedLink_ = url;
    if (!IsHeadless())
        OpenWithDesktop(url);
}

void Application::ChooseNextLanguage() {
    std::string next = language.NextLanguageName();
    if (next.empty() || next == language.languageName)
        return;
    language.languageName = next;
    settings.WriteConfigString("LANGUAGE", "Name", next);
    log.WriteLog("Language: " + next, LOG_TIME);
}

void Application::ShowFrameNow() {
    PresentPicture();
    SwapNow();
}

void Application::PresentPicture() {
    if (!glDevice_)
        return;
    const Letterbox& view = View();
    bool ramp = !IsWindowed();
    glDevice_->PresentToWindow(view.drawableWidth, view.drawableHeight,
                               ramp ? device_->GetGammaRamp().data() : nullptr);
}

bool Application::ReadPicture(std::vector<uint8_t>& rgba, int* width, int* height) {
    if (!glDevice_ || !glDevice_->ReadBackBuffer(rgba))
        return false;
    *width = device_->BackBufferWidth();
    *height = device_->BackBufferHeight();
    return true;
}

std::string Application::StoredVideoMode() {
    std::string mode;
    settings.ReadConfigString("VIDEO", "Mode", mode);
    return mode;
}

void Application::StoreVideoMode(const std::string& text) {
    settings.WriteConfigString("VIDEO", "Mode", text);
}

}  // namespace tamblor
