// What a frame costs, counted rather than timed: draw calls of the busiest game frame, and heap
// allocations, disk operations and large pictures on the device in the main menu, the stage map and a
// level.
#include <gtest/gtest.h>

#include "AllocationCount.h"
#include "ApplicationTestSupport.h"
#include "BusiestFrame.h"
#include "graphics/RecordingRenderDevice.h"

namespace tamblor {
namespace {

// The application drawing on the recording device, which keeps only the frame being drawn.
class RecordedGame {
public:
    RecordedGame() {
        game.config.makeRenderDevice = [this](int width, int height) {
            auto device = std::make_unique<RecordingRenderDevice>(width, height);
            record = device.get();
            return std::unique_ptr<RenderDevice>(std::move(device));
        };
    }
    bool Start() {
        if (!game.Start())
            return false;
        game.app->onFrameEnd = [this] { record->ForgetDraws(); };
        return record != nullptr;
    }
    // Heap allocations and disk operations of the next frames.
    std::pair<uint64_t, uint64_t> Cost(int frames) {
        uint64_t files = game.app->Services().files.DiskOperations();
        uint64_t allocations = bench::AllocationCount();
        game.Frames(frames);
        return {bench::AllocationCount() - allocations, game.app->Services().files.DiskOperations() - files};
    }

    test::HeadlessGame game{31};
    RecordingRenderDevice* record = nullptr;
};

// The application with its drawing reachable, so one picture can be drawn without the game moving on.
class DrawingApplication final : public Application {
public:
    using Application::Application;
    void DrawOnly() { Render(); }
};

TEST(FrameCost, SteadyFramesAllocateNothingAndLeaveTheDiskAlone) {
    RecordedGame rig;
    ASSERT_TRUE(rig.Start());
    test::HeadlessGame& game = rig.game;
    // A second of frames (60) holds at most one look at the language file.
    game.Frames(90);
    ASSERT_EQ(game.app->State(), MainMenu);
    auto [menuAllocations, menuFiles] = rig.Cost(60);
    EXPECT_EQ(menuAllocations, 0u) << "main menu";
    EXPECT_LE(menuFiles, 1u) << "main menu";

    ASSERT_TRUE(bench::GoToStageMap(*game.app));
    auto [mapAllocations, mapFiles] = rig.Cost(60);
    EXPECT_EQ(mapAllocations, 0u) << "stage map";
    EXPECT_LE(mapFiles, 1u) << "stage map";

    ASSERT_TRUE(bench::GoToLevel(*game.app));
    auto [levelAllocations, levelFiles] = rig.Cost(60);
    EXPECT_EQ(levelAllocations, 0u) << "level in play";
    EXPECT_LE(levelFiles, 1u) << "level in play";
    // Of the large pictures only the level's background and its frame are still on the device: the
    // menu's and the map's were let go once they had rested.
    EXPECT_EQ(game.app->Gfx().LargePicturesOnDevice(), 2u);
}

TEST(FrameCost, BusiestGameFrameTakesFewDrawCalls) {
    test::TempDir user;
    ApplicationConfig config;
    config.userDir = user.Path();
    config.dataDir = TAMBLOR_BUILD_GAME_DIR;
    config.headless = true;
    config.seed = 5;
    RecordingRenderDevice* record = nullptr;
    config.makeRenderDevice = [&record](int width, int height) {
        auto device = std::make_unique<RecordingRenderDevice>(width, height);
        record = device.get();
        return std::unique_ptr<RenderDevice>(std::move(device));
    };
    DrawingApplication app(config);
    ASSERT_EQ(app.Create(), 0);
    ASSERT_NE(record, nullptr);
    app.onFrameEnd = [&record] { record->ForgetDraws(); };
    for (int i = 0; i < 90; ++i) app.Step();
    ASSERT_TRUE(bench::GoToStageMap(app));
    ASSERT_TRUE(bench::GoToLevel(app));
    ASSERT_TRUE(bench::MakeBusiestFrame(app));

    app.onFrameEnd = nullptr;  // the picture's record is read below
    record->ForgetDraws();
    uint64_t before = record->Stats().drawCalls;
    app.DrawOnly();
    uint64_t drawCalls = record->Stats().drawCalls - before;
    // Every quad is still drawn (and recorded) on its own: the batching changes only what the GPU gets.
    EXPECT_GT(record->draws.size(), 150u);
    EXPECT_LE(drawCalls, 16u);
    EXPECT_GT(drawCalls, 0u);
}

}  // namespace
}  // namespace tamblor
