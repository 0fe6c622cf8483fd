#pragma once
// Connects the bot, the recording of a run or the replay of one to the running application, through
// its per-frame input and its message and frame-end observers. The bot plays from the main menu on:
// it starts a game of its mode, starts each level from the stage map, plays, and reports each level's
// end. A recording keeps every message the game received, as input events, with the frame times and
// a check value per frame; a replay feeds them back and stops at the first frame that differs.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/autoplay/Autoplayer.h"
#include "app/autoplay/InputRecording.h"

namespace tamblor {

class Application;

struct RunDriverOptions {
    bool autoplay = false;
    int mode = 0;                            // the bot's game mode
    bool oneGame = false;                    // stop when the bot leaves the game-complete screen
    uint32_t seed = 0;                       // written into a recording
    bool headless = false;                   // written into a recording
    std::string record;                      // file to record the run into
    const InputRecording* replay = nullptr;  // a recorded run to play back
    // Lines for the player: the end of each level the bot played, a replay's verdict.
    std::function<void(const std::string&)> say;
};

class RunDriver {
public:
    RunDriver(Application& app, RunDriverOptions options);
    ~RunDriver();
    RunDriver(const RunDriver&) = delete;
    RunDriver& operator=(const RunDriver&) = delete;

    // After the run: writes the recording (false when it cannot be written).
    bool Finish();
    bool ReplayDiverged() const { return divergedFrame_ >= 0; }
    int DivergedFrame() const { return divergedFrame_; }
    bool ReplayFinished() const { return replayDone_; }
    const InputRecording& Recorded() const { return recording_; }
    int LevelsWon() const { return levelsWon_; }

private:
    void BeforeFrame(std::vector<InputEvent>& events);
    void OnMessage(const Message& message);
    void AfterFrame();
    void WatchLevels();
    void Stop();
    AutoplayView View() const;

    Application& app_;
    RunDriverOptions options_;
    std::unique_ptr<Autoplayer> bot_;
    std::unique_ptr<RecordingSource> replaySource_;
    InputRecording recording_;
    std::vector<InputEvent> pending_;
    int recordedX_ = -1;
    int recordedY_ = -1;
    int frame_ = 0;
    int divergedFrame_ = -1;
    bool replayDone_ = false;
    bool stopping_ = false;
    int lastState_ = -1;
    int placementsAtStart_ = 0;
    int levelsWon_ = 0;
};

}  // namespace tamblor
