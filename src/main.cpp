// Tamblor 2.0: the program entry. Everything else lives in the tamblor_core library.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Folders.h"
#include "core/Settings.h"
#include "app/autoplay/LevelCommand.h"
#include "app/autoplay/RunDriver.h"
#include "core/Log.h"
#include "platform/FileSystem.h"

int main(int argc, char** argv) {
    using namespace tamblor;
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine line = ParseCommandLine(args);
    if (!line.error.empty()) {
        std::fprintf(stderr, "tamblor: %s\nTry 'tamblor --help' for the options.\n", line.error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(UsageText("tamblor").c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("Tamblor %s\n", TAMBLOR_VERSION);
        return 0;
    }

    Folders folders = ChooseFolders(line);
    if (!PrepareUserFolder(folders)) {
        std::fprintf(stderr, "tamblor: %s\n", folders.error.c_str());
        return 1;
    }
    {
        FileSystem files(folders.userDir, folders.dataDir);
        Log log(files);
        Settings settings(files, log);
        WriteFirstStartDefaults(files, settings);
    }

    // One level played (or a recorded level replayed) without a window: for reports and level tuning.
    if (line.level || (!line.replay.empty() && LevelRecordingFile(line.replay))) {
        LevelCommand command;
        command.level = line.level.value_or(1);
        command.mode = line.mode.value_or(0);
        command.seed = line.seed.value_or(1);
        command.report = line.report;
        command.record = line.record;
        command.replay = line.replay;
        std::string out;
        int status = RunLevelCommand(command, folders.dataDir, folders.userDir, out);
        std::fputs(out.c_str(), status == 2 ? stderr : stdout);
        return status;
    }

    // A recorded run is replayed headless with the seed it was recorded with.
    InputRecording replay;
    if (!line.replay.empty()) {
        std::string error;
        if (!LoadRecording(line.replay, replay, &error) || replay.Value("kind") != "run") {
            std::fprintf(stderr, "tamblor: cannot replay '%s': %s\n", line.replay.c_str(),
                         error.empty() ? "not a recording of a run" : error.c_str());
            return 2;
        }
        line.headless = true;
        line.seed = static_cast<uint32_t>(std::strtoul(replay.Value("seed", "0").c_str(), nullptr, 10));
    }
    // A recording needs to know the seed; without --seed one is chosen here.
    if (!line.record.empty() && !line.seed)
        line.seed = static_cast<uint32_t>(std::time(nullptr));

    ApplicationConfig config;
    config.userDir = folders.userDir;
    config.dataDir = folders.dataDir;
    config.headless = line.headless;
    config.fullScreen = line.fullScreen;
    config.seed = line.seed;
    config.maxFrames = line.frames.value_or(0);
    config.framesPerPicture = line.framesPerPicture;
    config.screenshot = line.screenshot;
    config.developer = line.developer;
    Application app(config);

    if (line.setup) {
        app.SetupVideoMode(true);
        return 0;
    }
    std::string mode;
    if (!app.AppSettings().ReadConfigString("VIDEO", "Mode", mode))
        app.SetupVideoMode(true);

    const int32_t created = app.Create();
    if (created < 0) {
        // Missing game data has been reported with its folder; other failures are the display's.
        if (!line.headless && created != D3DAPPERR_MEDIANOTFOUND) {
            std::fprintf(stderr,
                         "tamblor: the game could not open its window. Without a display, try: "
                         "tamblor --headless --frames 600 --screenshot shot.png\n");
        }
        return 1;
    }
    std::unique_ptr<RunDriver> driver;
    if (line.autoplay || !line.record.empty() || !line.replay.empty()) {
        RunDriverOptions options;
        options.autoplay = line.autoplay;
        options.mode = line.mode.value_or(0);
        options.oneGame = line.oneGame;
        options.seed = line.seed.value_or(0);
        options.headless = line.headless;
        options.record = line.record;
        options.replay = line.replay.empty() ? nullptr : &replay;
        options.say = [](const std::string& text) {
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
        };
        driver = std::make_unique<RunDriver>(app, options);
    }
    int result = app.Run();
    if (driver) {
        if (!driver->Finish()) {
            std::fprintf(stderr, "tamblor: the recording '%s' could not be written\n", line.record.c_str());
            return 1;
        }
        if (driver->ReplayDiverged()) return 1;
    }
    if (app.ScreenshotFailed()) {
        std::fprintf(stderr, "tamblor: the screenshot '%s' could not be written\n", line.screenshot.c_str());
        return 1;
    }
    return result;
}
