#pragma once
// One level played without a window: the level state with every service it needs, stepped one fixed
// frame at a time on a manual clock. Input arrives only as events (from the bot or a recording), so a
// run depends on nothing but the seed, the level files and those events. Used by the level report,
// level tuning and the replay of recorded levels.
#include <cstdint>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "app/autoplay/Autoplayer.h"
#include "app/autoplay/InputEvent.h"
#include "app/autoplay/InputRecording.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

struct LevelRunSetup {
    std::string dataDir;
    std::string userDir;  // receives app.log
    int level = 1;
    int mode = ModeClassic;
    uint32_t seed = 1;
    double frameSeconds = 1.0 / 60.0;
};

struct LevelResult {
    bool won = false;
    bool lost = false;     // the clock ran out
    bool started = false;  // the level file could be played at all
    bool bonusLevel = false;
    float timeUsed = 0.0f;  // seconds of level clock spent (play time on bonus levels)
    float timeAllowed = 0.0f;
    int frames = 0;
    int placements = 0;
    int discards = 0;
    int transforms = 0;
    int bugs = 0;        // times the bug came onto the board
    int score = 0;       // when the level ended
    int finalScore = 0;  // once the level-end awards (completion and time bonuses) have landed
    int cells = 0;
};

class HeadlessLevel {
public:
    explicit HeadlessLevel(const LevelRunSetup& setup);
    HeadlessLevel(const HeadlessLevel&) = delete;
    HeadlessLevel& operator=(const HeadlessLevel&) = delete;

    // Reads the shape classes and starts the level as the stage map would. False when the classes or
    // the level file cannot be read (the reason is in app.log).
    bool Start();
    // One frame: the events go to the held input state and, for keys, to the level; the clock moves on
    // by one frame; the level update runs, then what drawing the scene does to the level (the bug moves,
    // value glides are applied, the tutorial set-up is imposed).
    void Frame(const std::vector<InputEvent>& events);
    bool Ended() const { return states_.State() == LevelWon || states_.State() == AppState::GameOver; }

    // A check value of everything the player can see of the level: state, phase, score, clock, board,
    // panel, held shape and pointer.
    uint64_t Check() const;
    AutoplayView View() const;

    Game& GetGame() { return game_; }
    const Game& GetGame() const { return game_; }
    int State() const { return states_.State(); }
    int Frames() const { return frames_; }
    // How many times the bug has come onto the board.
    int BugVisits() const { return bugVisits_; }
    // Level time in use when the level ended (or now).
    float TimeUsed() const;
    // After the end: lets the level-end show run out (at most maxSeconds), so the completion and time
    // bonuses fly into the score as they do before the next level starts.
    void FinishLevelEnd(double maxSeconds);

private:
    class SilentSound : public SoundEventPlayer {
    public:
        void PlayEvent(std::string_view) override {}
    };
    class NoTextures : public TextureFinder {
    public:
        Texture* FindTexture(std::string_view) override { return nullptr; }
    };
    void ApplyValueGlides();

    LevelRunSetup setup_;
    FileSystem files_;
    Log log_;
    Settings settings_;
    ManualClock clock_;  // before the language, which keeps it
    Language language_;
    StderrDialogs dialogs_;
    Random random_;
    InputState input_;
    CoreServices services_;
    AppStates states_;
    MouseButtons mouse_;
    SilentSound sound_;
    NoTextures textures_;
    EffectList effects_;
    Game game_;
    uint32_t clockStart_ = 0;
    double appTime_ = 0.0;
    int frames_ = 0;
    int bugVisits_ = 0;
    float endTimeUsed_ = -1.0f;
};

// Plays a started level with the bot until it is won or lost (or maxSeconds of frames have run). With
// a recording given, every frame is added to it with its events and check value.
LevelResult PlayLevelWithBot(HeadlessLevel& level, Autoplayer& bot, InputRecording* recording,
                             double maxSeconds);

// Plays a recorded level run again and compares the check values frame by frame.
struct ReplayResult {
    bool ok = false;         // every frame matched
    int divergedFrame = -1;  // first frame whose check value differs (0-based), -1 when none did
    int frames = 0;
    int score = 0;
    int state = 0;
    std::string error;  // the recording could not be used
};
ReplayResult ReplayLevel(const std::string& dataDir, const std::string& userDir,
                         const InputRecording& recording);

// The header of a level recording.
void DescribeLevelRun(const LevelRunSetup& setup, InputRecording& recording);

}  // namespace tamblor
