#include "platform/display/DisplayApplication.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/InputState.h"
#include "platform/Memory.h"
#include "platform/display/VideoSetupDialog.h"

namespace tamblor {

namespace {

constexpr uint32_t kToggleFullscreenCommand = 40003;

}  // namespace

DisplayApplication::DisplayApplication(InputState& input, Dialogs& dialogs, DisplayOptions options)
    : input_(input),
      dialogs_(dialogs),
      options_(options),
      translator_(input, letterbox_) {
    videoModes_ = BuildVideoModes({});
    videoModeTexts_ = VideoModeTexts(videoModes_);
}

DisplayApplication::~DisplayApplication() {
    input_.onSetCursorPos = nullptr;
    StopGamepads();
    if (glContext_)
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
    if (window_)
        SDL_DestroyWindow(window_);
    if (videoStarted_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool DisplayApplication::InitVideo() {
    if (videoStarted_)
        return true;
    if (options_.headless)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    // Drags that leave the window still report the release.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Tamblor: the video system did not start: %s\n", SDL_GetError());
        return false;
    }
    videoStarted_ = true;
    // SDL falls back to drawing offscreen when there is no display at all. Unless that was asked for,
    // a game nobody can see is an error.
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if (!options_.headless && !HasVisibleDisplay() && !(requested && requested[0] != '\0')) {
        std::fprintf(stderr, "Tamblor: no display was found. To run without one: --headless\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
        return false;
    }
    // Game controllers are optional: without them the game is played with the mouse and keys. SDL
    // reports every controller already plugged in as an arrival, so they open like later ones.
    if (!options_.headless) {
        padsStarted_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        if (!padsStarted_)
            std::fprintf(stderr, "Tamblor: game controllers are not available: %s\n", SDL_GetError());
    }
    return true;
}

void DisplayApplication::StopGamepads() {
    if (!padsStarted_)
        return;
    translator_.CloseGamepads();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    padsStarted_ = false;
}

bool DisplayApplication::HasVisibleDisplay() const {
    const char* driver = videoStarted_ ? SDL_GetCurrentVideoDriver() : nullptr;
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0 &&
           std::strcmp(driver, "evdev") != 0;
}

std::vector<std::pair<int, int>> DisplayApplication::DesktopResolutions() const {
    std::vector<std::pair<int, int>> sizes;
    if (!videoStarted_)
        return sizes;
    int displays = SDL_GetNumVideoDisplays();
    for (int d = 0; d < displays; ++d) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(d, &mode) == 0)
            sizes.emplace_back(mode.w, mode.h);
        int count = SDL_GetNumDisplayModes(d);
        for (int i = 0; i < count; ++i) {
            if (SDL_GetDisplayMode(d, i, &mode) == 0)
                sizes.emplace_back(mode.w, mode.h);
        }
    }
    return sizes;
}

int DisplayApplication::SetupVideoMode(bool showDialog) {
    if (showDialog && !InitVideo()) {
        ShowError(D3DAPPERR_NODIRECT3D, ErrorKind::Exit);
        return 0;
    }
    videoModes_ = BuildVideoModes(DesktopResolutions());
    videoModeTexts_ = VideoModeTexts(videoModes_);
    std::string configured = StoredVideoMode();
    for (size_t i = 0; i < videoModeTexts_.size(); ++i) {
        if (videoModeTexts_[i] == configured)
            chosenMode_ = videoModes_[i];
    }
    if (!showDialog)
        return 0;
    int selected = PreselectVideoMode(videoModeTexts_, configured);
    int result = RunSetupDialog(videoModeTexts_, selected);
    return result;
}

int DisplayApplication::RunSetupDialog(const std::vector<std::string>& texts, int selected) {
    // Without a display the list is printed and nothing is written.
    const char* noDialogs = std::getenv("TAMBLOR_NO_DIALOGS");
    if (options_.headless || (noDialogs && noDialogs[0] == '1') || !HasVisibleDisplay()) {
        std::printf("Video modes:\n");
        for (size_t i = 0; i < texts.size(); ++i) {
            std::printf("%c %s\n", static_cast<int>(i) == selected ? '*' : ' ', texts[i].c_str());
        }
        return 2;
    }
    int result = ShowVideoSetupDialog("Video Setup", texts, &selected);
    if (result == 1 && selected >= 0 && selected < static_cast<int>(texts.size())) {
        StoreVideoMode(texts[static_cast<size_t>(selected)]);
        chosenMode_ = videoModes_[static_cast<size_t>(selected)];
    }
    return result;
}

int32_t DisplayApplication::CreateWindowAndContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    window_ = SDL_CreateWindow(windowTitle_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               creationWidth_, creationHeight_, flags);
    if (!window_) {
        std::fprintf(stderr, "Tamblor: no window: %s\n", SDL_GetError());
        return D3DAPPERR_NODIRECT3D;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window_);
    if (!context) {
        std::fprintf(stderr, "Tamblor: no OpenGL 3.3 core context: %s\n", SDL_GetError());
        return D3DAPPERR_NODIRECT3D;
    }
    glContext_ = context;
    if (epoxy_gl_version() < 33) {
        std::fprintf(stderr, "Tamblor: OpenGL %d.%d is too old, 3.3 is needed\n", epoxy_gl_version() / 10,
                     epoxy_gl_version() % 10);
        return D3DAPPERR_HALNOTCOMPATIBLE;
    }
    if (options_.headless) {
        SDL_GL_SetSwapInterval(0);
        vsync_ = false;
    } else {
        vsync_ = SDL_GL_SetSwapInterval(1) == 0;
        int display = SDL_GetWindowDisplayIndex(window_);
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0) {
            refreshRate_ = mode.refresh_rate;
        }
    }
    return 0;
}

int32_t DisplayApplication::Create() {
    KeepLargeBlocksOffTheHeap();
    if (!InitVideo()) {
        ShowError(D3DAPPERR_NODIRECT3D, ErrorKind::Exit);
        return D3DAPPERR_NODIRECT3D;
    }
    int32_t result = CreateWindowAndContext();
    if (result < 0) {
        ShowError(result, ErrorKind::Exit);
        return result;
    }
    input_.onSetCursorPos = [this](int x, int y) { WarpPointer(x, y); };
    active_ = true;
    if (options_.manualClock)
        clockStart_ = options_.manualClock->TimeGetTime();

    result = OneTimeSceneInit();
    if (result < 0) {
        ShowError(result, ErrorKind::Exit);
        return result;
    }
    SetupVideoMode(false);

    // Window or full screen, at the chosen mode's size when it fits on the desktop.
    int width = chosenMode_.width;
    int height = chosenMode_.height;
    SDL_Rect usable;
    int display = SDL_GetWindowDisplayIndex(window_);
    if (!options_.headless && SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) == 0 &&
        (width > usable.w || height > usable.h)) {
        width = creationWidth_;
        height = creationHeight_;
    }
    SDL_SetWindowSize(window_, width, height);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (!windowed_ && SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        windowed_ = true;
    SDL_ShowCursor((windowed_ ? showCursorWhenWindowed_ : showCursorWhenFullscreen_) ? SDL_ENABLE
                                                                                     : SDL_DISABLE);
    if (!windowed_)
        SDL_DisableScreenSaver();
    SDL_ShowWindow(window_);
    UpdateView();

    result = ConfirmDevice();
    if (result >= 0)
        result = InitDeviceObjects();
    deviceExists_ = result >= 0;
    if (result >= 0)
        result = RestoreDeviceObjects();
    if (result < 0) {
        InvalidateDeviceObjects();
        DeleteDeviceObjects();
        deviceExists_ = false;
        ShowError(result, ErrorKind::Exit);
        return result;
    }
    lastCounter_ = SDL_GetPerformanceCounter();
    lastPresent_ = lastCounter_;
    ready_ = true;
    return 0;
}

void DisplayApplication::UpdateView() {
    letterbox_.logicalWidth = chosenMode_.width;
    letterbox_.logicalHeight = chosenMode_.height;
    if (window_) {
        SDL_GetWindowSize(window_, &letterbox_.windowWidth, &letterbox_.windowHeight);
        SDL_GL_GetDrawableSize(window_, &letterbox_.drawableWidth, &letterbox_.drawableHeight);
    }
    letterbox_.Update();
}

int DisplayApplication::Run() {
    while (Step()) {
    }
    return 0;
}

void DisplayApplication::DispatchPending() {
    while (!injected_.empty() && !closed_) {
        Message message = injected_.front();
        injected_.pop_front();
        MsgProc(message);
    }
    SDL_Event event;
    std::vector<Message> messages;
    while (!closed_ && SDL_PollEvent(&event)) {
        messages.clear();
        WindowEventEffects effects;
        translator_.Translate(event, messages, &effects);
        for (const Message& message : messages) {
            if (closed_)
                break;
            MsgProc(message);
        }
        if (effects.resetDevice && !closed_ && ready_) {
            int width = letterbox_.drawableWidth;
            int height = letterbox_.drawableHeight;
            int windowWidth = letterbox_.windowWidth;
            UpdateView();
            bool changed = width != letterbox_.drawableWidth || height != letterbox_.drawableHeight ||
                           windowWidth != letterbox_.windowWidth;
            if (changed && ResetDevice() < 0) {
                ShowError(D3DAPPERR_RESIZEFAILED, ErrorKind::Exit);
            }
        }
    }
}

bool DisplayApplication::Step() {
    if (closed_)
        return false;
    if (!active_ && !options_.headless && injected_.empty())
        SDL_WaitEventTimeout(nullptr, 100);
    DispatchPending();
    if (closed_)
        return false;
    if (active_ && ready_ && !timerStopped_) {
        if (options_.maxFrames > 0 && frameCount_ + 1 == options_.maxFrames &&
            !options_.finalScreenshot.empty()) {
            screenshotPath_ = options_.finalScreenshot;
            finalScreenshotTaken_ = true;
        }
        if (RenderFrame() < 0)
            MsgProc(MouseMessage(WM_CLOSE, input_.CursorX(), input_.CursorY()));
        if (!closed_ && options_.maxFrames > 0 && frameCount_ >= options_.maxFrames) {
            Message close;
            close.message = WM_CLOSE;
            MsgProc(close);
        }
    }
    return !closed_;
}

void DisplayApplication::ReadTimer() {
    if (options_.headless) {
        elapsedTime_ = static_cast<float>(options_.fixedFrameSeconds);
        appTime_ += options_.fixedFrameSeconds;
        if (options_.manualClock) {
            options_.manualClock->Set(clockStart_ + static_cast<uint32_t>(std::llround(appTime_ * 1000.0)));
        }
        return;
    }
    uint64_t now = SDL_GetPerformanceCounter();
    double seconds =
        static_cast<double>(now - lastCounter_) / static_cast<double>(SDL_GetPerformanceFrequency());
    lastCounter_ = now;
    // A frame never counts for more than a quarter second: a stall (dragging, a slow disk) must not
    // leap the game forward.
    if (seconds > 0.25)
        seconds = 0.25;
    elapsedTime_ = static_cast<float>(seconds);
    appTime_ += seconds;
}

int32_t DisplayApplication::RenderFrame() {
    // A frame that is to be saved as a picture is always drawn.
    int perPicture = options_.headless ? options_.framesPerPicture : 1;
    pictureShown_ = perPicture <= 1 || !screenshotPath_.empty() || (frameCount_ + 1) % perPicture == 0;
    ReadTimer();
    int32_t result = FrameMove();
    if (result >= 0)
        result = Render();
    if (result < 0)
        return result;
    if (pictureShown_) {
        PresentPicture();
        if (!screenshotPath_.empty()) {
            screenshotFailed_ = !SaveScreenshot(screenshotPath_);
            screenshotPath_.clear();
        }
        SDL_GL_SwapWindow(window_);
    }
    ++frameCount_;
    PaceFrame();
    return 0;
}

void DisplayApplication::SwapNow() {
    if (window_)
        SDL_GL_SwapWindow(window_);
}

void DisplayApplication::PaceFrame() {
    if (options_.headless || vsync_)
        return;
    // No vertical sync from the driver: keep to the display's refresh rate.
    uint64_t frequency = SDL_GetPerformanceFrequency();
    uint64_t frameTicks = frequency / static_cast<uint64_t>(refreshRate_ > 0 ? refreshRate_ : 60);
    uint64_t now = SDL_GetPerformanceCounter();
    uint64_t due = lastPresent_ + frameTicks;
    if (now < due) {
        uint32_t ms = static_cast<uint32_t>((due - now) * 1000 / frequency);
        if (ms > 0)
            SDL_Delay(ms);
        now = SDL_GetPerformanceCounter();
    }
    lastPresent_ = now;
}

void DisplayApplication::Pause(bool pause) {
    timerStopped_ = pause;
    if (!pause)
        lastCounter_ = SDL_GetPerformanceCounter();
}

int32_t DisplayApplication::MsgProc(const Message& message) {
    switch (message.message) {
        case WM_SIZE: {
            bool wasActive = active_;
            active_ = !(message.wParam == SIZE_MINIMIZED || message.wParam == SIZE_MAXHIDE);
            if (active_ && !wasActive)
                lastCounter_ = SDL_GetPerformanceCounter();
            return 0;
        }
        case WM_COMMAND:
            if ((message.wParam & 0xFFFF) == kToggleFullscreenCommand && active_ && ready_) {
                if (ToggleFullscreen() < 0)
                    ShowError(D3DAPPERR_RESIZEFAILED, ErrorKind::Exit);
            }
            return 0;
        case WM_PAINT:
            // Exposed while no frame is being drawn (starting, switching, resetting): the window shows
            // the last picture again rather than whatever the system left there.
            if (windowed_ && window_ && deviceExists_ && !ready_) {
                PresentPicture();
                SDL_GL_SwapWindow(window_);
            }
            return 0;
        case WM_CLOSE:
            if (!closed_ && !finalScreenshotTaken_ && !options_.finalScreenshot.empty() && ready_ &&
                active_) {
                finalScreenshotTaken_ = true;
                screenshotPath_ = options_.finalScreenshot;
                RenderFrame();
            }
            Cleanup();
            return 0;
        default:
            return 0;
    }
}

void DisplayApplication::Cleanup() {
    if (closed_)
        return;
    closed_ = true;
    ready_ = false;
    InvalidateDeviceObjects();
    DeleteDeviceObjects();
    deviceExists_ = false;
    FinalCleanup();
    input_.onSetCursorPos = nullptr;
    StopGamepads();
    if (glContext_)
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
    glContext_ = nullptr;
    if (window_)
        SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (!windowed_)
        SDL_EnableScreenSaver();
}

int32_t DisplayApplication::ResetDevice() {
    bool wasReady = ready_;
    ready_ = false;
    InvalidateDeviceObjects();
    UpdateView();
    int32_t result = RestoreDeviceObjects();
    lastCounter_ = SDL_GetPerformanceCounter();
    ready_ = wasReady || result >= 0;
    return result;
}

int32_t DisplayApplication::ToggleFullscreen() {
    if (!window_)
        return D3DAPPERR_RESIZEFAILED;
    bool toFullscreen = windowed_;
    bool wasReady = ready_;
    ready_ = false;
    if (SDL_SetWindowFullscreen(window_, toFullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "Tamblor: the full-screen switch failed: %s\n", SDL_GetError());
        ready_ = wasReady;
        return D3DAPPERR_RESIZEFAILED;
    }
    windowed_ = !toFullscreen;
    if (windowed_) {
        SDL_SetWindowSize(window_, letterbox_.logicalWidth, letterbox_.logicalHeight);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        SDL_EnableScreenSaver();
    } else {
        SDL_DisableScreenSaver();
    }
    SDL_ShowCursor((windowed_ ? showCursorWhenWindowed_ : showCursorWhenFullscreen_) ? SDL_ENABLE
                                                                                     : SDL_DISABLE);
    ready_ = wasReady;
    int32_t result = ResetDevice();
    return result < 0 ? D3DAPPERR_RESIZEFAILED : 0;
}

void DisplayApplication::ShowError(int32_t code, ErrorKind kind) {
    dialogs_.ShowMessage(kind == ErrorKind::Exit ? MessageKind::Error : MessageKind::Warning, windowTitle_,
                         ErrorText(code, kind));
    if (kind == ErrorKind::Exit && window_ && !closed_) {
        Message close;
        close.message = WM_CLOSE;
        PostMessage(close);
    }
}

void DisplayApplication::PostMessage(const Message& message) {
    injected_.push_back(message);
}

void DisplayApplication::WarpPointer(int x, int y) {
    if (options_.headless || !window_)
        return;
    // Only a pointer that is ours to move: over our focused window (never another program's).
    if (SDL_GetKeyboardFocus() != window_ || SDL_GetMouseFocus() != window_)
        return;
    int wx = 0, wy = 0;
    letterbox_.LogicalToWindow(x, y, &wx, &wy);
    SDL_WarpMouseInWindow(window_, wx, wy);
}

bool DisplayApplication::ReadPicture(std::vector<uint8_t>& rgba, int* width, int* height) {
    if (!glContext_)
        return false;
    int w = letterbox_.viewWidth;
    int h = letterbox_.viewHeight;
    if (w <= 0 || h <= 0)
        return false;
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<uint8_t> flipped(static_cast<size_t>(w) * h * 4);
    glReadPixels(letterbox_.viewX, letterbox_.drawableHeight - letterbox_.viewY - h, w, h, GL_RGBA,
                 GL_UNSIGNED_BYTE, flipped.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    rgba.resize(flipped.size());
    size_t row = static_cast<size_t>(w) * 4;
    for (int y = 0; y < h; ++y) {
        std::copy_n(flipped.begin() + static_cast<std::ptrdiff_t>(row * (h - 1 - y)), row,
                    rgba.begin() + static_cast<std::ptrdiff_t>(row * y));
    }
    *width = w;
    *height = h;
    return glGetError() == GL_NO_ERROR;
}

bool DisplayApplication::SaveScreenshot(const std::string& path) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    if (!ReadPicture(rgba, &w, &h))
        return false;
    // Every pixel of the picture is opaque.
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return false;
    bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

}  // namespace tamblor
