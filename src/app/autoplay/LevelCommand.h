#pragma once
// The one-level commands of the program: the bot plays a level without a window and reports how it
// went (optionally recording the run), or a recorded level run is replayed and checked frame by frame.
//   tamblor --autoplay --level N [--mode M] [--seed S] [--report] [--record FILE]
//   tamblor --replay FILE
#include <cstdint>
#include <string>

#include "app/autoplay/HeadlessLevel.h"

namespace tamblor {

struct LevelCommand {
    int level = 1;
    int mode = ModeClassic;
    uint32_t seed = 1;
    bool report = false;
    std::string record;  // a file to record the run into
    std::string replay;  // a level recording to play again instead
};

// True when the file is a recording of a single level (rather than of a whole run of the program).
bool LevelRecordingFile(const std::string& path);

// One line: "level 3 classic: won in 41.2 s of 95 s (43%), 27 placements, ...".
std::string FormatLevelResult(int level, int mode, const LevelResult& result);

// Runs the command; what it has to say goes into `out`. Returns the exit status: 0 when the level
// was won (or the replay matched), 1 when it was lost (or diverged), 2 when it could not run.
int RunLevelCommand(const LevelCommand& command, const std::string& dataDir, const std::string& userDir,
                    std::string& out);

}  // namespace tamblor
