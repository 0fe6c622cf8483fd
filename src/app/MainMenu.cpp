#include "app/MainMenu.h"

#include <string>
#include <utility>

#include "core/AppState.h"
#include "core/Random.h"
#include "app/ScreenSet.h"
#include "game/Game.h"
#include "graphics/Graphics.h"
#include "screens/EffectList.h"
#include "screens/HighScores.h"
#include "screens/ScreenCanvas.h"

namespace tamblor {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

}  // namespace

void MainMenuView::DrawMenuBackdrop(float frameTime) {
    canvas_.DrawPicture("Graphics\\back_menu.jpg", 0.5f, 0.5f, 1.0f, 1.0f, kWhite, 0);
    UpdateMenuButterflies(frameTime);
}

void MainMenuView::UpdateMenuButterflies(float frameTime) {
    if (!butterfliesMade) {
        butterfliesMade = true;
        for (int i = 0; i < kButterflies; ++i) {
            const float x = static_cast<float>(random_.RandomInt(1, 9)) / 10.0f;
            const float y = static_cast<float>(random_.RandomInt(1, 9)) / 10.0f;
            const std::string kind = std::to_string(i % 4 + 1);
            butterflies[static_cast<size_t>(i)].Init(
                x, y, graphics_.FindTexture("Graphics\\butterfly_anim" + kind + "_left.png"),
                graphics_.FindTexture("Graphics\\butterfly_anim" + kind + "_right.png"), 1);
        }
    }
    for (Butterfly& butterfly : butterflies) butterfly.Update(frameTime, graphics_, random_, clock_);
}

void MainMenuView::HideInfoPanels() {
    screens_.Get(ScreenId::InfoClassic).fade = 0.0f;
    screens_.Get(ScreenId::InfoRelax).fade = 0.0f;
    screens_.Get(ScreenId::InfoTransformer).fade = 0.0f;
}

void MainMenuView::DrawMainMenu(float frameTime) {
    DrawMenuBackdrop(frameTime);
    Screen& main = screens_.Get(ScreenId::Main);
    main.Render();
    canvas_.SetLinearFiltering(false);
    const std::pair<const char*, ScreenId> panels[] = {
        {"btnClassicGame", ScreenId::InfoClassic},
        {"btnRelaxGame", ScreenId::InfoRelax},
        {"btnTransformerGame", ScreenId::InfoTransformer},
    };
    for (const auto& [button, id] : panels) {
        Screen& info = screens_.Get(id);
        const float rate = main.IsOver(button) ? kPanelFadeRate : -kPanelFadeRate;
        Graphics::StepClamped(&info.fade, rate, frameTime);
        info.Render();
    }
    canvas_.SetLinearFiltering(true);
    if (states_.State() == MainMenu) {
        effects_.Update();
        effects_.Draw(graphics_, -1);
    }
}

void MainMenuView::DrawHighScoreScreen(float frameTime) {
    DrawMenuBackdrop(frameTime);
    highScores_.SetTable(game_.gameMode);
    Screen& screen = screens_.Get(ScreenId::HighScores);
    screen.Render();
    highScores_.Draw(canvas_, 0.29f, 0.036f, 0.25f, 0.3f, 0.65f, 0);
    canvas_.DrawString(screen.GetTextX("txtGameType"), screen.GetTextY("txtGameType"),
                       screen.GetTextSize("txtGameType"), kWhite, ScreenCanvas::kTextCenter,
                       TableName(game_.gameMode));
    // How to finish a name, only while one is being typed.
    if (highScores_.Entering()) {
        canvas_.DrawString(screen.GetTextX("txtEntryHint"), screen.GetTextY("txtEntryHint"),
                           screen.GetTextSize("txtEntryHint"), kWhite, ScreenCanvas::kTextCenter, kEntryHint);
    }
}

const char* MainMenuView::TableName(int gameMode) {
    switch (gameMode) {
        case ModeClassic:
            return "Classic";
        case ModeTransformer:
            return "Transformer";
        case ModeRelax:
            return "Relax";
        default:
            return "";
    }
}

void MainMenuView::DrawContinueConfirmation(float frameTime) {
    DrawMenuBackdrop(frameTime);
    Screen& screen = screens_.Get(ScreenId::ContinueConfirmation);
    screen.Render();
    canvas_.DrawString(screen.GetTextX("txtLevelNum"), screen.GetTextY("txtLevelNum"),
                       screen.GetTextSize("txtLevelNum"), kWhite, ScreenCanvas::kTextCenter,
                       "Level: " + std::to_string(game_.levelNumber));
    canvas_.DrawString(screen.GetTextX("txtScoreNum"), screen.GetTextY("txtScoreNum"),
                       screen.GetTextSize("txtScoreNum"), kWhite, ScreenCanvas::kTextCenter,
                       "Score: " + std::to_string(game_.score));
}

}  // namespace tamblor
