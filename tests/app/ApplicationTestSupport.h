#pragma once
// A real Application, headless: offscreen OpenGL, no sound device, no dialogs, the clock stepped by
// exactly one frame per frame. Its user folder is a fresh temporary folder; its data is the game
// folder the build assembled.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "app/Application.h"
#include "platform/Message.h"
#include "BuildPaths.h"

namespace tamblor::test {

class HeadlessGame {
public:
    explicit HeadlessGame(uint32_t seed = 1234, const std::string& dataDir = TAMBLOR_BUILD_GAME_DIR) {
        config.userDir = user.Path();
        config.dataDir = dataDir;
        config.headless = true;
        config.seed = seed;
    }

    // Makes and starts the application; false when it did not start.
    bool Start() {
        app = std::make_unique<Application>(config);
        return app->Create() == 0;
    }

    // Runs frames (each 1/60 s of the game's clock).
    void Frames(int count) {
        for (int i = 0; i < count && app->Step(); ++i) {
        }
    }
    // Runs frames until the condition holds or the limit passes; true when it held.
    template <typename Condition>
    bool FramesUntil(Condition condition, int limit = 3600) {
        for (int i = 0; i < limit; ++i) {
            if (condition())
                return true;
            if (!app->Step())
                return false;
        }
        return condition();
    }

    // Input as the window would deliver it: the pointer moves, then the button goes down and up.
    void MoveTo(int x, int y) {
        app->Input().MovePointer(x, y);
        app->PostMessage(MouseMessage(WM_MOUSEMOVE, x, y));
        Frames(1);
    }
    void Click(int x, int y) {
        MoveTo(x, y);
        app->Input().SetKeysSteerPointer(false);  // a click is the mouse's, as the window layer says
        app->Input().SetKeyDown(VK_LBUTTON, true);
        app->PostMessage(MouseMessage(WM_LBUTTONDOWN, x, y));
        Frames(1);
        app->Input().SetKeyDown(VK_LBUTTON, false);
        app->PostMessage(MouseMessage(WM_LBUTTONUP, x, y));
        Frames(1);
    }
    // Clicks the centre of a named button of a screen (positions are fractions of 800 x 600).
    bool ClickButton(const Screen& screen, const std::string& name) {
        for (int i = 0; i < screen.buttonCount; ++i) {
            const ScreenButton& b = screen.buttons[static_cast<size_t>(i)];
            if (name == b.name) {
                Click(static_cast<int>(b.x * 800.0f), static_cast<int>(b.y * 600.0f));
                return true;
            }
        }
        ADD_FAILURE() << "no button " << name;
        return false;
    }
    void Key(int virtualKey) {
        app->Input().SetKeyDown(virtualKey, true);
        app->PostMessage(KeyMessage(WM_KEYDOWN, static_cast<uintptr_t>(virtualKey)));
        Frames(1);
        app->Input().SetKeyDown(virtualKey, false);
        app->PostMessage(KeyMessage(WM_KEYUP, static_cast<uintptr_t>(virtualKey)));
    }
    void Type(const std::string& text) {
        for (char c : text) app->PostMessage(KeyMessage(WM_CHAR, static_cast<unsigned char>(c)));
        Frames(1);
    }
    void Send(uint32_t message, uintptr_t wParam = 0) {
        app->PostMessage(KeyMessage(message, wParam));
        Frames(1);
    }

    std::string LogText() const { return user.Read("app.log"); }

    TempDir user;
    ApplicationConfig config;
    std::unique_ptr<Application> app;
};

}  // namespace tamblor::test
