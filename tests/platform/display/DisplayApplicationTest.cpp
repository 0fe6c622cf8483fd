#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/InputState.h"
#include "platform/display/DisplayApplication.h"
#include "platform/display/SdlDialogs.h"

namespace tamblor {

namespace {

class RecordingDialogs final : public Dialogs {
public:
    void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) override {
        const char* icon = kind == MessageKind::Error     ? "error"
                           : kind == MessageKind::Warning ? "warning"
                                                          : "none";
        shown.push_back(std::string(icon) + "|" + title + "|" + text);
    }
    std::vector<std::string> shown;
};

// A framework user that records the order of the calls it receives and clears to a colour.
class ProbeApplication final : public DisplayApplication {
public:
    ProbeApplication(InputState& input, Dialogs& dialogs, DisplayOptions options)
        : DisplayApplication(input, dialogs, options) {
        windowTitle_ = "Probe";
        creationWidth_ = 800;
        creationHeight_ = 600;
        useDepthBuffer_ = true;  // as the game asks
    }
    ~ProbeApplication() override {
        if (!IsClosed()) {
            Message close;
            close.message = WM_CLOSE;
            MsgProc(close);
        }
    }
    int32_t MsgProc(const Message& message) override {
        messages.push_back(message.message);
        return DisplayApplication::MsgProc(message);
    }

    std::vector<std::string> calls;
    std::string storedMode;                // what the game's settings would answer
    std::vector<std::string> writtenModes;  // what the framework asked to keep
    std::vector<uint32_t> messages;
    std::vector<float> elapsed;
    int32_t restoreResult = 0;
    float red = 1.0f;
    bool exposedDuringRestore = false;  // the window is exposed while the device objects are restored
    int presents = 0;

protected:
    int32_t OneTimeSceneInit() override { return Note("OneTimeSceneInit"); }
    int32_t InitDeviceObjects() override { return Note("InitDeviceObjects"); }
    int32_t RestoreDeviceObjects() override {
        Note("RestoreDeviceObjects");
        if (exposedDuringRestore)
            MsgProc(KeyMessage(WM_PAINT, 0));
        return restoreResult;
    }
    void PresentPicture() override { ++presents; }
    int32_t InvalidateDeviceObjects() override { return Note("InvalidateDeviceObjects"); }
    int32_t DeleteDeviceObjects() override { return Note("DeleteDeviceObjects"); }
    int32_t FinalCleanup() override { return Note("FinalCleanup"); }
    std::string StoredVideoMode() override { return storedMode; }
    void StoreVideoMode(const std::string& text) override { writtenModes.push_back(text); }
    int32_t FrameMove() override {
        elapsed.push_back(ElapsedTime());
        return Note("FrameMove");
    }
    int32_t Render() override {
        glViewport(View().viewX, View().viewY, View().viewWidth, View().viewHeight);
        glClearColor(red, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return Note("Render");
    }

private:
    int32_t Note(const char* name) {
        calls.push_back(name);
        return 0;
    }
};

struct Fixture {
    test::TempDir dir;
    InputState input;
    RecordingDialogs dialogs;
    ManualClock clock;
};

DisplayOptions Headless(ManualClock* clock, int maxFrames = 0) {
    DisplayOptions options;
    options.headless = true;
    options.manualClock = clock;
    options.maxFrames = maxFrames;
    return options;
}

}  // namespace

TEST(DisplayApplication, StartsRunsFramesAndClosesInOrder) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock, 3));
    app.storedMode = "1024 x 768 - 16 bit";
    ASSERT_EQ(app.Create(), 0);
    std::vector<std::string> start = {"OneTimeSceneInit", "InitDeviceObjects", "RestoreDeviceObjects"};
    EXPECT_EQ(app.calls, start);
    EXPECT_TRUE(app.IsReady());
    EXPECT_TRUE(app.IsActive());
    EXPECT_TRUE(app.IsWindowed());
    // Drawing goes to the device's own colour target, so the window holds no depth or stencil pixels.
    int depthBits = -1;
    int stencilBits = -1;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits);
    EXPECT_EQ(depthBits, 0);
    EXPECT_EQ(stencilBits, 0);
    // The configured mode sets the logical back buffer.
    EXPECT_EQ(app.ChosenMode().width, 1024);
    EXPECT_EQ(app.ChosenMode().bits, 16);
    EXPECT_EQ(app.View().logicalWidth, 1024);

    app.calls.clear();
    uint32_t t0 = f.clock.TimeGetTime();
    EXPECT_EQ(app.Run(), 0);
    std::vector<std::string> run = {"FrameMove",
                                    "Render",
                                    "FrameMove",
                                    "Render",
                                    "FrameMove",
                                    "Render",
                                    "InvalidateDeviceObjects",
                                    "DeleteDeviceObjects",
                                    "FinalCleanup"};
    EXPECT_EQ(app.calls, run);
    EXPECT_EQ(app.FrameCount(), 3);
    // Headless frames last exactly 1/60 s and the injected clock keeps pace without drifting.
    ASSERT_EQ(app.elapsed.size(), 3u);
    EXPECT_FLOAT_EQ(app.elapsed[0], 1.0f / 60.0f);
    EXPECT_EQ(f.clock.TimeGetTime(), t0 + 50);
    EXPECT_TRUE(app.IsClosed());
    EXPECT_FALSE(app.Step());
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(DisplayApplication, MinimiseStopsFramesAndResetsRestoreTheDevice) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock));
    ASSERT_EQ(app.Create(), 0);
    EXPECT_TRUE(app.Step());  // the window's own start-up events
    app.calls.clear();
    app.PostMessage(KeyMessage(WM_SIZE, SIZE_MINIMIZED));
    EXPECT_TRUE(app.Step());
    EXPECT_FALSE(app.IsActive());
    EXPECT_TRUE(app.calls.empty());  // no frame while minimised
    app.PostMessage(KeyMessage(WM_SIZE, SIZE_RESTORED));
    EXPECT_TRUE(app.Step());
    EXPECT_EQ(app.calls, (std::vector<std::string>{"FrameMove", "Render"}));

    app.calls.clear();
    EXPECT_EQ(app.ResetDevice(), 0);
    EXPECT_EQ(app.calls, (std::vector<std::string>{"InvalidateDeviceObjects", "RestoreDeviceObjects"}));
    EXPECT_TRUE(app.IsReady());

    // Full screen and back: each switch is a reset; the picture keeps its logical size.
    app.calls.clear();
    EXPECT_EQ(app.ToggleFullscreen(), 0);
    EXPECT_FALSE(app.IsWindowed());
    EXPECT_EQ(app.ToggleFullscreen(), 0);
    EXPECT_TRUE(app.IsWindowed());
    EXPECT_EQ(app.calls.size(), 4u);
    EXPECT_EQ(app.View().logicalWidth, 800);
    EXPECT_EQ(app.View().logicalHeight, 600);
}

TEST(DisplayApplication, ExposedWhileNotReadyShowsTheLastFrameAgain) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock));
    app.exposedDuringRestore = true;
    ASSERT_EQ(app.Create(), 0);
    EXPECT_EQ(app.presents, 1);
    EXPECT_TRUE(app.Step());
    EXPECT_EQ(app.presents, 2);  // the frame's own
    EXPECT_EQ(app.ResetDevice(), 0);
    EXPECT_EQ(app.presents, 3);
    // While ready, the next frame draws anew: an exposure alone presents nothing.
    app.MsgProc(KeyMessage(WM_PAINT, 0));
    EXPECT_EQ(app.presents, 3);
    EXPECT_EQ(std::count(app.calls.begin(), app.calls.end(), "Render"), 1);
}

TEST(DisplayApplication, FailedStartShowsTheErrorAndCleansUp) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock));
    app.restoreResult = static_cast<int32_t>(0x80004005u);
    EXPECT_LT(app.Create(), 0);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0],
              "error|Probe|The game could not start its display.\nThe file app.log may tell more.\n\n"
              "Tamblor will now exit.");
    // No start-up message speaks of another system's drawing interface or of a sample program.
    for (int32_t code : {D3DAPPERR_NODIRECT3D, D3DAPPERR_NOCOMPATIBLEDEVICES, D3DAPPERR_NOWINDOWABLEDEVICES,
                         D3DAPPERR_NOHARDWAREDEVICE, D3DAPPERR_HALNOTCOMPATIBLE, D3DAPPERR_NOWINDOWEDHAL,
                         D3DAPPERR_NODESKTOPHAL, D3DAPPERR_NOHALTHISMODE, D3DAPPERR_NONZEROREFCOUNT,
                         D3DAPPERR_MEDIANOTFOUND, D3DAPPERR_RESIZEFAILED, DISPLAY_E_FAIL}) {
        for (ErrorKind kind : {ErrorKind::Exit, ErrorKind::Warning}) {
            std::string text = ErrorMessageText(code, kind);
            for (const char* word : {"Direct3D", "DirectX", "D3D", "DLL", "sample", "rasterizer"})
                EXPECT_EQ(text.find(word), std::string::npos) << word << " in: " << text;
        }
    }
    EXPECT_NE(ErrorMessageText(D3DAPPERR_NODIRECT3D, ErrorKind::Exit).find("OpenGL 3.3"), std::string::npos);
    EXPECT_NE(ErrorMessageText(D3DAPPERR_NODIRECT3D, ErrorKind::Exit).find("display"), std::string::npos);
    EXPECT_EQ(app.calls.back(), "DeleteDeviceObjects");
}

TEST(DisplayApplication, ErrorBoxesCarryTheirKind) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock));
    app.ShowError(static_cast<int32_t>(0x80004005u), ErrorKind::Warning);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].substr(0, 14), "warning|Probe|");
    EXPECT_EQ(SdlDialogs::BoxFlags(MessageKind::Error), static_cast<uint32_t>(SDL_MESSAGEBOX_ERROR));
    EXPECT_EQ(SdlDialogs::BoxFlags(MessageKind::Warning), static_cast<uint32_t>(SDL_MESSAGEBOX_WARNING));
    EXPECT_EQ(SdlDialogs::BoxFlags(MessageKind::None), 0u);
}

TEST(DisplayApplication, ScreenshotHoldsTheLogicalPicture) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock));
    ASSERT_EQ(app.Create(), 0);
    std::string path = f.dir / "shot.png";
    app.red = 0.5f;
    app.RequestScreenshot(path);
    EXPECT_TRUE(app.Step());
    EXPECT_FALSE(app.ScreenshotFailed());
    SDL_Surface* image = IMG_Load(path.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 800);
    EXPECT_EQ(image->h, 600);
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_RGBA32, 0);
    const auto* pixels = static_cast<const uint8_t*>(rgba->pixels);
    EXPECT_NEAR(pixels[0], 128, 1);
    EXPECT_EQ(pixels[1], 0);
    EXPECT_EQ(pixels[3], 255);
    SDL_FreeSurface(rgba);
    SDL_FreeSurface(image);
}

TEST(DisplayApplication, HeadlessSetupListsTheModesAndWritesNothing) {
    Fixture f;
    ProbeApplication app(f.input, f.dialogs, Headless(&f.clock));
    testing::internal::CaptureStdout();
    EXPECT_EQ(app.SetupVideoMode(true), 2);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("* 800 x 600 - 16 bit"), std::string::npos) << printed;
    EXPECT_NE(printed.find("1024 x 768 - 32 bit"), std::string::npos);
    EXPECT_TRUE(app.writtenModes.empty());
}

}  // namespace tamblor
