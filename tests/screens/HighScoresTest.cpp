#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/IniText.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Message.h"
#include "screens/FakeScreenCanvas.h"
#include "screens/HighScores.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {
namespace {

struct RecordingEvents : SoundEventPlayer {
    std::vector<std::string> played;
    void PlayEvent(std::string_view name) override { played.emplace_back(name); }
};

struct Rig {
    test::TempDir dir;
    FileSystem files{dir.Path(), ""};
    Log log{files};
    Settings settings{files, log};
    RecordingEvents events;
    ManualClock clock;
    HighScores scores{settings, events, clock};

    void Type(const std::string& text) {
        for (char c : text) scores.MsgProc(KeyMessage(WM_CHAR, static_cast<unsigned char>(c)));
    }
    void Key(int vk) { scores.MsgProc(KeyMessage(WM_KEYDOWN, static_cast<uintptr_t>(vk))); }
};

TEST(HighScores, AddScoreOrdersAndTies) {
    Rig r;
    EXPECT_EQ(r.scores.AddScore(0), 0);
    EXPECT_EQ(r.scores.AddScore(-5), 0);  // never enters as a huge unsigned number
    EXPECT_EQ(r.scores.Entering(), 0);
    for (int s : {900, 800, 700, 600, 500, 400, 300, 200, 100, 50}) {
        ASSERT_EQ(r.scores.AddScore(s), 1);
        r.scores.EndEntry();
    }
    EXPECT_EQ(r.scores.Entry(0, 0).score, 900u);
    EXPECT_EQ(r.scores.Entry(0, 9).score, 50u);
    EXPECT_EQ(r.scores.AddScore(50), 0);   // equal to row 9: not greater
    EXPECT_EQ(r.scores.AddScore(500), 1);  // equal to row 4: goes below it
    EXPECT_EQ(r.scores.EntryRow(), 5);
    EXPECT_EQ(r.scores.Entry(0, 4).score, 500u);
    EXPECT_EQ(r.scores.Entry(0, 5).score, 500u);
    EXPECT_EQ(r.scores.Entry(0, 6).score, 400u);
    EXPECT_EQ(r.scores.Entry(0, 9).score, 100u);  // 50 dropped out
    EXPECT_FALSE(r.dir.Has("scores.ini"));        // not saved yet

    r.scores.SetTable(2);
    EXPECT_EQ(r.scores.CurrentTable(), 2);
    r.scores.SetTable(10);
    r.scores.SetTable(-1);
    EXPECT_EQ(r.scores.CurrentTable(), 2);
    EXPECT_EQ(r.scores.AddScore(1), 1);  // empty table takes anything above 0 into row 0
    EXPECT_EQ(r.scores.EntryRow(), 0);
}

TEST(HighScores, NameEntryKeys) {
    Rig r;
    ASSERT_EQ(r.scores.Save(), 1);
    ASSERT_EQ(r.scores.AddScore(1234), 1);
    r.Key(VK_RETURN);  // empty name: stays open, silent
    EXPECT_EQ(r.scores.Entering(), 1);
    r.Key(VK_BACK);  // empty name: silent, nothing changes
    EXPECT_TRUE(r.events.played.empty());
    r.Type("ABCDEFGHIJKLMNOPQ");  // the seventeenth character is ignored
    EXPECT_EQ(r.scores.Entry(0, 0).Name(), "ABCDEFGHIJKLMNOP");
    EXPECT_TRUE(r.events.played.empty());  // typing plays nothing
    r.Key(VK_BACK);
    EXPECT_EQ(r.scores.Entry(0, 0).Name(), "ABCDEFGHIJKLMNO");
    r.scores.MsgProc(KeyMessage(WM_CHAR, 0x1B));  // control keys are not characters
    r.scores.MsgProc(KeyMessage(WM_CHAR, 0x0D));
    EXPECT_EQ(r.scores.Entry(0, 0).Name(), "ABCDEFGHIJKLMNO");
    r.Key(VK_RETURN);
    EXPECT_EQ(r.scores.Entering(), 0);
    EXPECT_EQ(r.events.played, (std::vector<std::string>{"type_01", "type_01"}));

    // Saved: a fresh table object reads the same.
    HighScores other(r.settings, r.events, r.clock);
    ASSERT_EQ(other.Load(), 1);
    EXPECT_EQ(other.Entry(0, 0).Name(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(other.Entry(0, 0).score, 1234u);

    // Escape drops the new score and restores exactly what the file holds.
    const std::string before = r.dir.Read("scores.ini");
    ASSERT_EQ(r.scores.AddScore(5000), 1);
    r.Type("Zed");
    r.Key(VK_ESCAPE);
    EXPECT_EQ(r.scores.Entering(), 0);
    EXPECT_EQ(r.scores.Entry(0, 0).Name(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(r.scores.Entry(0, 1).score, 0u);
    EXPECT_EQ(r.dir.Read("scores.ini"), before);
    // Not entering: keys do nothing.
    r.Type("x");
    r.Key(VK_ESCAPE);
    EXPECT_EQ(r.events.played.size(), 3u);
}

TEST(HighScores, FileFormatAndDamagedFiles) {
    Rig r;
    ASSERT_EQ(r.scores.AddScore(0x01020304), 1);
    r.Type("Al");
    r.Key(VK_RETURN);
    const std::string text = IniGet(r.dir.Read("scores.ini"), "HIGH SCORES", "Data").value_or("");
    ASSERT_EQ(text.size(), 7202u);
    EXPECT_EQ(text.substr(0, 6), "416C00");     // "Al" then zeros
    EXPECT_EQ(text.substr(64, 8), "04030201");  // score little-endian after 32 name bytes
    EXPECT_EQ(text.substr(72, 2), "00");        // next entry

    // A name without its terminating zero is cut to the field.
    std::array<uint8_t, HighScores::kBlockBytes> block{};
    for (int i = 0; i < 32; ++i) block[i] = 'N';
    block[32] = 7;
    ASSERT_TRUE(
        r.settings.WriteProfileStruct("HIGH SCORES", "Data", block.data(), block.size(), "scores.ini"));
    ASSERT_EQ(r.scores.Load(), 1);
    EXPECT_EQ(r.scores.Entry(0, 0).Name(), std::string(31, 'N'));
    EXPECT_EQ(r.scores.Entry(0, 0).score, 7u);

    // One digit short: damaged, every table cleared; the start-up load rewrites it.
    r.settings.WriteString("scores.ini", "HIGH SCORES", "Data", text.substr(1));
    EXPECT_EQ(r.scores.Load(), 0);
    EXPECT_EQ(r.scores.Entry(0, 0).score, 0u);
    EXPECT_EQ(r.scores.LoadAtStartup(), 0);
    EXPECT_EQ(IniGet(r.dir.Read("scores.ini"), "HIGH SCORES", "Data").value_or("").size(), 7202u);

    // Missing file: created at start-up.
    Rig fresh;
    EXPECT_EQ(fresh.scores.LoadAtStartup(), 0);
    EXPECT_TRUE(fresh.dir.Has("scores.ini"));
    EXPECT_EQ(fresh.scores.LoadAtStartup(), 1);
}

TEST(HighScores, LoadAtStartupLeavesAnUnreadableFileAlone) {
    Rig r;
    r.dir.Write("scores.ini/inside", "a folder where the file should be");
    EXPECT_EQ(r.scores.LoadAtStartup(), 0);
    EXPECT_TRUE(r.dir.Has("scores.ini/inside"));
}

TEST(HighScores, DrawShowsTheCurrentTableAndTheBlinkingCursor) {
    Rig r;
    test::FakeScreenCanvas canvas;
    r.scores.SetTable(1);
    ASSERT_EQ(r.scores.AddScore(300), 1);
    r.Type("Bo");
    r.clock.Set(60000);  // 120 half seconds: even, the cursor shows
    r.scores.Draw(canvas, 0.29f, 0.036f, 0.25f, 0.3f, 0.65f, 0);
    ASSERT_EQ(canvas.calls.size(), 30u);
    EXPECT_EQ(canvas.calls[0].name, "1");
    EXPECT_EQ(canvas.calls[1].name, "Bo_");
    EXPECT_EQ(canvas.calls[1].colour, HighScores::kEntryColour);
    EXPECT_EQ(canvas.calls[2].name, "300");
    EXPECT_FLOAT_EQ(canvas.calls[0].y, 0.29f + 0.036f * 1.25f);
    EXPECT_FLOAT_EQ(canvas.calls[3].y, 0.29f + 2 * 0.036f * 1.25f);
    EXPECT_EQ(canvas.calls[3].colour, 0xFFFFFFFFu);
    EXPECT_EQ(canvas.calls[4].name, "");
    EXPECT_EQ(canvas.calls[5].name, "0");
    EXPECT_EQ(canvas.calls[29].flags, ScreenCanvas::kTextLeft);

    canvas.calls.clear();
    r.clock.Set(60500);
    r.scores.Draw(canvas, 0.29f, 0.036f, 0.25f, 0.3f, 0.65f, 1);
    ASSERT_EQ(canvas.calls.size(), 33u);
    EXPECT_EQ(canvas.calls[1].name, "Name");
    EXPECT_EQ(canvas.calls[4].name, "Bo ");
}

}  // namespace
}  // namespace tamblor
