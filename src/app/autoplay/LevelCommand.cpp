#include "app/autoplay/LevelCommand.h"

#include <algorithm>
#include <cstdio>

#include "app/autoplay/ModeNames.h"

namespace tamblor {

namespace {

// The bot gets the level's time and a little more (bonus levels have no clock; ten minutes is plenty).
constexpr double kExtraSeconds = 30.0;
constexpr double kLongestRun = 600.0;

}  // namespace

bool LevelRecordingFile(const std::string& path) {
    InputRecording recording;
    return LoadRecording(path, recording, nullptr) && recording.Value("kind") == "level";
}

std::string FormatLevelResult(int level, int mode, const LevelResult& result) {
    char line[320];
    const char* outcome = result.won ? "won" : result.lost ? "lost (time ran out)" : "not finished";
    if (result.bonusLevel) {
        std::snprintf(line, sizeof line,
                      "level %d %s: %s, bonus level in %.1f s, %d placements, %d discards, %d transforms, "
                      "%d bugs, %d holes, score %d (%d with the level-end bonus), %d frames",
                      level, ModeName(mode), outcome, result.timeUsed, result.placements, result.discards,
                      result.transforms, result.bugs, result.cells, result.score, result.finalScore,
                      result.frames);
    } else {
        float share = result.timeAllowed > 0.0f ? 100.0f * result.timeUsed / result.timeAllowed : 0.0f;
        std::snprintf(line, sizeof line,
                      "level %d %s: %s in %.1f s of %.0f s (%.0f%% used), %d placements, %d discards, "
                      "%d transforms, %d bugs, %d holes, score %d (%d with the completion and time bonuses), "
                      "%d frames",
                      level, ModeName(mode), outcome, result.timeUsed, result.timeAllowed, share,
                      result.placements, result.discards, result.transforms, result.bugs, result.cells,
                      result.score, result.finalScore, result.frames);
    }
    return line;
}

int RunLevelCommand(const LevelCommand& command, const std::string& dataDir, const std::string& userDir,
                    std::string& out) {
    if (!command.replay.empty()) {
        InputRecording recording;
        std::string error;
        if (!LoadRecording(command.replay, recording, &error)) {
            out = "replay: " + error + "\n";
            return 2;
        }
        ReplayResult replay = ReplayLevel(dataDir, userDir, recording);
        if (!replay.error.empty()) {
            out = "replay: " + replay.error + "\n";
            return 2;
        }
        if (!replay.ok) {
            out = "replay diverges at frame " + std::to_string(replay.divergedFrame) + " of " +
                  std::to_string(recording.frames.size()) + "\n";
            return 1;
        }
        out = "replay: " + std::to_string(replay.frames) + " frames as recorded, score " +
              std::to_string(replay.score) + "\n";
        return 0;
    }

    LevelRunSetup setup;
    setup.dataDir = dataDir;
    setup.userDir = userDir;
    setup.level = command.level;
    setup.mode = command.mode;
    setup.seed = command.seed;
    HeadlessLevel level(setup);
    if (!level.Start()) {
        out = "level " + std::to_string(command.level) + " cannot be played (see app.log)\n";
        return 2;
    }
    InputRecording recording;
    DescribeLevelRun(setup, recording);
    Autoplayer bot(ModeAction(command.mode));
    double limit = std::min(kLongestRun, static_cast<double>(level.GetGame().levelTime) + kExtraSeconds);
    LevelResult result = PlayLevelWithBot(level, bot, command.record.empty() ? nullptr : &recording, limit);
    out.clear();
    if (command.report)
        out = FormatLevelResult(command.level, command.mode, result) + "\n";
    if (!command.record.empty() && !SaveRecording(command.record, recording)) {
        out += "cannot write the recording " + command.record + "\n";
        return 2;
    }
    return result.won ? 0 : 1;
}

}  // namespace tamblor
