#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamblor {

// What the player (or a script) asked for on the command line.
struct CommandLine {
    bool setup = false;              // exactly "/setup": the video setup dialog, then exit
    bool help = false;               // --help
    bool version = false;            // --version
    std::optional<bool> fullScreen;  // --fullscreen (true) / --windowed (false); else the option
    std::string dataDir;             // --datadir DIR
    std::string userDir;             // --userdir DIR
    std::optional<uint32_t> seed;    // --seed N: a fixed random seed
    bool headless = false;           // --headless: offscreen video, no audio device, no dialogs
    std::optional<int> frames;       // --frames N: stop after N frames
    int framesPerPicture = 1;        // --frames-per-picture N: headless, draw every N-th frame only
    std::string screenshot;          // --screenshot FILE: PNG of the last frame
    bool autoplay = false;           // --autoplay: the built-in player plays through the input
    bool oneGame = false;            // --one-game: with --autoplay, stop when the game is complete
    std::string record;              // --record FILE: the seed, frame times and input of the run
    std::string replay;              // --replay FILE: plays a recorded run again
    std::optional<int> level;        // --level N: play level N only (with --autoplay or --replay)
    std::optional<int> mode;         // --mode classic|transformer|relax (0, 1, 2)
    bool report = false;             // --report: print the result of a --level run
    bool developer = false;          // --developer: the developer keys F7, F8, F9 and F11 act
    std::string error;               // set when the arguments cannot be used; the program exits 2
};

// Reads the arguments (without the program name). Both "--opt value" and "--opt=value" work.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string UsageText(const std::string& programName);

}  // namespace tamblor
