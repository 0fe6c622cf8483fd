#pragma once
// The way from the main menu to a level in play, and the busiest picture a level shows: six full lines,
// a full panel, a shape on the pointer and 24 effects running. Shared by the frame benchmark and the
// tests that count what a frame costs.
#include <string_view>

#include "app/Application.h"
#include "game/ShapeItem.h"
#include "platform/Message.h"
#include "screens/EffectList.h"

namespace tamblor::bench {

constexpr int kBusiestEffects = 24;

// A click on the centre of a named button of a screen (positions are fractions of 800 x 600), as the
// window would deliver it, one frame for the move, the press and the release each. False without it.
inline bool ClickButton(Application& app, const Screen& screen, std::string_view name) {
    for (int i = 0; i < screen.buttonCount; ++i) {
        const ScreenButton& b = screen.buttons[static_cast<size_t>(i)];
        if (name != b.name)
            continue;
        int x = static_cast<int>(b.x * 800.0f);
        int y = static_cast<int>(b.y * 600.0f);
        app.Input().MoveCursor(x, y);
        app.PostMessage(MouseMessage(WM_MOUSEMOVE, x, y));
        app.Step();
        app.Input().SetKeyDown(VK_LBUTTON, true);
        app.PostMessage(MouseMessage(WM_LBUTTONDOWN, x, y));
        app.Step();
        app.Input().SetKeyDown(VK_LBUTTON, false);
        app.PostMessage(MouseMessage(WM_LBUTTONUP, x, y));
        app.Step();
        return true;
    }
    return false;
}

// From the main menu a Classic game to its stage map, settled. False when it did not get there.
inline bool GoToStageMap(Application& app) {
    if (!ClickButton(app, app.Screens().Get(ScreenId::Main), "btnClassicGame"))
        return false;
    for (int i = 0; i < 300 && app.GameState().levelPhase != 7; ++i) app.Step();
    for (int i = 0; i < 60; ++i) app.Step();
    return app.State() == StageMap;
}

// From the stage map into its level, eight seconds on: past the first tutorial hint, whose picture
// is loaded when it first shows. False when no level is running then.
inline bool GoToLevel(Application& app) {
    if (!ClickButton(app, app.Screens().Get(ScreenId::Map), "btnStart"))
        return false;
    for (int i = 0; i < 480; ++i) app.Step();
    return app.State() == Playing;
}

// Turns the running level of app into the busiest frame. False when no level is running.
inline bool MakeBusiestFrame(Application& app) {
    Game& game = app.GameState();
    if (game.levelPhase < 2 || game.cellCount <= 0 || game.panelCount <= 0)
        return false;
    for (int i = 0; i < game.cellCount; ++i) {
        ShapeItem& cell = game.cells[static_cast<size_t>(i)];
        cell.present = 1;
        cell.filled = 1;
    }
    const ShapeItem first = game.panel[0];
    game.panelCount = board::kMaxPanelShapes;
    for (int i = 0; i < game.panelCount; ++i) {
        ShapeItem& item = game.panel[static_cast<size_t>(i)];
        item = game.cells[static_cast<size_t>(i % game.cellCount)];
        item.present = 1;
        item.filled = 0;
        item.x = 0.3f + static_cast<float>(i) * board::kLinePitch;
        item.y = board::kPanelY;
        item.classIndex = item.classIndex < 0 ? first.classIndex : item.classIndex;
    }
    game.held = game.panel[0];
    game.held.present = 1;
    game.held.x = 0.5f;
    game.held.y = 0.5f;

    EffectList& effects = app.Effects();
    Graphics& graphics = app.Gfx();
    Texture* star = graphics.FindTexture("Graphics\\star-rotation.png");
    Texture* particle = graphics.FindTexture("Graphics\\particle1.png");
    constexpr float kLong = 1.0e6f;  // still running whenever the frame is drawn
    for (int i = 0; i < kBusiestEffects / 4; ++i) {
        float x = 0.3f + 0.11875f * static_cast<float>(i);
        effects.AddRisingText(2, 0.0f, kLong, x, 0.3f, "1250", 1);
        effects.AddFlyingText(2, 0.0f, kLong, x, 0.6f, 0.5f, 0.05f, "BONUS", 0);
        effects.AddSpriteRing(1, 0.0f, kLong, x, 0.4f, 0.05f, 0.06f, star);
        effects.AddParticleBurst(1, 0.0f, kLong, x, 0.7f, 0.04f, 0.08f, particle, 1);
    }
    effects.Update();  // new effects start showing at their first update
    return true;
}

}  // namespace tamblor::bench
