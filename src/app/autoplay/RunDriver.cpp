#include "app/autoplay/RunDriver.h"

#include <cmath>
#include <cstdio>

#include "app/Application.h"
#include "app/autoplay/ModeNames.h"
#include "app/autoplay/StateCheck.h"
#include "core/FloatToInt.h"

namespace tamblor {

namespace {

constexpr double kFrameTimeTolerance = 1e-6;

}  // namespace

RunDriver::RunDriver(Application& app, RunDriverOptions options) : app_(app), options_(std::move(options)) {
    if (options_.replay) {
        replaySource_ = std::make_unique<RecordingSource>(*options_.replay);
    } else if (options_.autoplay) {
        bot_ = std::make_unique<Autoplayer>(ModeAction(options_.mode));
    }
    recording_.SetValue("kind", "run");
    recording_.SetValue("seed", std::to_string(options_.seed));
    recording_.SetValue("headless", options_.headless ? "1" : "0");
    app_.frameInput = [this](std::vector<InputEvent>& events) { BeforeFrame(events); };
    app_.onMessage = [this](const Message& message) { OnMessage(message); };
    app_.onFrameEnd = [this] { AfterFrame(); };
}

RunDriver::~RunDriver() {
    app_.frameInput = nullptr;
    app_.onMessage = nullptr;
    app_.onFrameEnd = nullptr;
}

AutoplayView RunDriver::View() const {
    AutoplayView view;
    Application& app = app_;
    view.appState = app.State();
    view.game = &app.GameState();
    if (Screen* screen = app.Screens().ForState(view.appState)) {
        for (int i = 0; i < screen->buttonCount && i < Screen::kMaxButtons; ++i) {
            const ScreenButton& button = screen->buttons[static_cast<size_t>(i)];
            view.buttons.push_back({button.name, button.action, button.x, button.y, button.visible != 0});
        }
    }
    if (app.GameState().hooks.clientSize) {
        auto [w, h] = app.GameState().hooks.clientSize();
        if (w > 0 && h > 0) {
            view.clientWidth = w;
            view.clientHeight = h;
        }
    }
    view.frameSeconds = app.ElapsedTime() > 0.0f ? app.ElapsedTime() : 1.0f / 60.0f;
    view.cursorX = app.Input().CursorX();
    view.cursorY = app.Input().CursorY();
    return view;
}

void RunDriver::BeforeFrame(std::vector<InputEvent>& events) {
    if (stopping_)
        return;
    if (replaySource_) {
        if (replaySource_->Finished()) {
            replayDone_ = true;
            if (options_.say) {
                options_.say("replay: " + std::to_string(frame_) + " frames as recorded, score " +
                             std::to_string(app_.GameState().score));
            }
            Stop();
            return;
        }
        replaySource_->EventsForFrame(events);
    } else if (bot_) {
        bot_->Frame(View(), events);
    }
}

void RunDriver::OnMessage(const Message& message) {
    // Every input message, from the window, the bot or a replay, as the event that makes it.
    switch (message.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            if (message.x != recordedX_ || message.y != recordedY_) {
                pending_.push_back(InputEvent::MoveTo(message.x, message.y));
                recordedX_ = message.x;
                recordedY_ = message.y;
            }
            if (message.message == WM_LBUTTONDOWN)
                pending_.push_back(InputEvent::Button(InputEvent::LeftDown));
            if (message.message == WM_LBUTTONUP)
                pending_.push_back(InputEvent::Button(InputEvent::LeftUp));
            if (message.message == WM_RBUTTONDOWN)
                pending_.push_back(InputEvent::Button(InputEvent::RightDown));
            if (message.message == WM_RBUTTONUP)
                pending_.push_back(InputEvent::Button(InputEvent::RightUp));
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            if (message.wParam >= 1 && message.wParam <= 255) {
                InputEvent::Kind kind = message.message == WM_KEYDOWN ? InputEvent::KeyDown
                                        : message.message == WM_KEYUP ? InputEvent::KeyUp
                                                                      : InputEvent::Char;
                pending_.push_back(InputEvent::Key(kind, static_cast<int>(message.wParam)));
            }
            break;
        default:
            break;
    }
}

void RunDriver::AfterFrame() {
    if (stopping_)
        return;
    uint64_t check = GameCheck(app_.GameState(), app_.State());
    double seconds = app_.ElapsedTime();
    if (!options_.record.empty()) {
        RecordedFrame frame;
        frame.seconds = seconds;
        frame.events = pending_;
        frame.check = check;
        recording_.frames.push_back(std::move(frame));
    }
    pending_.clear();
    if (replaySource_) {
        const RecordedFrame& expected = options_.replay->frames[static_cast<size_t>(replaySource_->Frame())];
        bool sameTime = std::fabs(expected.seconds - seconds) <= kFrameTimeTolerance;
        if (!sameTime || (expected.check && *expected.check != check)) {
            divergedFrame_ = replaySource_->Frame();
            if (options_.say) {
                options_.say("replay diverges at frame " + std::to_string(divergedFrame_) +
                             (sameTime ? "" : " (another frame time)"));
            }
            Stop();
            return;
        }
    }
    ++frame_;
    if (bot_)
        WatchLevels();
}

void RunDriver::WatchLevels() {
    int state = app_.State();
    const Game& game = app_.GameState();
    if (state == lastState_)
        return;
    int previous = lastState_;
    lastState_ = state;
    // One game ends when the bot leaves the game-complete screen.
    if (previous == GameComplete && options_.oneGame)
        Stop();
    if (!options_.say)
        return;
    char line[200];
    if (state == Playing && previous != Paused) {
        placementsAtStart_ = bot_->Placements();
    } else if (state == LevelWon && previous == Playing) {
        ++levelsWon_;
        float used = game.IsBonusLevel() ? game.now - game.playStartTime : game.levelTime - game.timeLeft;
        std::snprintf(line, sizeof line, "level %d %s: won in %.1f s%s, %d placements, score %d",
                      game.levelNumber, ModeName(game.gameMode), used,
                      game.IsBonusLevel()
                          ? " (bonus level)"
                          : (" of " + std::to_string(TruncateToInt(game.levelTime)) + " s").c_str(),
                      bot_->Placements() - placementsAtStart_, game.score);
        options_.say(line);
    } else if (state == AppState::GameOver) {
        std::snprintf(line, sizeof line, "level %d %s: lost, score %d", game.levelNumber,
                      ModeName(game.gameMode), game.score);
        options_.say(line);
    } else if (state == StageMap) {
        std::snprintf(line, sizeof line, "stage map of stage %d", Game::StageOf(game.levelNumber));
        options_.say(line);
    } else if (state == GameComplete) {
        options_.say("game complete, score " + std::to_string(game.score));
    }
}

void RunDriver::Stop() {
    stopping_ = true;
    Message close;
    close.message = WM_CLOSE;
    app_.PostMessage(close);
}

bool RunDriver::Finish() {
    if (options_.record.empty())
        return true;
    return SaveRecording(options_.record, recording_);
}

}  // namespace tamblor
