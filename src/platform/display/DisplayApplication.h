#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/display/DisplayErrors.h"
#include "platform/display/EventTranslator.h"
#include "platform/display/Letterbox.h"
#include "platform/display/VideoModes.h"

struct SDL_Window;

namespace tamblor {

class Dialogs;
class InputState;
class ManualClock;

// How the display runs.
struct DisplayOptions {
    // Offscreen video driver, no dialogs, no pacing; every frame lasts fixedFrameSeconds and the
    // injected clock (when given) moves on by exactly that much.
    bool headless = false;
    double fixedFrameSeconds = 1.0 / 60.0;
    ManualClock* manualClock = nullptr;
    // Run stops (a close request) after this many frames; 0 = no limit.
    int maxFrames = 0;
    // A PNG of the last frame drawn before the window closes (the last of maxFrames, if set).
    std::string finalScreenshot;
    // Headless only: frames per picture drawn. Every frame runs in full (input, update, the drawing
    // pass with its effects on the game), but only every n-th one is drawn and shown, so a long run
    // goes faster than real time with the same per-frame rules.
    int framesPerPicture = 1;
};

// The application framework: the window with its OpenGL 3.3 core context, the message loop that turns
// window events into the game's messages, the frame timer and pacing, window / full-screen switching
// with a letterboxed picture, the video mode setting with its setup dialog, the device reset path and
// the error messages. The game derives from it and fills in the per-frame and device operations.
class DisplayApplication {
public:
    DisplayApplication(InputState& input, Dialogs& dialogs, DisplayOptions options);
    virtual ~DisplayApplication();
    DisplayApplication(const DisplayApplication&) = delete;
    DisplayApplication& operator=(const DisplayApplication&) = delete;

    // Makes the window and the context, then OneTimeSceneInit, InitDeviceObjects, RestoreDeviceObjects.
    // 0, or a negative code after the error was shown.
    int32_t Create();
    // The message loop: frames while active and ready, until the window is closed. Returns the exit
    // code (0 after a normal close).
    int Run();
    // One pass of the loop: every waiting message, then one frame when active and ready (while
    // minimised, waits for a message instead). False once the window has been closed.
    bool Step();
    // One frame: timer, FrameMove, Render, present.
    int32_t RenderFrame();
    // The framework's own message handling; the game's MsgProc ends by calling it.
    virtual int32_t MsgProc(const Message& message);
    // Stops or restarts the frame timer (and the drawing while paused).
    void Pause(bool pause);
    // Between a window and desktop full screen. Negative when the switch failed (nothing changed then).
    int32_t ToggleFullscreen();
    // Applies VIDEO/Mode of config.ini; with showDialog, first lets the player choose it ("Video
    // Setup"). Returns the dialog's result: 1 OK, 2 Cancel, 0 when no dialog was shown.
    int SetupVideoMode(bool showDialog);
    // The message for code through the dialogs seam; the exit kind then closes the window.
    void ShowError(int32_t code, ErrorKind kind);

    // A message as if it came from the window; delivered, in order, at the start of the next Step.
    void PostMessage(const Message& message);
    // The reset path a minimise/restore, a display change or a size change take: invalidate, rebuild
    // the view, restore.
    int32_t ResetDevice();
    // Saves the next presented frame (the logical back buffer) as a PNG picture.
    void RequestScreenshot(const std::string& path) { screenshotPath_ = path; }
    bool ScreenshotFailed() const { return screenshotFailed_; }
    // The last drawn picture (logical back buffer, RGBA, top row first).
    bool CapturePicture(std::vector<uint8_t>& rgba, int* width, int* height) { return ReadPicture(rgba, width, height); }

    bool IsWindowed() const { return windowed_; }
    bool IsActive() const { return active_; }
    bool IsReady() const { return ready_; }
    bool IsClosed() const { return closed_; }
    bool IsHeadless() const { return options_.headless; }
    float ElapsedTime() const { return elapsedTime_; }
    double AppTime() const { return appTime_; }
    int FrameCount() const { return frameCount_; }
    // False during a frame whose picture is not drawn (see DisplayOptions::framesPerPicture).
    bool PictureShown() const { return pictureShown_; }
    const Letterbox& View() const { return letterbox_; }
    const VideoMode& ChosenMode() const { return chosenMode_; }
    const std::vector<std::string>& VideoModeList() const { return videoModeTexts_; }
    SDL_Window* Window() const { return window_; }
    const std::string& WindowTitle() const { return windowTitle_; }

protected:
    // The game's operations, in the framework's order. The base versions do nothing and succeed.
    virtual int32_t ConfirmDevice() { return 0; }
    virtual int32_t OneTimeSceneInit() { return 0; }
    virtual int32_t InitDeviceObjects() { return 0; }
    virtual int32_t RestoreDeviceObjects() { return 0; }
    virtual int32_t FrameMove() { return 0; }
    virtual int32_t Render() { return 0; }
    virtual int32_t InvalidateDeviceObjects() { return 0; }
    virtual int32_t DeleteDeviceObjects() { return 0; }
    virtual int32_t FinalCleanup() { return 0; }
    // Puts the finished logical picture into the window's drawable (letterboxed); called before the
    // buffers are swapped and before a requested screenshot is read. The base does nothing: the
    // picture is expected in the default framebuffer's view rectangle.
    virtual void PresentPicture() {}
    // Reads the logical picture (width x height RGBA, rows top to bottom) for a screenshot. The base
    // reads the default framebuffer's view rectangle.
    virtual bool ReadPicture(std::vector<uint8_t>& rgba, int* width, int* height);
    // Where the chosen video mode's text ("800 x 600 - 32 bit") is kept between runs; the game keeps
    // it in its settings. The base keeps nothing.
    virtual std::string StoredVideoMode() { return {}; }
    virtual void StoreVideoMode(const std::string& /*text*/) {}
    // Shows what has been drawn at once, outside the frame loop (the loading picture).
    void SwapNow();
    // The text shown for a failure code; an application may say more about a code than the framework.
    virtual std::string ErrorText(int32_t code, ErrorKind kind) { return ErrorMessageText(code, kind); }

    // Framework fields the game sets in its constructor.
    std::string windowTitle_;
    int creationWidth_ = 400;
    int creationHeight_ = 300;
    // The depth and stencil wishes are kept as the game states them, but the window gets neither: the
    // game draws into a colour target of its own and never tests depth, so a window depth buffer would
    // only take memory (a window's worth of pixels).
    bool useDepthBuffer_ = false;
    int minDepthBits_ = 16;
    int minStencilBits_ = 0;
    bool showCursorWhenFullscreen_ = true;
    bool showCursorWhenWindowed_ = true;

    // State the game reads.
    bool windowed_ = true;
    bool active_ = false;
    bool ready_ = false;
    float elapsedTime_ = 0.0f;
    double appTime_ = 0.0;

    InputState& input_;
    Dialogs& dialogs_;

private:
    bool InitVideo();
    void StopGamepads();
    // False for the drivers that show nothing (offscreen, dummy).
    bool HasVisibleDisplay() const;
    int32_t CreateWindowAndContext();
    void UpdateView();
    void Cleanup();
    void DispatchPending();
    void ReadTimer();
    void PaceFrame();
    void WarpPointer(int x, int y);
    std::vector<std::pair<int, int>> DesktopResolutions() const;
    int RunSetupDialog(const std::vector<std::string>& texts, int selected);
    bool SaveScreenshot(const std::string& path);

    DisplayOptions options_;
    SDL_Window* window_ = nullptr;
    void* glContext_ = nullptr;
    bool videoStarted_ = false;
    bool padsStarted_ = false;
    bool closed_ = false;
    bool deviceExists_ = false;  // from InitDeviceObjects to DeleteDeviceObjects
    bool quitPosted_ = false;
    bool timerStopped_ = false;
    bool vsync_ = false;
    int refreshRate_ = 60;
    uint64_t lastCounter_ = 0;
    uint64_t lastPresent_ = 0;
    int frameCount_ = 0;
    bool pictureShown_ = true;
    uint32_t clockStart_ = 0;
    Letterbox letterbox_;
    EventTranslator translator_;
    std::deque<Message> injected_;
    VideoMode chosenMode_;
    std::vector<VideoMode> videoModes_;
    std::vector<std::string> videoModeTexts_;
    std::string screenshotPath_;
    bool screenshotFailed_ = false;
    bool finalScreenshotTaken_ = false;
};

}  // namespace tamblor
