// The program itself, started as a separate process: command line, folders and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "TestSupport.h"
#include "BuildPaths.h"

namespace tamblor {

namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs the program with a display-less environment and its own home folder. In sanitizer builds the
// child's leak check is off: the OpenGL driver is unloaded at the program's exit and its own
// allocations then show as leaks that name no module. Our code's leaks are checked in-process, where
// the test run keeps the driver loaded.
Outcome RunProgram(const std::string& arguments, const std::string& home) {
    std::string command = "ASAN_OPTIONS=detect_leaks=0 SDL_VIDEODRIVER=offscreen TAMBLOR_NO_DIALOGS=1 HOME=" + home +
                          " XDG_DATA_HOME= " + std::string(TAMBLOR_TEST_BINARY_DIR) + "/../tamblor " +
                          arguments + " 2>&1";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
    int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

}  // namespace

TEST(ApplicationProgram, CommandLineAndFolderErrorsEndWithAStatus) {
    test::TempDir dir;
    dir.Write("afile", "x");
    dir.Write("nodata/readme.txt", "not the game");
    Outcome bad = RunProgram("--bogus", dir.Path());
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("unknown option '--bogus'"), std::string::npos) << bad.output;
    EXPECT_NE(bad.output.find("--help"), std::string::npos);

    Outcome file = RunProgram("--headless --userdir " + dir / "afile", dir.Path());
    EXPECT_EQ(file.status, 1);
    EXPECT_NE(file.output.find("is not a folder"), std::string::npos) << file.output;

    // A data folder without the game's files: a message that names it, and status 1.
    Outcome empty =
        RunProgram("--headless --datadir " + dir / "nodata" + " --userdir " + dir / "u", dir.Path());
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.output.find(dir / "nodata"), std::string::npos) << empty.output;
    EXPECT_NE(empty.output.find("classes.xml"), std::string::npos) << empty.output;

    Outcome version = RunProgram("--version", dir.Path());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "Tamblor 2.0.0\n");
    Outcome help = RunProgram("--help", dir.Path());
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--headless"), std::string::npos);
}

TEST(ApplicationProgram, FreshUserFolderRunsHeadlessToAScreenshot) {
    test::TempDir dir;
    std::string user = dir / "new/user";
    Outcome run = RunProgram(
        "--headless --seed 7 --frames 5 --screenshot " + dir / "shot.png" + " --userdir " + user, dir.Path());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("Video modes"), std::string::npos);  // no setup dialog on a first start
    EXPECT_TRUE(dir.Has("shot.png"));
    EXPECT_EQ(dir.Read("shot.png").substr(1, 3), "PNG");
    EXPECT_NE(dir.Read("new/user/app.log").find("*** Session finished ***"), std::string::npos);

    // "/setup" alone shows the mode list (headless: printed) and ends without starting the game.
    Outcome setup = RunProgram("/setup", dir.Path());
    EXPECT_EQ(setup.status, 0);
    EXPECT_NE(setup.output.find("800 x 600 - 16 bit"), std::string::npos) << setup.output;
    // Without --userdir the user folder is under the home folder's data folder.
    EXPECT_TRUE(dir.Has(".local/share/tamblor/app.log"));
}

}  // namespace tamblor
