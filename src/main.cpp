// Tamblor 2.0: the program entry. Everything else lives in the tamblor_core library.
#include <cstdio>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Folders.h"
#include "app/Settings.h"
#include "app/autoplay/LevelCommand.h"
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
        Settings settings(files);
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

    ApplicationConfig config;
    config.userDir = folders.userDir;
    config.dataDir = folders.dataDir;
    config.headless = line.headless;
    config.fullScreen = line.fullScreen;
    config.seed = line.seed;
    config.maxFrames = line.frames.value_or(0);
    config.screenshot = line.screenshot;
    Application app(config);

    if (line.setup) {
        app.SetupVideoMode(true);
        return 0;
    }
    std::string mode;
    if (!app.AppSettings().ReadConfigString("VIDEO", "Mode", mode))
        app.SetupVideoMode(true);

    if (app.Create() < 0) {
        if (!line.headless) {
            std::fprintf(stderr,
                         "tamblor: the game could not open its window. Without a display, try: "
                         "tamblor --headless --frames 600 --screenshot shot.png\n");
        }
        return 1;
    }
    int result = app.Run();
    if (app.ScreenshotFailed()) {
        std::fprintf(stderr, "tamblor: the screenshot '%s' could not be written\n", line.screenshot.c_str());
        return 1;
    }
    return result;
}
