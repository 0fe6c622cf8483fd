#include "graphics/GameScene.h"

#include <cmath>
#include <string>

#include "core/AppState.h"
#include "core/FloatToInt.h"
#include "game/Game.h"
#include "graphics/Butterfly.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"
#include "screens/EffectList.h"

namespace tamblor {

namespace {
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr float kTextSize = 0.04f;

struct FramePiece {
    float left, top, right, bottom;
};
// The parts of the screen around the board, in this order: left, right, top, bottom.
constexpr FramePiece kFramePieces[] = {
    {0.0f, 0.0f, 0.25f, 0.84f},
    {0.95f, 0.0f, 1.0f, 0.84f},
    {0.0f, 0.0f, 1.0f, 0.05f},
    {0.0f, 0.8f, 1.0f, 1.0f},
};
// The 800 x 600 screen picture sits in the top-left part of the border texture.
constexpr float kBorderU = 0.78125f;
constexpr float kBorderV = 0.5859375f;

void ModulatedBlending(RenderState& state) {
    state.alphaBlendEnable = true;
    state.srcBlend = BlendFactor::SrcAlpha;
    state.destBlend = BlendFactor::InvSrcAlpha;
}

}  // namespace

GameScene::GameScene(Game& game, Graphics& graphics, EffectList& effects, AppStates& appStates,
                     const Clock& clock)
    : game_(game), graphics_(graphics), effects_(effects), appStates_(appStates), clock_(clock) {}

std::pair<float, float> GameScene::Anchor(std::string_view name) const {
    return game_.hooks.inGameTextPosition ? game_.hooks.inGameTextPosition(name)
                                          : std::pair<float, float>(0, 0);
}

void GameScene::DrawGameScene(float frameTime) {
    RenderDevice* device = graphics_.Device();
    if (!device)
        return;
    if (game_.levelPhase == 0) {
        // Still fading to black: the picture that was on screen stays.
        if (appStates_.PreviousState() == MainMenu) {
            if (hooks.renderMainMenu)
                hooks.renderMainMenu();
        } else if (hooks.drawStageMap) {
            hooks.drawStageMap();
        }
        effects_.Draw(graphics_, -1);
        return;
    }
    RenderState& state = device->State();

    state.alphaBlendEnable = false;
    graphics_.DrawSprite(graphics_.FindTexture(game_.backgroundShown), 0.57f, 0.43f, 0.86f, 0.86f, 0.0f, 0.0f,
                         1.0f, 1.0f, kWhite, 0);
    DrawLines();
    DrawCells();

    ModulatedBlending(state);
    if (game_.bug.active) {
        game_.UpdateBug(frameTime);
        DrawBugSprite(graphics_, game_.bug);
    }

    state.alphaBlendEnable = false;
    effects_.Draw(graphics_, 1);

    graphics_.DrawSprite(graphics_.FindTexture("Graphics\\am_bottom_bar.jpg"), 0.5f, 0.915f, 1.0f, 0.13f,
                         0.0f, 0.0f, 1.0f, 1.0f, kWhite, 0);
    DrawPanel();
    DrawFrame();
    if (hooks.renderInGameScreen)
        hooks.renderInGameScreen();
    DrawStatus();

    if (game_.held.present) {
        const ShapeItem& held = game_.held;
        graphics_.DrawSprite(graphics_.FindTexture(game_.ShapeImageFile(held)), held.x, held.y, held.width,
                             held.height, 0.0f, 0.0f, 1.0f, 1.0f, kWhite, SPRITE_ALPHA | SPRITE_OWN_SIZE);
    }
    effects_.Draw(graphics_, 2);

    if (game_.tutorialActive) {
        game_.ImposeTutorialSetup();
        if (hooks.drawTutorialHints)
            hooks.drawTutorialHints();
    }
}

void GameScene::DrawLines() {
    RenderState& state = graphics_.Device()->State();
    for (int i = 0; i < board::kLineCount; ++i) {
        BoardLine& line = game_.lines[static_cast<size_t>(i)];
        uint32_t c = static_cast<uint32_t>(TruncateToInt(255.0f * line.alpha, 0, 255));
        line.color = (c << 24) | (c << 16) | (c << 8) | c;
        TextureHandle picture = graphics_.FindTexture(kLinePictures[i]);
        if (!line.removed) {
            graphics_.DrawSprite(picture, line.x, line.y, board::kLinePitch, 1.0f, 0.0f, line.scroll, 1.0f,
                                 line.scroll + 1.0f, line.color, SPRITE_ALPHA | SPRITE_WRAP);
        } else {
            // A removed line flashes over-bright while it fades out.
            ModulatedBlending(state);
            state.colorOp = ColorOp::Modulate4X;
            graphics_.DrawSprite(picture, line.x, line.y, board::kLinePitch, 1.0f, 0.0f, line.scroll, 1.0f,
                                 line.scroll + 1.0f, line.color, SPRITE_WRAP);
            state.colorOp = ColorOp::Modulate;
            state.alphaBlendEnable = false;
        }
    }
}

void GameScene::DrawCells() {
    for (int i = 0; i < game_.cellCount; ++i) {
        const ShapeItem& cell = game_.cells[static_cast<size_t>(i)];
        if (!cell.present)
            continue;
        graphics_.DrawSprite(cell.filled ? cell.mainTexture : cell.maskTexture, cell.x, cell.y, cell.width,
                             cell.height, 0.0f, 0.0f, 1.0f, 1.0f, kWhite, SPRITE_ALPHA | SPRITE_OWN_SIZE);
    }
}

void GameScene::DrawPanel() {
    RenderState& state = graphics_.Device()->State();
    // Panel shapes are drawn texel for texel.
    state.minFilter = TextureFilter::Point;
    state.magFilter = TextureFilter::Point;
    for (int i = 0; i < game_.panelCount; ++i) {
        const ShapeItem& item = game_.panel[static_cast<size_t>(i)];
        graphics_.DrawSprite(item.mainTexture, item.x, item.y, item.width, item.height, 0.0f, 0.0f, 1.0f,
                             1.0f, kWhite, SPRITE_ALPHA | SPRITE_OWN_SIZE);
    }
    state.minFilter = TextureFilter::Linear;
    state.magFilter = TextureFilter::Linear;
}

void GameScene::DrawFrame() {
    TextureHandle border = graphics_.FindTexture(kBorderImage);
    for (const FramePiece& p : kFramePieces) {
        graphics_.DrawSprite(border, (p.left + p.right) / 2.0f, (p.top + p.bottom) / 2.0f, p.right - p.left,
                             p.bottom - p.top, kBorderU * p.left, kBorderV * p.top, kBorderU * p.right,
                             kBorderV * p.bottom, kWhite, SPRITE_ALPHA);
    }
}

void GameScene::DrawStatus() {
    auto [levelX, levelY] = Anchor("txtLevelNum");
    graphics_.DrawString(levelX, levelY, kTextSize, kWhite, TEXT_CENTER, std::to_string(game_.levelNumber));

    auto [timeX, timeY] = Anchor("txtTimeNum");
    if (game_.timeLeft < 10.0f) {
        float t = std::fmod(static_cast<float>(clock_.TimeGetTime()) * 0.001f, 2.0f);
        float a = t < 1.0f ? 255.0f * t : 255.0f * (2.0f - t);
        uint32_t colour = (static_cast<uint32_t>(TruncateToInt(a, 0, 255)) << 24) | 0x00FFFFFFu;
        graphics_.DrawSprite(graphics_.FindTexture("Graphics\\round_time.png"), timeX, timeY, 0.0f, 0.0f,
                             0.0f, 0.0f, 1.0f, 1.0f, colour, SPRITE_ALPHA | SPRITE_OWN_SIZE);
    }
    // Relax and bonus levels have no time limit: no countdown to show.
    const bool unlimited = game_.gameMode == ModeRelax || game_.IsBonusLevel();
    std::string timeText = unlimited ? std::string("Unlim") : std::to_string(TruncateToInt(game_.timeLeft));
    graphics_.DrawString(timeX, timeY, kTextSize, kWhite, TEXT_CENTER, timeText);

    auto [scoreX, scoreY] = Anchor("txtScoreNum");
    graphics_.DrawString(scoreX, scoreY, kTextSize, kWhite, TEXT_CENTER, std::to_string(game_.score));

    auto [meterX, meterY] = Anchor("txtMeterBar");
    graphics_.DrawProgressBar(graphics_.FindTexture("Graphics\\progress-empty.png"),
                              graphics_.FindTexture("Graphics\\progress-full.png"), meterX, meterY, 0.0f,
                              0.0f, TruncateToInt(100.0f * game_.progress, 0, 100),
                              BAR_HORIZONTAL | BAR_OWN_SIZE);
}

}  // namespace tamblor
