#include <gtest/gtest.h>

#include "graphics/GraphicsHarness.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/FakeScreenCanvas.h"
#include "screens/GraphicsScreenCanvas.h"
#include "screens/MusicSoundFiles.h"  // compiled here: the screens' sound backend
#include "screens/Screen.h"

namespace tamblor {
namespace {

TEST(GraphicsScreenCanvas, ScreensDrawOnTheDevice) {
    test::GraphicsHarness h;
    h.Picture("Graphics\\own.png", 80, 60);
    h.Picture("Graphics\\bg.png", 4, 4);
    h.user.Write(
        "menu-x.xml",
        "<Screen bgImage='Graphics\\bg.png' xc='0.5' yc='0.5' width='1' height='1'>"
        "<Button name='own' stretch='no' xc='0.5' yc='0.5' outImg='Graphics\\own.png' action='procOwn'/>"
        "</Screen>");
    GraphicsScreenCanvas canvas(h.graphics);
    InputState input;
    test::RecordingSoundFiles sounds;
    ScreenEnvironment env{h.settings, h.log, input, canvas, sounds};
    Screen screen(env);
    ASSERT_EQ(screen.Load("menu-x.xml"), 1);
    screen.fade = 0.5f;
    screen.Render();

    ASSERT_EQ(h.device.draws.size(), 2u);
    const auto& bg = h.device.draws[0];
    EXPECT_EQ(bg.vertices[0].diffuse, 0x7FFFFFFFu);
    EXPECT_TRUE(bg.state.alphaBlendEnable);
    // The own-size button is 80 x 60 pixels around the centre, and its hit rectangle follows.
    const auto& own = h.device.draws[1];
    float minX = 1e9f, maxX = -1e9f;
    for (const Vertex& v : own.vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
    }
    EXPECT_FLOAT_EQ(maxX - minX, 80.0f);
    EXPECT_FLOAT_EQ(screen.buttons[0].width, 0.1f);
    EXPECT_EQ(screen.MsgProc(MouseMessage(WM_LBUTTONDOWN, 361, 300)), "procOwn");
    EXPECT_EQ(screen.MsgProc(MouseMessage(WM_LBUTTONDOWN, 360, 300)), "");

    int w = 0, hgt = 0;
    EXPECT_FALSE(canvas.PictureSize("Graphics\\missing.png", w, hgt));
    EXPECT_EQ(canvas.ClientWidth(), 800);
    canvas.SetLinearFiltering(false);
    EXPECT_EQ(h.device.State().magFilter, TextureFilter::Point);
    canvas.SetLinearFiltering(true);
    EXPECT_EQ(h.device.State().minFilter, TextureFilter::Linear);
}

}  // namespace
}  // namespace tamblor
