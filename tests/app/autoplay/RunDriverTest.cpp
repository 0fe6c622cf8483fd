// The bot, the recording and the replay connected to a real headless Application.
#include <gtest/gtest.h>

#include "app/ApplicationTestSupport.h"
#include "app/autoplay/RunDriver.h"
#include "app/autoplay/StateCheck.h"

namespace tamblor {
namespace {

uint64_t EndCheck(Application& app) {
    return GameCheck(app.GameState(), app.State());
}

TEST(RunDriver, ARecordedRunReplaysToTheSameEndAndAChangedFrameIsFound) {
    test::HeadlessGame recorded(21);
    ASSERT_TRUE(recorded.Start());
    RunDriverOptions options;
    options.seed = 21;
    options.headless = true;
    options.record = recorded.user / "run.txt";
    RunDriver recorder(*recorded.app, options);
    // A person's input: the pointer wanders, a menu button is clicked, keys are pressed.
    recorded.Frames(20);
    recorded.MoveTo(100, 100);
    recorded.ClickButton(recorded.app->Screens().Get(ScreenId::Main), "btnClassicGame");
    recorded.Frames(30);
    recorded.Key(VK_F1);
    recorded.Click(400, 500);
    recorded.Frames(60);
    ASSERT_TRUE(recorder.Finish());
    const InputRecording& run = recorder.Recorded();
    ASSERT_GT(run.frames.size(), 100u);
    int events = 0;
    for (const RecordedFrame& frame : run.frames) events += static_cast<int>(frame.events.size());
    EXPECT_GE(events, 8);
    uint64_t end = EndCheck(*recorded.app);
    int endState = recorded.app->State();

    InputRecording loaded;
    std::string error;
    ASSERT_TRUE(LoadRecording(options.record, loaded, &error)) << error;
    EXPECT_EQ(loaded.Value("seed"), "21");
    {
        test::HeadlessGame again(21);
        ASSERT_TRUE(again.Start());
        std::vector<std::string> said;
        RunDriverOptions replay;
        replay.replay = &loaded;
        replay.say = [&](const std::string& line) { said.push_back(line); };
        RunDriver player(*again.app, replay);
        again.Frames(static_cast<int>(loaded.frames.size()) + 10);
        EXPECT_TRUE(player.ReplayFinished());
        EXPECT_FALSE(player.ReplayDiverged()) << player.DivergedFrame();
        EXPECT_EQ(EndCheck(*again.app), end);
        EXPECT_EQ(again.app->State(), endState);
        EXPECT_TRUE(again.app->IsClosed());
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.back().rfind("replay: ", 0), 0u) << said.back();
    }
    // A frame that ran with another time step is the frame the replay names.
    loaded.frames[57].seconds *= 2.0;
    test::HeadlessGame changed(21);
    ASSERT_TRUE(changed.Start());
    RunDriverOptions replay;
    replay.replay = &loaded;
    RunDriver player(*changed.app, replay);
    changed.Frames(static_cast<int>(loaded.frames.size()));
    EXPECT_TRUE(player.ReplayDiverged());
    EXPECT_EQ(player.DivergedFrame(), 57);
}

TEST(RunDriver, TheBotGoesForTheButtonOfItsModeAndClicksIt) {
    test::HeadlessGame game(3);
    ASSERT_TRUE(game.Start());
    RunDriverOptions options;
    options.autoplay = true;
    options.mode = ModeTransformer;
    RunDriver driver(*game.app, options);
    const Screen& main = game.app->Screens().Get(ScreenId::Main);
    const ScreenButton* target = nullptr;
    for (int i = 0; i < main.buttonCount; ++i) {
        if (main.buttons[static_cast<size_t>(i)].action == "procTransformerGame")
            target = &main.buttons[static_cast<size_t>(i)];
    }
    ASSERT_NE(target, nullptr);
    bool clicked = game.FramesUntil(
        [&] { return game.app->State() != MainMenu || game.app->Input().IsKeyDown(VK_LBUTTON); }, 600);
    ASSERT_TRUE(clicked);
    if (game.app->State() == MainMenu) {
        // The button goes down over the mode's button, as a person's click would.
        EXPECT_NEAR(game.app->Input().CursorX(), target->x * 800.0f, 2.0f);
        EXPECT_NEAR(game.app->Input().CursorY(), target->y * 600.0f, 2.0f);
    }
}

// Drawing only every seventh frame plays the same game: from the main menu through the stage map's
// marker, the level's fade-in, announcement and tutorial, every frame's update and drawing pass runs.
TEST(RunDriver, APictureEveryFewFramesPlaysTheSameGame) {
    auto play = [](int framesPerPicture, std::vector<std::string>& said) {
        test::HeadlessGame game(8);
        game.config.framesPerPicture = framesPerPicture;
        EXPECT_TRUE(game.Start());
        RunDriverOptions options;
        options.autoplay = true;
        options.say = [&](const std::string& line) { said.push_back(line); };
        RunDriver driver(*game.app, options);
        std::vector<uint64_t> checks;
        for (int i = 0; i < 7; ++i) {
            game.Frames(100);
            checks.push_back(EndCheck(*game.app));
        }
        EXPECT_EQ(game.app->State(), Playing);
        EXPECT_EQ(game.app->GameState().levelPhase, 3);
        return checks;
    };
    std::vector<std::string> everyFrame, sparse;
    EXPECT_EQ(play(7, sparse), play(1, everyFrame));
    EXPECT_EQ(sparse, everyFrame);
    EXPECT_FALSE(sparse.empty());
}

}  // namespace
}  // namespace tamblor
