#include "core/Settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
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
    Log log(fs);
    Settings settings(fs, log);

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
    Log log(fs);
    Settings settings(fs, log);
    int v = 5;
    EXPECT_EQ(settings.ReadConfigInt("GAMEPLAY", "LastOpenedLevel", &v), 0);
    EXPECT_EQ(settings.WriteConfigInt("GAMEPLAY", "LastOpenedLevel", 3), 0);

    TempDir other;
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    other.Write("config.ini", garbage + "\n[A]\nk=" + std::string(1 << 20, 'z') + "\n");
    FileSystem fs2(other.Path(), "");
    Log log2(fs2);
    Settings s2(fs2, log2);
    EXPECT_EQ(s2.ReadString("config.ini", "A", "k").size(), 254u);
    EXPECT_EQ(s2.ReadString("config.ini", "B", "k", "dflt"), "dflt");
}

TEST(Settings, AFileThatCannotBeReadIsNeverReplaced) {
    // The files the game keeps its data in, each made unreadable by an I/O error, and config.ini also by
    // a size past the read limit. A write is refused with a log line and the file keeps its bytes, so
    // a saved game of one mode cannot erase those of the others.
    const std::string saved = "[Classic]\r\nData=010203040A\r\n";
    struct Case {
        const char* file;
        bool tooLarge;
    };
    for (const Case& c : {Case{"config.ini", false}, Case{"saved.ini", false}, Case{"scores.ini", false},
                          Case{"config.ini", true}}) {
        SCOPED_TRACE(std::string(c.file) + (c.tooLarge ? " too large" : " read error"));
        TempDir user;
        user.Write(c.file, saved);
        if (c.tooLarge)
            std::filesystem::resize_file(user / c.file, FileSystem::kDefaultMaxRead + 1);
        const std::string before = user.Read(c.file);
        FileSystem fs(user.Path(), "");
        if (!c.tooLarge) {
            fs.InjectFaults(
                {.read = [&](const std::string& path) { return path == user / c.file; }, .write = {}});
        }
        Log log(fs);
        Settings settings(fs, log);
        const unsigned char record[4] = {9, 8, 7, 6};
        EXPECT_EQ(settings.WriteProfileStruct("Relax", "Data", record, sizeof record, c.file), 0);
        EXPECT_FALSE(settings.WriteString(c.file, "OPTIONS", "SfxVolume", "0.5"));
        EXPECT_TRUE(user.Read(c.file) == before);
        EXPECT_NE(user.Read("app.log").find("Settings file '" + std::string(c.file) +
                                            "' cannot be read: [Relax] Data not written"),
                  std::string::npos);
        // Reads give the defaults, with one log line however often they are made.
        EXPECT_EQ(settings.ReadString(c.file, "Classic", "Data", "none"), "none");
        EXPECT_EQ(settings.ReadString(c.file, "Classic", "Data", "none"), "none");
        const std::string readLine = "Settings file '" + std::string(c.file) + "' cannot be read: its defaults";
        const std::string logText = user.Read("app.log");
        EXPECT_NE(logText.find(readLine), std::string::npos);
        EXPECT_EQ(logText.find(readLine), logText.rfind(readLine));
        // Once readable again, the other mode's record is still there and writes go through.
        fs.InjectFaults({});
        if (!c.tooLarge) {
            unsigned char back[4] = {};
            EXPECT_EQ(settings.ReadProfileStruct("Classic", "Data", back, 4, c.file), 1);
            EXPECT_EQ(settings.WriteProfileStruct("Relax", "Data", record, sizeof record, c.file), 1);
            EXPECT_EQ(settings.ReadProfileStruct("Classic", "Data", back, 4, c.file), 1);
        }
    }
}

TEST(Settings, NumbersKeepADecimalPointUnderADecimalCommaLocale) {
    struct NumericLocale {
        std::string previous = std::setlocale(LC_NUMERIC, nullptr);
        bool Use(const char* name) { return std::setlocale(LC_NUMERIC, name) != nullptr; }
        ~NumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
    } locale;
    if (!locale.Use("de_DE.UTF-8") && !locale.Use("de_DE.utf8")) {
        GTEST_SKIP() << "no de_DE.UTF-8 locale here (scripts/install-deps generates it)";
    }
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.1f", 0.5);
    ASSERT_STREQ(comma, "0,5");  // the locale really uses a decimal comma

    TempDir user;
    FileSystem fs(user.Path(), "");
    Log log(fs);
    Settings settings(fs, log);
    ASSERT_EQ(settings.WriteConfigFloat("OPTIONS", "MusicVolume", 0.35f), 1);
    EXPECT_EQ(settings.ReadString("config.ini", "OPTIONS", "MusicVolume"), "0.350000");
    float volume = 0;
    ASSERT_EQ(settings.ReadConfigFloat("OPTIONS", "MusicVolume", &volume), 1);
    EXPECT_EQ(volume, 0.35f);
    ASSERT_EQ(settings.WriteConfigString("GAMEPLAY", "LastOpenedLevel", "7.9e1"), 1);
    int level = 0;
    ASSERT_EQ(settings.ReadConfigInt("GAMEPLAY", "LastOpenedLevel", &level), 1);
    EXPECT_EQ(level, 79);
}

TEST(Settings, StructRecordRoundTripsAndDamageFails) {
    TempDir user;
    FileSystem fs(user.Path(), "");
    Log log(fs);
    Settings settings(fs, log);
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

    // A new log that cannot be written (a full disk) leaves the last run's log whole.
    back.InjectFaults({.read = {}, .write = [](const std::string&) { return true; }});
    Log onFullDisk(back);
    onFullDisk.WriteLog("third run", LOG_NEW);
    EXPECT_EQ(first.Read("app.log"), "second run\n");
}

}  // namespace
}  // namespace tamblor
