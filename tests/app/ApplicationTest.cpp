#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ApplicationTestSupport.h"
#include "app/Application.h"
#include "platform/TextureFont.h"

namespace tamblor {

namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(Application, StartUpOrderLogAndFirstStartFiles) {
    test::HeadlessGame game;
    game.user.Write("config.ini", "[LANGUAGE]\nName=\n");  // an empty value counts as missing
    // What writes killed before their rename left behind is cleared at start.
    game.user.Write("saved.ini.tmp-Ab12Cd", "half a saved game");
    game.user.Write("Levels/level_4.xml.tmp-000xyz", "<Level");
    game.user.Backdate("saved.ini.tmp-Ab12Cd", 3600);
    game.user.Backdate("Levels/level_4.xml.tmp-000xyz", 3600);
    // A temporary file written a moment ago may be another copy of the game writing: it stays.
    game.user.Write("scores.ini.tmp-NowNow", "a write in progress");
    ASSERT_TRUE(game.Start());
    Application& app = *game.app;
    EXPECT_EQ(app.State(), MainMenu);
    EXPECT_TRUE(app.IsWindowed());
    EXPECT_TRUE(app.MediaLoaded());
    EXPECT_EQ(app.RestoreCount(), 1);
    ASSERT_NE(app.StatusFont(), nullptr);
    EXPECT_EQ(app.StatusFont()->PixelHeight(), 16);  // 12 points for a 600-pixel picture

    std::string log = game.LogText();
    // The session line opens the log; device restore lines follow.
    EXPECT_EQ(log.find("**************************************************************************\n"), 0u);
    EXPECT_NE(log.find(" : *** SESSION STARTED ***\n"), std::string::npos);
    size_t started = log.find("RestoreDeviceObjects(): STARTED\n");
    size_t finished = log.find("RestoreDeviceObjects(): FINISHED\n");
    ASSERT_NE(started, std::string::npos);
    EXPECT_LT(log.find("SESSION STARTED"), started);
    EXPECT_LT(started, finished);
    EXPECT_NE(log.find(" : Removed 'saved.ini.tmp-Ab12Cd', left by an interrupted write\n"),
              std::string::npos);
    EXPECT_NE(log.find(" : Removed 'Levels\\level_4.xml.tmp-000xyz', left by an interrupted write\n"),
              std::string::npos);
    EXPECT_FALSE(game.user.Has("saved.ini.tmp-Ab12Cd"));
    EXPECT_FALSE(game.user.Has("Levels/level_4.xml.tmp-000xyz"));
    EXPECT_TRUE(game.user.Has("scores.ini.tmp-NowNow"));

    // A start without a language writes the default; the score file exists from the first start.
    EXPECT_EQ(app.Services().language.languageName, "ENGLISH");
    EXPECT_NE(game.user.Read("config.ini").find("Name=ENGLISH"), std::string::npos);
    EXPECT_TRUE(game.user.Has("scores.ini"));

    game.Frames(3);
    EXPECT_EQ(app.FrameCount(), 3);
    EXPECT_FLOAT_EQ(app.FrameTime(), 1.0f / 60.0f);

    game.app.reset();  // closing ends the session in the log
    log = game.LogText();
    EXPECT_NE(log.find("Invalidate Device Objects...\n"), std::string::npos);
    EXPECT_NE(log.find(" : *** Session finished ***\n"), std::string::npos);
    EXPECT_EQ(log.rfind("**************************************************************************\n"),
              log.size() - 75);
}

TEST(Application, FocusMessagesAreLoggedAndHandledWhileMinimised) {
    // Where each message goes in each state is the routing table's matter (MessageRoutingTest).
    test::HeadlessGame game;
    ASSERT_TRUE(game.Start());
    Application& app = *game.app;
    game.Send(WM_KILLFOCUS);
    game.Send(WM_SETFOCUS);
    std::string log = game.LogText();
    EXPECT_NE(log.find(" : WM_KILLFOCUS command\n"), std::string::npos);
    EXPECT_NE(log.find(" : WM_SETFOCUS command\n"), std::string::npos);

    // The focus loss pauses a level even while the window is minimised.
    app.SetState(Playing);
    game.Send(WM_SIZE, SIZE_MINIMIZED);
    EXPECT_FALSE(app.IsActive());
    game.Send(WM_KILLFOCUS);
    EXPECT_EQ(app.State(), Paused);
    game.Send(WM_SIZE, SIZE_RESTORED);
    EXPECT_TRUE(app.IsActive());
}

TEST(Application, DeviceResetKeepsMediaAndState) {
    test::HeadlessGame game;
    ASSERT_TRUE(game.Start());
    Application& app = *game.app;
    game.Frames(2);
    uint32_t textures = app.Gfx().TextureCount();
    int sounds = app.Music().SoundCount();
    app.SetState(Options);
    game.Frames(1);

    EXPECT_EQ(app.SimulateDeviceLoss(), 0);
    EXPECT_EQ(app.RestoreCount(), 2);
    EXPECT_EQ(app.State(), Options);
    EXPECT_EQ(app.Gfx().TextureCount(), textures);  // nothing unloaded or loaded twice
    EXPECT_EQ(app.Music().SoundCount(), sounds);
    ASSERT_NE(app.StatusFont(), nullptr);
    std::string log = game.LogText();
    EXPECT_EQ(Count(log, "RestoreDeviceObjects(): STARTED"), 2u);
    EXPECT_EQ(Count(log, "Invalidate Device Objects..."), 1u);
    EXPECT_EQ(Count(log, "LoadAllTexturesMIPMAP start"), 2u);  // the two folders, once
    game.Frames(2);
    EXPECT_EQ(app.FrameCount(), 5);
}

TEST(Application, FullScreenOptionAndCommandLine) {
    {
        test::HeadlessGame game;
        game.user.Write("config.ini", "[OPTIONS]\nbtnFullScreen=1\n[VIDEO]\nMode=800 x 600 - 32 bit\n");
        game.config.headless = true;
        ASSERT_TRUE(game.Start());
        // Headless runs always draw into their offscreen window.
        EXPECT_TRUE(game.app->IsWindowed());
        EXPECT_EQ(game.app->ToggleFullscreen(), 0);
        EXPECT_FALSE(game.app->IsWindowed());
        EXPECT_EQ(game.app->RestoreCount(), 2);
        game.Frames(1);
        EXPECT_EQ(game.app->ToggleFullscreen(), 0);
        EXPECT_TRUE(game.app->IsWindowed());
    }
    {
        // "16 bit" reduces textures only full screen; a windowed start keeps 8 bits per channel.
        test::HeadlessGame game;
        game.user.Write("config.ini", "[VIDEO]\nMode=800 x 600 - 16 bit\n");
        ASSERT_TRUE(game.Start());
        ASSERT_TRUE(game.app->IsWindowed());
        std::string log = game.LogText();
        EXPECT_GT(Count(log, "(32 bit)"), 10u);
        EXPECT_EQ(Count(log, "(16 bit)"), 0u);
    }
}

}  // namespace tamblor

namespace tamblor {
namespace {

std::string GameFile(const std::string& name) {
    std::ifstream in(std::string(TAMBLOR_BUILD_GAME_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(Application, StartStopsWithoutTheGamesEssentialFiles) {
    const std::string menu = GameFile("menu-main.xml");
    const std::string classes = GameFile("classes.xml");
    ASSERT_FALSE(menu.empty());
    ASSERT_FALSE(classes.empty());
    constexpr const char* kGameFile = "*";  // the game's own file
    struct Row {
        const char* what;
        const char* menuText;     // nullptr: no file
        const char* classesText;  // nullptr: no file
        bool classesIsFolder;     // a name that cannot be read as a file
        const char* named;        // the file the message names
    };
    const Row rows[] = {
        {"nothing at all", nullptr, nullptr, false, "menu-main.xml"},
        {"no classes.xml", kGameFile, nullptr, false, "classes.xml"},
        {"an empty classes.xml", kGameFile, "", false, "classes.xml"},
        {"a classes.xml without classes", kGameFile, "<?xml version=\"1.0\"?><Level/>", false, "classes.xml"},
        {"a classes.xml that is not XML", kGameFile, "<Level><ShapeClass", false, "classes.xml"},
        {"an unreadable classes.xml", kGameFile, nullptr, true, "classes.xml"},
        {"no main menu", nullptr, kGameFile, false, "menu-main.xml"},
    };
    auto text = [&](const char* given, const std::string& own) { return given == kGameFile ? own : given; };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir data;
        if (row.menuText)
            data.Write("menu-main.xml", text(row.menuText, menu));
        if (row.classesText)
            data.Write("classes.xml", text(row.classesText, classes));
        if (row.classesIsFolder)
            data.Write("classes.xml/shapes.xml", classes);
        test::HeadlessGame game(5, data.Path());
        testing::internal::CaptureStderr();
        game.app = std::make_unique<Application>(game.config);
        const int32_t result = game.app->Create();
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, D3DAPPERR_MEDIANOTFOUND);
        EXPECT_NE(message.find(data.Path()), std::string::npos) << message;
        EXPECT_NE(message.find(row.named), std::string::npos) << message;
        EXPECT_NE(game.LogText().find(data.Path()), std::string::npos);
    }
    // With both files the game starts.
    test::TempDir data;
    data.Write("menu-main.xml", menu);
    data.Write("classes.xml", classes);
    test::HeadlessGame game(5, data.Path());
    EXPECT_TRUE(game.Start());
}


TEST(Application, ReadOnlyDataFolderWorks) {
    test::TempDir data;
    data.Write("config.ini", "[VIDEO]\nMode=800 x 600 - 32 bit\n");
    data.Write("menu-main.xml", GameFile("menu-main.xml"));
    data.Write("classes.xml", GameFile("classes.xml"));
    ::chmod(data.Path().c_str(), 0555);
    {
        test::HeadlessGame game(5, data.Path());
        ASSERT_TRUE(game.Start());
        game.Frames(3);
        game.app.reset();
        EXPECT_NE(game.LogText().find("*** Session finished ***"), std::string::npos);
        EXPECT_TRUE(game.user.Has("scores.ini"));
        EXPECT_NE(game.user.Read("config.ini").find("Name=ENGLISH"), std::string::npos);
    }
    EXPECT_EQ(data.Read("config.ini"), "[VIDEO]\nMode=800 x 600 - 32 bit\n");
    EXPECT_FALSE(data.Has("app.log"));
    ::chmod(data.Path().c_str(), 0755);
}

}  // namespace tamblor
