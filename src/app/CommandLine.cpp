#include "app/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace tamblor {

namespace {

bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t* out) {
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value > max)
        return false;
    *out = value;
    return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    // The old switch is compared as the whole command line, letter case included.
    if (args.size() == 1 && args[0] == "/setup") {
        line.setup = true;
        return line;
    }
    for (size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (name.rfind("--", 0) == 0) {
            size_t eq = name.find('=');
            if (eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        auto takeValue = [&](std::string* out) {
            if (inlineValue) {
                *out = *inlineValue;
            } else if (i + 1 < args.size()) {
                *out = args[++i];
            } else {
                line.error = "option " + name + " needs a value";
                return false;
            }
            if (out->empty()) {
                line.error = "option " + name + " needs a value";
                return false;
            }
            return true;
        };
        auto noValue = [&] {
            if (inlineValue)
                line.error = "option " + name + " takes no value";
            return !inlineValue;
        };
        std::string value;
        // A whole number from `least` to `most`; the error names the option and what it wants.
        auto takeNumber = [&](uint64_t least, uint64_t most, const char* wanted, uint64_t* out) {
            if (!takeValue(&value))
                return false;
            if (ParseUnsigned(value, most, out) && *out >= least)
                return true;
            line.error = name + " wants " + wanted + ", not '" + value + "'";
            return false;
        };
        // Words in the old slash style (other than "/setup" alone, above) start the game normally.
        if (!name.empty() && name[0] == '/')
            continue;
        if (name == "--help" || name == "-h") {
            if (noValue())
                line.help = true;
        } else if (name == "--version") {
            if (noValue())
                line.version = true;
        } else if (name == "--windowed") {
            if (noValue())
                line.fullScreen = false;
        } else if (name == "--fullscreen") {
            if (noValue())
                line.fullScreen = true;
        } else if (name == "--headless") {
            if (noValue())
                line.headless = true;
        } else if (name == "--datadir") {
            if (takeValue(&value))
                line.dataDir = value;
        } else if (name == "--userdir") {
            if (takeValue(&value))
                line.userDir = value;
        } else if (name == "--screenshot") {
            if (takeValue(&value))
                line.screenshot = value;
        } else if (name == "--seed") {
            uint64_t n = 0;
            if (takeNumber(0, std::numeric_limits<uint32_t>::max(), "a number from 0 to 4294967295", &n))
                line.seed = static_cast<uint32_t>(n);
        } else if (name == "--frames") {
            uint64_t n = 0;
            if (takeNumber(1, std::numeric_limits<int>::max(), "a positive number", &n))
                line.frames = static_cast<int>(n);
        } else if (name == "--frames-per-picture") {
            uint64_t n = 0;
            if (takeNumber(1, 1000, "a number from 1 to 1000", &n))
                line.framesPerPicture = static_cast<int>(n);
        } else if (name == "--one-game") {
            if (noValue())
                line.oneGame = true;
        } else if (name == "--autoplay") {
            if (noValue())
                line.autoplay = true;
        } else if (name == "--report") {
            if (noValue())
                line.report = true;
        } else if (name == "--developer") {
            if (noValue())
                line.developer = true;
        } else if (name == "--record") {
            if (takeValue(&value))
                line.record = value;
        } else if (name == "--replay") {
            if (takeValue(&value))
                line.replay = value;
        } else if (name == "--level") {
            uint64_t n = 0;
            if (takeNumber(1, 9999, "a level number from 1 to 9999", &n))
                line.level = static_cast<int>(n);
        } else if (name == "--mode") {
            if (takeValue(&value)) {
                if (value == "classic" || value == "0") {
                    line.mode = 0;
                } else if (value == "transformer" || value == "1") {
                    line.mode = 1;
                } else if (value == "relax" || value == "2") {
                    line.mode = 2;
                } else {
                    line.error = "--mode wants classic, transformer or relax, not '" + value + "'";
                }
            }
        } else {
            line.error = "unknown option '" + args[i] + "'";
        }
    }
    if (line.error.empty() && line.fullScreen && line.headless && *line.fullScreen) {
        line.error = "--fullscreen and --headless cannot be combined";
    }
    if (line.error.empty() && !line.record.empty() && !line.replay.empty()) {
        line.error = "--record and --replay cannot be combined";
    }
    if (line.error.empty() && line.framesPerPicture > 1 && !line.headless) {
        line.error = "--frames-per-picture needs --headless";
    }
    if (line.error.empty() && line.oneGame && !line.autoplay) {
        line.error = "--one-game needs --autoplay";
    }
    if (line.error.empty() && line.report && !line.level) {
        line.error = "--report needs --level N";
    }
    if (line.error.empty() && line.level && !line.autoplay && line.replay.empty()) {
        line.error = "--level needs --autoplay (or --replay)";
    }
    return line;
}

std::string UsageText(const std::string& programName) {
    return "Usage: " + programName +
           " [options]\n"
           "Tamblor 2.0, a puzzle game.\n"
           "\n"
           "  --help             show this text and exit\n"
           "  --version          show the version and exit\n"
           "  --windowed         start in a window\n"
           "  --fullscreen       start full screen\n"
           "  --datadir DIR      read the game data from DIR\n"
           "  --userdir DIR      keep settings, saved games, scores and the log in DIR\n"
           "  --seed N           start the random numbers from N (repeatable runs)\n"
           "  --headless         run without a display: offscreen drawing, no sound, no dialogs,\n"
           "                     a fixed 1/60 s frame time\n"
           "  --frames N         stop after N frames\n"
           "  --frames-per-picture N\n"
           "                     with --headless: draw only every N-th frame; every frame still\n"
           "                     runs in full, so a long run goes up to N times faster\n"
           "  --screenshot FILE  save the last frame as a PNG picture\n"
           "  --autoplay         let the built-in player play, menus included\n"
           "  --one-game         with --autoplay: stop once the game is complete\n"
           "  --record FILE      record the seed, frame times and every input into FILE\n"
           "  --replay FILE      replay a recorded run; says at which frame it goes another way\n"
           "  --level N          with --autoplay: play level N only, without a window\n"
           "  --mode M           with --level: classic, transformer or relax (default classic)\n"
           "  --report           with --level: print whether the level was won, the time\n"
           "                     used, the placements and the score (with and without the\n"
           "                     completion and time bonuses)\n"
           "  --developer        turn on the developer keys in a level: F7 wins it as a bonus\n"
           "                     level, F8 empties the clock, F9 jumps to the end of the game,\n"
           "                     F11 fills every hole (without it F11 and Alt+Enter switch\n"
           "                     between window and full screen)\n"
           "  /setup             (alone) choose the video mode and exit\n";
}

}  // namespace tamblor
