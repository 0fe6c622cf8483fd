#include "app/autoplay/HeadlessLevel.h"

#include <cmath>
#include <cstdlib>

#include "app/autoplay/StateCheck.h"

namespace tamblor {

namespace {

// The level-end show (texts, bursts, flying bonuses) lasts a few seconds; this bounds the wait.
constexpr double kLevelEndSeconds = 30.0;

bool ParseInt(const std::string& text, long long lo, long long hi, long long& value) {
    if (text.empty() || text.size() > 12)
        return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end == text.c_str() + text.size() && value >= lo && value <= hi;
}

}  // namespace

HeadlessLevel::HeadlessLevel(const LevelRunSetup& setup)
    : setup_(setup),
      files_(setup.userDir, setup.dataDir),
      log_(files_),
      settings_(files_, log_),
      language_(files_, log_, clock_),
      services_{clock_, random_, input_, files_, log_, settings_, language_, dialogs_},
      states_(input_),
      effects_(clock_, random_, sound_),
      game_(services_, states_, mouse_, effects_, sound_, textures_) {
    random_.SRand15(setup.seed);
    clockStart_ = clock_.TimeGetTime();
    game_.hooks.clientSize = [] { return std::pair<int, int>(800, 600); };
    game_.gameMode = setup.mode;
    game_.levelNumber = setup.level;
}

bool HeadlessLevel::Start() {
    if (!game_.LoadShapeClasses("classes.xml"))
        return false;
    if (!game_.LevelFileExists(setup_.level)) {
        log_.WriteLog("Level " + std::to_string(setup_.level) + " cannot be played: no level file", 0);
        return false;
    }
    // As from the stage map: the level fades in and announces itself.
    states_.SetState(StageMap);
    game_.levelNumber = setup_.level;
    game_.StartLevel();
    return game_.cellCount > 0;
}

void HeadlessLevel::ApplyValueGlides() {
    // The drawing of a frame moves every started glide to its current value.
    for (int i = 0; i < effects_.Count(); ++i) {
        const Effect& e = effects_.At(i);
        if (e.kind == EffectTween && !e.pending && e.target) {
            *e.target = e.to * e.progress + (1.0f - e.progress) * e.from;
        }
    }
}

void HeadlessLevel::Frame(const std::vector<InputEvent>& events) {
    for (const InputEvent& event : events) {
        Message message = ApplyInputEvent(input_, event);
        if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) && states_.State() == Playing) {
            game_.OnKey(message.message, message.wParam);
        }
    }
    appTime_ += setup_.frameSeconds;
    clock_.Set(clockStart_ + static_cast<uint32_t>(std::llround(appTime_ * 1000.0)));
    ++frames_;
    if (states_.State() != Playing)
        return;
    float frameTime = static_cast<float>(setup_.frameSeconds);
    bool bugWasActive = game_.bug.active != 0;
    game_.UpdateLevel(frameTime);
    if (game_.bug.active && !bugWasActive)
        ++bugVisits_;
    if (Ended() && endTimeUsed_ < 0.0f)
        endTimeUsed_ = TimeUsed();
    if (game_.bug.active)
        game_.UpdateBug(frameTime);
    ApplyValueGlides();
    game_.ImposeTutorialSetup();
}

float HeadlessLevel::TimeUsed() const {
    if (endTimeUsed_ >= 0.0f)
        return endTimeUsed_;
    if (game_.IsBonusLevel())
        return game_.levelPhase == 3 ? game_.now - game_.playStartTime : 0.0f;
    return game_.levelTime - game_.timeLeft;
}

uint64_t HeadlessLevel::Check() const {
    return GameCheck(game_, states_.State());
}

AutoplayView HeadlessLevel::View() const {
    AutoplayView view;
    view.appState = states_.State();
    view.game = &game_;
    view.frameSeconds = static_cast<float>(setup_.frameSeconds);
    view.cursorX = input_.CursorX();
    view.cursorY = input_.CursorY();
    return view;
}

void HeadlessLevel::FinishLevelEnd(double maxSeconds) {
    for (double t = 0.0; t < maxSeconds && !effects_.Empty(); t += setup_.frameSeconds) {
        appTime_ += setup_.frameSeconds;
        clock_.Set(clockStart_ + static_cast<uint32_t>(std::llround(appTime_ * 1000.0)));
        effects_.Update();
        ApplyValueGlides();
    }
}

LevelResult PlayLevelWithBot(HeadlessLevel& level, Autoplayer& bot, InputRecording* recording,
                             double maxSeconds) {
    LevelResult result;
    const Game& game = level.GetGame();
    result.started = true;
    result.bonusLevel = game.IsBonusLevel();
    result.timeAllowed = game.levelTime;
    result.cells = game.cellCount;
    std::vector<InputEvent> events;
    double elapsed = 0.0;
    while (!level.Ended() && elapsed < maxSeconds) {
        AutoplayView view = level.View();
        events.clear();
        bot.Frame(view, events);
        level.Frame(events);
        elapsed += view.frameSeconds;
        if (recording) {
            RecordedFrame frame;
            frame.seconds = view.frameSeconds;
            frame.events = events;
            frame.check = level.Check();
            recording->frames.push_back(std::move(frame));
        }
    }
    result.won = level.State() == LevelWon;
    result.lost = level.State() == AppState::GameOver;
    result.timeUsed = level.TimeUsed();
    result.frames = level.Frames();
    result.placements = bot.Placements();
    result.discards = bot.Discards();
    result.transforms = bot.Transforms();
    result.bugs = level.BugVisits();
    result.score = game.score;
    if (result.won)
        level.FinishLevelEnd(kLevelEndSeconds);
    result.finalScore = game.score;
    return result;
}

void DescribeLevelRun(const LevelRunSetup& setup, InputRecording& recording) {
    recording.SetValue("kind", "level");
    recording.SetValue("seed", std::to_string(setup.seed));
    recording.SetValue("level", std::to_string(setup.level));
    recording.SetValue("mode", std::to_string(setup.mode));
}

ReplayResult ReplayLevel(const std::string& dataDir, const std::string& userDir,
                         const InputRecording& recording) {
    ReplayResult result;
    long long seed = 0, levelNumber = 0, mode = 0;
    if (recording.Value("kind") != "level" || !ParseInt(recording.Value("seed"), 0, 0xFFFFFFFFll, seed) ||
        !ParseInt(recording.Value("level"), 1, 100000, levelNumber) ||
        !ParseInt(recording.Value("mode"), 0, 2, mode)) {
        result.error = "the recording does not say which level it played (kind, seed, level, mode)";
        return result;
    }
    LevelRunSetup setup;
    setup.dataDir = dataDir;
    setup.userDir = userDir;
    setup.seed = static_cast<uint32_t>(seed);
    setup.level = static_cast<int>(levelNumber);
    setup.mode = static_cast<int>(mode);
    HeadlessLevel level(setup);
    if (!level.Start()) {
        result.error = "level " + std::to_string(setup.level) + " cannot be started";
        return result;
    }
    RecordingSource source(recording);
    std::vector<InputEvent> events;
    for (const RecordedFrame& frame : recording.frames) {
        events.clear();
        source.EventsForFrame(events);
        // Frames run at the recorded pace; the level keeps one fixed step, so a different one is a change.
        if (std::fabs(frame.seconds - setup.frameSeconds) > 1e-9) {
            result.divergedFrame = source.Frame();
            break;
        }
        level.Frame(events);
        if (frame.check && *frame.check != level.Check()) {
            result.divergedFrame = source.Frame();
            break;
        }
    }
    result.frames = level.Frames();
    result.score = level.GetGame().score;
    result.state = level.State();
    result.ok = result.divergedFrame < 0;
    return result;
}

}  // namespace tamblor
