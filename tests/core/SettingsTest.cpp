#include "core/Settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "core/Log.h"
#include "platform/FileSystem.h"

namespace tamblor {
namespace {

using test::TempDir;

TEST(Settings, ConfigHelpersFollowTheirReturnRules) {
    TempDir user;
    user.Write("config.ini",
               "[GAMEPLAY]\r\nLastOpenedLevel=7.9\r\nLetters=abc\r\n[LANGUAGE]\r\nName=\r\n[VIDEO]\r\nBrightness=0.25\r\n");
    FileSystem fs(user.Path(), "");
    Settings settings(fs);

    int level = -1;
    EXPECT_EQ(settings.ReadConfigInt("gameplay", "LastOpenedLevel", &level), 1);
    EXPECT_EQ(level, 7);
    EXPECT_EQ(settings.ReadConfigInt("GAMEPLAY", "Letters", &level), 1);
    EXPECT_EQ(level, 0);
    level = 42;
    EXPECT_EQ(settings.ReadConfigInt("GAMEPLAY", "Missing", &level), 0);
    EXPECT_EQ(level, 42);

    std::string name = "x";
    EXPECT_EQ(settings.ReadConfigString("LANGUAGE", "Name", name), 0);  // empty counts as missing
    EXPECT_EQ(name, "");
    float brightness = 0;
    EXPECT_EQ(settings.ReadConfigFloat("VIDEO", "Brightness", &brightness), 1);
    EXPECT_FLOAT_EQ(brightness, 0.25f);

    EXPECT_EQ(settings.WriteConfigFloat("OPTIONS", "MusicVolume", 0.5f), 1);
    EXPECT_EQ(settings.ReadString("config.ini", "OPTIONS", "MusicVolume"), "0.500000");
    EXPECT_EQ(settings.WriteConfigString("OPTIONS", "bad=key", "1"), 0);

    std::string longValue(1000, 'a');
    ASSERT_EQ(settings.WriteConfigString("OPTIONS", "Long", longValue), 1);
    std::string read;
    settings.ReadConfigString("OPTIONS", "Long", read);
    EXPECT_EQ(read.size(), 254u);
}

TEST(Settings, MissingDirectoryAndGarbageFilesGiveDefaults) {
    TempDir user;
    user.Write("config.ini/inside", "a folder named config.ini");
    FileSystem fs(user.Path(), "");
    Settings settings(fs);
    int v = 5;
    EXPECT_EQ(settings.ReadConfigInt("GAMEPLAY", "LastOpenedLevel", &v), 0);
    EXPECT_EQ(settings.WriteConfigInt("GAMEPLAY", "LastOpenedLevel", 3), 0);

    TempDir other;
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    other.Write("config.ini", garbage + "\n[A]\nk=" + std::string(1 << 20, 'z') + "\n");
    FileSystem fs2(other.Path(), "");
    Settings s2(fs2);
    EXPECT_EQ(s2.ReadString("config.ini", "A", "k").size(), 254u);
    EXPECT_EQ(s2.ReadString("config.ini", "B", "k", "dflt"), "dflt");
}

TEST(Settings, StructRecordRoundTripsAndDamageFails) {
    TempDir user;
    FileSystem fs(user.Path(), "");
    Settings settings(fs);
    std::vector<unsigned char> record(10584);
    for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<unsigned char>(i * 31 + 7);
    ASSERT_EQ(settings.WriteProfileStruct("Relax", "Data", record.data(), record.size(), "saved.ini"), 1);
    std::vector<unsigned char> back(record.size());
    ASSERT_EQ(settings.ReadProfileStruct("RELAX", "data", back.data(), back.size(), "saved.ini"), 1);
    EXPECT_EQ(back, record);
    // A size mismatch fails.
    EXPECT_EQ(settings.ReadProfileStruct("Relax", "Data", back.data(), back.size() - 1, "saved.ini"), 0);
    // One digit short fails.
    std::string text = user.Read("saved.ini");
    size_t eq = text.find('=');
    text.erase(eq + 1, 1);
    user.Write("saved.ini", text);
    EXPECT_EQ(settings.ReadProfileStruct("Relax", "Data", back.data(), back.size(), "saved.ini"), 0);
}

TEST(Log, FlagsFramesAndFirstFolder) {
    TempDir first, second;
    FileSystem fs(first.Path(), "");
    Log log(fs);
    log.timeOfDay = [] { return std::string("12:34:56"); };
    log.WriteLog("*** SESSION STARTED ***", LOG_NEW | LOG_TIME | LOG_FRAME);
    log.WriteLog("Loading sound events...", LOG_NO_NEWLINE);
    log.WriteLog("12", 0);
    log.WriteLog("too many sound files", LOG_WARNING);
    log.WriteLog("%s%n%d", LOG_TIME);  // the message is data, never a format
    const std::string stars(74, '*');
    EXPECT_EQ(first.Read("app.log"), stars + "\n12:34:56 : *** SESSION STARTED ***\n" + stars +
                                         "\nLoading sound events...12\n===> Warning: too many sound files\n"
                                         "12:34:56 : %s%n%d\n");

    // Settings follow the user folder; the log stays where it started.
    fs.SetUserDir(second.Path());
    log.WriteLog("later", 0);
    EXPECT_FALSE(second.Has("app.log"));
    EXPECT_NE(first.Read("app.log").find("later\n"), std::string::npos);

    // A new run empties the log.
    Log nextRun(fs);
    FileSystem back(first.Path(), "");
    Log again(back);
    again.WriteLog("second run", LOG_NEW);
    EXPECT_EQ(first.Read("app.log"), "second run\n");
}

}  // namespace
}  // namespace tamblor
