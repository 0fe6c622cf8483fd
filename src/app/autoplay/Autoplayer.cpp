#include "app/autoplay/Autoplayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/AppState.h"
#include "game/Game.h"

namespace tamblor {

namespace {

bool SameShape(const ShapeItem& a, const ShapeItem& b) {
    return a.classIndex == b.classIndex && a.shapeIndex == b.shapeIndex && a.bonusKind == b.bonusKind;
}

}  // namespace

Autoplayer::Autoplayer(std::string modeAction, AutoplayPace pace)
    : modeAction_(std::move(modeAction)), pace_(pace) {}

void Autoplayer::Frame(const AutoplayView& view, std::vector<InputEvent>& out) {
    if (cursorX_ < 0.0f || std::abs(view.cursorX - static_cast<int>(std::lround(cursorX_))) > 1 ||
        std::abs(view.cursorY - static_cast<int>(std::lround(cursorY_))) > 1) {
        cursorX_ = static_cast<float>(view.cursorX);
        cursorY_ = static_cast<float>(view.cursorY);
    }
    if (view.appState != lastState_) {
        // A new screen: whatever was under way belongs to the old one. A right button still down is let go.
        lastState_ = view.appState;
        if (rightDown_) {
            out.push_back(InputEvent::Button(InputEvent::RightUp));
            rightDown_ = false;
        }
        if (step_ != Step::KeyUp && step_ != Step::AfterTake && step_ != Step::AfterDrop &&
            step_ != Step::MenuRelease) {
            step_ = Step::Think;
        }
        waited_ = 0.0f;
    }
    if (step_ == Step::KeyUp) {
        out.push_back(InputEvent::Key(InputEvent::KeyUp, VK_SPACE));
        RestFor(pace_.restAfterDrop);
        return;
    }
    if (step_ == Step::Rest) {
        rest_ -= view.frameSeconds;
        if (rest_ > 0.0f)
            return;
        step_ = Step::Think;
    }
    if (view.appState == Playing && view.game) {
        PlayFrame(view, out);
    } else {
        MenuFrame(view, out);
    }
}

void Autoplayer::RestFor(float seconds) {
    step_ = Step::Rest;
    rest_ = seconds;
}

void Autoplayer::PressSpace(std::vector<InputEvent>& out) {
    out.push_back(InputEvent::Key(InputEvent::KeyDown, VK_SPACE));
    step_ = Step::KeyUp;
    waited_ = 0.0f;
}

bool Autoplayer::Glide(const AutoplayView& view, float fx, float fy, std::vector<InputEvent>& out) {
    float tx = std::round(fx * static_cast<float>(view.clientWidth));
    float ty = std::round(fy * static_cast<float>(view.clientHeight));
    tx = std::clamp(tx, 0.0f, static_cast<float>(view.clientWidth - 1));
    ty = std::clamp(ty, 0.0f, static_cast<float>(view.clientHeight - 1));
    float dx = tx - cursorX_;
    float dy = ty - cursorY_;
    float distance = std::sqrt(dx * dx + dy * dy);
    float reach = pace_.pixelsPerSecond * view.frameSeconds;
    int oldX = static_cast<int>(std::lround(cursorX_));
    int oldY = static_cast<int>(std::lround(cursorY_));
    if (distance <= reach) {
        cursorX_ = tx;
        cursorY_ = ty;
    } else {
        cursorX_ += dx / distance * reach;
        cursorY_ += dy / distance * reach;
    }
    int newX = static_cast<int>(std::lround(cursorX_));
    int newY = static_cast<int>(std::lround(cursorY_));
    if (newX != oldX || newY != oldY || (newX != view.cursorX || newY != view.cursorY)) {
        out.push_back(InputEvent::MoveTo(newX, newY));
    }
    return distance <= reach;
}

void Autoplayer::PlayFrame(const AutoplayView& view, std::vector<InputEvent>& out) {
    const Game& game = *view.game;
    float dt = view.frameSeconds;
    switch (step_) {
        case Step::Think:
            Think(view, out);
            return;
        case Step::ToPanel: {
            bool valid = !game.held.present && panelIndex_ >= 0 && panelIndex_ < game.panelCount &&
                         SameShape(game.panel[static_cast<size_t>(panelIndex_)], panelShape_);
            // The hole it was meant for has scrolled out of reach or been filled: look again.
            if (valid && cellIndex_ >= 0 && cellIndex_ < game.cellCount) {
                const ShapeItem& cell = game.cells[static_cast<size_t>(cellIndex_)];
                valid = cell.present && !cell.filled && cell.y >= limits_.cellMinY;
            }
            if (!valid) {
                step_ = Step::Think;
                Think(view, out);
                return;
            }
            auto [x, y] = PredictPanel(game, panelIndex_, dt);
            if (Glide(view, x, y, out)) {
                out.push_back(InputEvent::Button(InputEvent::LeftDown));
                step_ = Step::AfterTake;
            }
            return;
        }
        case Step::AfterTake:
            out.push_back(InputEvent::Button(InputEvent::LeftUp));
            step_ = game.held.present ? Step::ToCell : Step::Think;
            waited_ = 0.0f;
            return;
        case Step::ToCell: {
            if (!game.held.present) {
                step_ = Step::Think;
                return;
            }
            bool valid = cellIndex_ >= 0 && cellIndex_ < game.cellCount;
            if (valid) {
                const ShapeItem& cell = game.cells[static_cast<size_t>(cellIndex_)];
                valid = cell.present && !cell.filled && cell.y >= limits_.cellMinY - 0.05f &&
                        cell.y <= limits_.cellMaxY + 0.03f && TransformsNeeded(game, game.held, cell) >= 0;
            }
            if (!valid) {
                PlayChoice choice = BestCellFor(game, game.held, limits_);
                if (choice.kind != PlayChoice::Place) {
                    cellIndex_ = -1;
                    waited_ += dt;
                    if (waited_ > pace_.giveUpHolding && (game.panelCount == 0 || game.panel[0].x < 0.5f)) {
                        PressSpace(out);
                        ++discards_;
                    }
                    return;
                }
                cellIndex_ = choice.cellIndex;
            }
            waited_ = 0.0f;
            const ShapeItem& cell = game.cells[static_cast<size_t>(cellIndex_)];
            int needed = TransformsNeeded(game, game.held, cell);
            bool turning = false;
            sinceRightClick_ += dt;
            if (rightDown_) {
                out.push_back(InputEvent::Button(InputEvent::RightUp));
                rightDown_ = false;
            } else if (needed > 0 && sinceRightClick_ >= pace_.rightClickGap) {
                out.push_back(InputEvent::Button(InputEvent::RightDown));
                rightDown_ = true;
                turning = true;
                sinceRightClick_ = 0.0f;
                ++transforms_;
            }
            auto [x, y] = PredictCell(game, cellIndex_, dt);
            if (Glide(view, x, y, out) && needed == 0 && !turning && !rightDown_) {
                out.push_back(InputEvent::Button(InputEvent::LeftDown));
                step_ = Step::AfterDrop;
            }
            return;
        }
        case Step::AfterDrop:
            out.push_back(InputEvent::Button(InputEvent::LeftUp));
            if (game.held.present) {
                step_ = Step::ToCell;
            } else {
                ++placements_;
                RestFor(pace_.restAfterDrop + pace_.lookPerClass * static_cast<float>(game.shapeClassCount));
            }
            return;
        default:
            step_ = Step::Think;
            return;
    }
}

void Autoplayer::Think(const AutoplayView& view, std::vector<InputEvent>& out) {
    const Game& game = *view.game;
    // Like a person, the bot lets the level announce itself and starts once the level clock runs.
    if (game.levelPhase < 3)
        return;
    PlayChoice choice = ChooseMove(game, limits_);
    if (choice.kind == PlayChoice::Place) {
        waited_ = 0.0f;
        cellIndex_ = choice.cellIndex;
        if (choice.panelIndex < 0) {
            step_ = Step::ToCell;
        } else {
            panelIndex_ = choice.panelIndex;
            panelShape_ = game.panel[static_cast<size_t>(panelIndex_)];
            step_ = Step::ToPanel;
        }
        PlayFrame(view, out);
        return;
    }
    if (choice.kind == PlayChoice::Discard) {
        PressSpace(out);
        ++discards_;
        return;
    }
    // Nothing to do yet. A panel that is full and has had nothing useful for a while loses its first
    // shape, so new ones can come in.
    waited_ += view.frameSeconds;
    if (game.panelCount >= board::kMaxPanelShapes && waited_ > pace_.stuckPanel && game.panel[0].x < 0.5f) {
        PressSpace(out);
        ++discards_;
    }
}

std::string Autoplayer::WantedAction(const AutoplayView& view) const {
    switch (view.appState) {
        case MainMenu:
            return modeAction_;
        case ContinueConfirm:
            return "procNew";
        case StageMap:
            return view.game && view.game->levelPhase == 7 ? "procStart" : "";
        case AppState::GameOver:
            return "procContinue";
        case GameComplete:
            return "procMenu";
        default:
            return "";
    }
}

void Autoplayer::MenuFrame(const AutoplayView& view, std::vector<InputEvent>& out) {
    if (step_ == Step::MenuRelease) {
        out.push_back(InputEvent::Button(InputEvent::LeftUp));
        RestFor(pace_.restAfterClick);
        return;
    }
    std::string action = WantedAction(view);
    const ButtonView* target = nullptr;
    for (const ButtonView& button : view.buttons) {
        if (button.visible && button.action == action && !action.empty()) {
            target = &button;
            break;
        }
    }
    if (!target) {
        step_ = Step::Think;
        return;
    }
    step_ = Step::MenuClick;
    if (Glide(view, target->x, target->y, out)) {
        out.push_back(InputEvent::Button(InputEvent::LeftDown));
        step_ = Step::MenuRelease;
    }
}

}  // namespace tamblor
