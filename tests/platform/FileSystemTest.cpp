#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "TestSupport.h"

namespace tamblor {
namespace {

using test::TempDir;

TEST(FileSystem, ResolvesBackslashNamesCaseInsensitivelyUserFolderFirst) {
    TempDir user, data;
    data.Write("Graphics/Back_Menu.jpg", "data");
    data.Write("config.ini", "data-config");
    user.Write("config.ini", "user-config");
    FileSystem fs(user.Path(), data.Path());

    std::string text;
    ASSERT_TRUE(fs.ReadFile("graphics\\back_menu.JPG", text));
    EXPECT_EQ(text, "data");
    ASSERT_TRUE(fs.ReadFile("CONFIG.INI", text));
    EXPECT_EQ(text, "user-config");
    EXPECT_FALSE(fs.Exists("Graphics\\missing.png"));
    EXPECT_FALSE(fs.Exists("Graphics"));  // a folder is not a file
    EXPECT_FALSE(fs.Exists(""));
    EXPECT_FALSE(fs.Exists("..\\etc\\passwd"));
}

TEST(FileSystem, WritesGoToUserFolderReusingExistingLetterCase) {
    TempDir user, data;
    user.Write("Config.INI", "old");
    FileSystem fs(user.Path(), data.Path());
    ASSERT_TRUE(fs.WriteFileAtomic("config.ini", "new"));
    EXPECT_EQ(user.Read("Config.INI"), "new");
    EXPECT_FALSE(user.Has("config.ini") && user.Read("config.ini") != "new");

    ASSERT_TRUE(fs.WriteFileAtomic("Levels\\level_3.xml", "<x/>"));
    EXPECT_EQ(user.Read("Levels/level_3.xml"), "<x/>");
    EXPECT_FALSE(fs.WriteFileAtomic("..\\escape.txt", "x"));
}

TEST(FileSystem, ANameRememberedAsDataOnlyIsFoundInTheUserFolderAfterAWrite) {
    // A name read from the data folder is remembered as missing from the user folder; each way a user
    // file can appear through the game makes the next read find it there, and so does any way at all
    // when misses are not remembered.
    struct Case {
        const char* how;
        const char* dataFile;  // as stored in the data folder
        const char* name;      // as the game reads it
        std::function<bool(FileSystem&, TempDir&)> makeUserFile;
        bool rememberMisses = true;
    };
    const Case cases[] = {
        {"atomic write in other letters", "Levels/level_1.xml", "Levels\\level_1.xml",
         [](FileSystem& fs, TempDir&) { return fs.WriteFileAtomic("LEVELS\\LEVEL_1.XML", "user"); }},
        {"append in other letters", "scores.ini", "scores.ini",
         [](FileSystem& fs, TempDir&) { return fs.AppendFile("Scores.INI", "user"); }},
        {"written by someone else, then the user folder set again", "Levels/level_1.xml",
         "Levels\\level_1.xml",
         [](FileSystem& fs, TempDir& user) {
             user.Write("Levels/level_1.xml", "user");
             fs.SetUserDir(user.Path());
             return true;
         }},
        {"written by someone else while misses are not remembered", "Levels/level_1.xml",
         "Levels\\level_1.xml",
         [](FileSystem&, TempDir& user) {
             user.Write("Levels/level_1.xml", "user");
             return true;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TempDir user, data;
        data.Write(c.dataFile, "data");
        FileSystem fs(user.Path(), data.Path());
        fs.RememberMisses(c.rememberMisses);
        std::string text;
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(fs.ReadFile(c.name, text));
            EXPECT_EQ(text, "data");
        }
        ASSERT_TRUE(c.makeUserFile(fs, user));
        ASSERT_TRUE(fs.ReadFile(c.name, text));
        EXPECT_EQ(text, "user");
        // A copy remembers nothing and finds the same file.
        FileSystem copy(fs);
        ASSERT_TRUE(copy.ReadFile(c.name, text));
        EXPECT_EQ(text, "user");
    }
}

TEST(FileSystem, WriterKilledBeforeRenameLeavesOldFileWhole) {
    TempDir user;
    user.Write("scores.ini", "old contents");
    FileSystem fs(user.Path(), "");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSystem::WriteHooks hooks;
        hooks.beforeRename = [] { _exit(3); };
        fs.WriteFileAtomic("scores.ini", std::string(100000, 'x'), &hooks);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(user.Read("scores.ini"), "old contents");

    // The next start clears such leftovers of the files it writes, and only those, once they are a
    // minute old: a younger one may be the write of another copy of the game on the same folder.
    user.Write("Levels/level_2.xml.tmp-x1Y2z3", "leftover");
    for (const char* kept : {"notes.txt.tmp-abcdef", "config.ini.tmp-abc", "config.ini.tmp-abc!ef",
                             "config.ini", "Levels/level_2.xml", "x.ini.tmp-abcdef/inside"}) {
        user.Write(kept, "kept");
    }
    for (const auto& e : std::filesystem::recursive_directory_iterator(user.Path())) {
        if (e.is_regular_file())
            user.Backdate(std::filesystem::relative(e.path(), user.Path()).string(),
                          FileSystem::kLeftoverAgeSeconds);
    }
    user.Write("saved.ini.tmp-young1", "a write in progress");
    std::vector<std::string> removed = fs.RemoveWriteLeftovers("", "*.ini");
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].substr(0, 15), "scores.ini.tmp-");
    EXPECT_EQ(fs.RemoveWriteLeftovers("levels", "*.xml"), std::vector<std::string>{"level_2.xml.tmp-x1Y2z3"});
    EXPECT_FALSE(user.Has("Levels/level_2.xml.tmp-x1Y2z3"));
    EXPECT_TRUE(fs.RemoveWriteLeftovers("", "*.ini").empty());
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::recursive_directory_iterator(user.Path())) {
        left.push_back(std::filesystem::relative(e.path(), user.Path()).string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{"Levels", "Levels/level_2.xml", "config.ini", "config.ini.tmp-abc",
                                        "config.ini.tmp-abc!ef", "notes.txt.tmp-abcdef", "saved.ini.tmp-young1",
                                        "scores.ini", "x.ini.tmp-abcdef", "x.ini.tmp-abcdef/inside"}));
}

TEST(FileSystem, FolderScansMatchPatternWithoutCaseSortedAndMerged) {
    TempDir user, data;
    data.Write("Sound/b.WAV", "1");
    data.Write("Sound/A.wav", "1");
    data.Write("Sound/c.ogg", "1");
    data.Write("Sound/sub.wav/inner.wav", "1");  // a folder named like a match is skipped
    user.Write("sound/a.wav", "1");               // same name in the user folder: listed once
    user.Write("sound/d.wav", "1");
    FileSystem fs(user.Path(), data.Path());
    std::vector<std::string> names = fs.ListFolder("Sound\\", "*.wav");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(EqualsNoCase(names[0], "a.wav"));
    EXPECT_EQ(names[1], "b.WAV");
    EXPECT_EQ(names[2], "d.wav");
    EXPECT_TRUE(fs.ListFolder("Nowhere\\", "*.wav").empty());
}

TEST(FileSystem, WildcardsAndCaseHelpers) {
    EXPECT_TRUE(WildcardMatchNoCase("*.png", "A.PNG"));
    EXPECT_FALSE(WildcardMatchNoCase("*.png", "a.png.bak"));
    EXPECT_TRUE(WildcardMatchNoCase("level_?.xml", "LEVEL_7.xml"));
    EXPECT_TRUE(LessNoCase("apple", "Banana"));
    EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
}

}  // namespace
}  // namespace tamblor
