#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestSupport.h"
#include "app/CommandLine.h"
#include "app/Folders.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"

namespace tamblor {

namespace {

// Restores the working directory the folder set-up changes.
class KeepWorkingDirectory {
public:
    KeepWorkingDirectory() : dir_(std::filesystem::current_path()) {}
    ~KeepWorkingDirectory() { std::filesystem::current_path(dir_); }

private:
    std::filesystem::path dir_;
};

}  // namespace

TEST(Folders, UserFolderIsCreatedAndBecomesTheCurrentDirectory) {
    KeepWorkingDirectory keep;
    test::TempDir temp;
    temp.Write("data/classes.xml", "<x/>");
    CommandLine line;
    line.dataDir = temp / "data";
    line.userDir = temp / "deep/user/folder";
    Folders folders = ChooseFolders(line);
    ASSERT_EQ(folders.error, "");
    ASSERT_TRUE(PrepareUserFolder(folders));
    EXPECT_TRUE(std::filesystem::is_directory(temp / "deep/user/folder"));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(temp / "deep/user/folder"));
    EXPECT_EQ(folders.dataDir, temp / "data");
}

TEST(Folders, UnusableFoldersGiveClearErrors) {
    KeepWorkingDirectory keep;
    test::TempDir temp;
    temp.Write("data/x", "");
    temp.Write("afile", "not a folder");
    CommandLine line;
    line.dataDir = temp / "data";
    line.userDir = temp / "afile";
    Folders folders = ChooseFolders(line);
    EXPECT_FALSE(PrepareUserFolder(folders));
    EXPECT_NE(folders.error.find("not a folder"), std::string::npos) << folders.error;

    line.userDir = temp / "user";
    line.dataDir = temp / "missing";
    folders = ChooseFolders(line);
    EXPECT_NE(folders.error.find("missing"), std::string::npos);
    EXPECT_FALSE(PrepareUserFolder(folders));

    if (::geteuid() != 0) {  // root may write anywhere
        std::filesystem::create_directories(temp / "locked");
        ::chmod((temp / "locked").c_str(), 0555);
        line.dataDir = temp / "data";
        line.userDir = temp / "locked/user";
        folders = ChooseFolders(line);
        EXPECT_FALSE(PrepareUserFolder(folders));
        EXPECT_NE(folders.error.find("locked/user"), std::string::npos) << folders.error;
    }
}

TEST(Folders, FirstStartWritesTheVideoModeOnlyOnce) {
    test::TempDir temp;
    temp.Write("data/config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    std::filesystem::create_directories(temp / "user");
    FileSystem files(temp / "user", temp / "data");
    Log log(files);
    Settings settings(files, log);
    ::chmod((temp / "data").c_str(), 0555);  // the data folder may be read-only

    EXPECT_TRUE(WriteFirstStartDefaults(files, settings));
    std::string mode;
    ASSERT_EQ(settings.ReadConfigString("VIDEO", "Mode", mode), 1);
    EXPECT_EQ(mode, "800 x 600 - 32 bit");
    EXPECT_TRUE(temp.Has("user/config.ini"));
    EXPECT_NE(temp.Read("user/config.ini").find("btnFullScreen=0"),
              std::string::npos);  // the data folder's keys kept
    EXPECT_EQ(temp.Read("data/config.ini"), "[OPTIONS]\r\nbtnFullScreen=0\r\n");

    // The player's own choice stays on later starts.
    settings.WriteConfigString("VIDEO", "Mode", "1024 x 768 - 16 bit");
    EXPECT_FALSE(WriteFirstStartDefaults(files, settings));
    settings.ReadConfigString("VIDEO", "Mode", mode);
    EXPECT_EQ(mode, "1024 x 768 - 16 bit");
    ::chmod((temp / "data").c_str(), 0755);
}

TEST(Folders, FirstStartKeepsAModeGivenByTheDataFolder) {
    test::TempDir temp;
    temp.Write("data/config.ini", "[VIDEO]\r\nMode=1024 x 768 - 32 bit\r\n");
    std::filesystem::create_directories(temp / "user");
    FileSystem files(temp / "user", temp / "data");
    Log log(files);
    Settings settings(files, log);
    EXPECT_TRUE(WriteFirstStartDefaults(files, settings));
    std::string mode;
    settings.ReadConfigString("VIDEO", "Mode", mode);
    EXPECT_EQ(mode, "1024 x 768 - 32 bit");
}

}  // namespace tamblor
