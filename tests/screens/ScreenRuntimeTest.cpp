#include <gtest/gtest.h>

#include "platform/Message.h"
#include "screens/ScreenRig.h"

namespace tamblor {
namespace {

using test::ScreenRig;

// Buttons at 800 x 600: A covers x 160..240 (0.2..0.3), y 270..330; B overlaps A's right half.
const char* kScreen = R"(<Screen clickSound="Sound\click.wav" overSound="Sound\over.wav">
  <Button name="btnA" action="procA" xc="0.25" yc="0.5" width="0.1" height="0.1" outImg="a.png" overImg="a_over.png"/>
  <Button name="btnB" action="procB" xc="0.3" yc="0.5" width="0.1" height="0.1" outImg="b.png" overImg="b_over.png"/>
  <Button name="btnFull" action="procFull" xc="0.5" yc="0.2" width="0.1" height="0.1" outImg="c.png" overImg="c_o.png" outImgChecked="c_on.png" overImgChecked="c_on_o.png"/>
  <Button name="btnHidden" action="procHidden" xc="0.8" yc="0.8" width="0.1" height="0.1" outImg="h.png"/>
  <Slider name="Vol" xc="0.5" yc="0.8" outSliderImg="bar.png" overSliderImg="bar_o.png" outThumbImg="th.png" overThumbImg="th_o.png" action="procVol"/>
</Screen>)";

struct Loaded : ScreenRig {
    Screen screen{env};
    Loaded() {
        dir.Write("menu-test.xml", kScreen);
        canvas.pictureSizes["bar.png"] = {200, 20};
        canvas.pictureSizes["bar_o.png"] = {200, 20};
        canvas.pictureSizes["th.png"] = {10, 20};
        canvas.pictureSizes["th_o.png"] = {10, 20};
        EXPECT_EQ(screen.Load("menu-test.xml"), 1);
        screen.Render();  // the slider takes its bar size from its picture
    }
    std::string Move(int x, int y) { return screen.MsgProc(MouseMessage(WM_MOUSEMOVE, x, y)); }
    std::string Click(int x, int y) { return screen.MsgProc(MouseMessage(WM_LBUTTONDOWN, x, y)); }
};

TEST(ScreenRuntime, HitTestEdgesAreOutside) {
    Loaded t;
    // Button A spans pixels 160 to 240 horizontally and 270 to 330 vertically.
    EXPECT_EQ(t.screen.HitTest(0.25f, 0.5f, 0.1f, 0.1f, 160, 300), 0);
    EXPECT_EQ(t.screen.HitTest(0.25f, 0.5f, 0.1f, 0.1f, 161, 300), 1);
    EXPECT_EQ(t.screen.HitTest(0.25f, 0.5f, 0.1f, 0.1f, 239, 300), 1);
    EXPECT_EQ(t.screen.HitTest(0.25f, 0.5f, 0.1f, 0.1f, 240, 300), 0);
    EXPECT_EQ(t.screen.HitTest(0.25f, 0.5f, 0.1f, 0.1f, 200, 270), 0);
    EXPECT_EQ(t.screen.HitTest(0.25f, 0.5f, 0.1f, 0.1f, 200, 329), 1);
    EXPECT_EQ(t.Click(160, 300), "");
    EXPECT_TRUE(t.sounds.played.empty());
    t.screen.buttons[1].visible = 0;
    EXPECT_EQ(t.Click(240, 300), "");  // last column of A (and B hidden)
    EXPECT_EQ(t.Click(161, 300), "procA");
}

TEST(ScreenRuntime, HugeCoordinatesHitTheirWholeRectangleAndNothingElse) {
    // Hand-edited screens: rectangles whose edges lie far beyond the 32-bit pixel range.
    ScreenRig rig;
    rig.dir.Write("menu-huge.xml", R"(<Screen>
  <Button name="far" action="procFar" xc="0.5" yc="1e12" width="0.1" height="0.1" outImg="a.png"/>
  <Button name="tall" action="procTall" xc="0.25" yc="0" width="0.1" height="1e12" outImg="a.png"/>
  <Button name="wide" action="procWide" xc="-1e30" yc="0.9" width="1e31" height="0.1" outImg="a.png"/>
  <Button name="endless" action="procEndless" xc="3e38" yc="0.5" width="3e38" height="3e38" outImg="a.png"/>
</Screen>)");
    Screen screen(rig.env);
    ASSERT_EQ(screen.Load("menu-huge.xml"), 1);
    const struct {
        int x, y;
        const char* action;
    } clicks[] = {
        {400, 300, ""},                                  // "far" lies a trillion screens below
        {200, 10, "procTall"},                           // "tall" reaches from far above to far below
        {200, 590, "procTall"}, {300, 550, "procWide"},  // "wide" spans far beyond both sides
        {790, 545, "procWide"}, {600, 300, ""},          // "endless" lies beyond the right edge of any float
    };
    for (const auto& c : clicks) {
        EXPECT_EQ(screen.MsgProc(MouseMessage(WM_LBUTTONDOWN, c.x, c.y)), c.action) << c.x << "," << c.y;
    }
}

TEST(ScreenRuntime, OverlapHoverSoundAndClicks) {
    Loaded t;
    // Shared area of A and B: x 200..240.
    EXPECT_EQ(t.Move(220, 300), "");
    EXPECT_EQ(t.screen.buttons[0].over, 1);
    EXPECT_EQ(t.screen.buttons[1].over, 1);
    EXPECT_EQ(t.screen.IsOver("btnA"), 1);
    ASSERT_EQ(t.sounds.played.size(), 2u);  // entering two buttons at once
    EXPECT_EQ(t.Move(225, 305), "");
    EXPECT_EQ(t.sounds.played.size(), 2u);  // no sound on moves within
    EXPECT_EQ(t.Move(170, 300), "");        // leaves B only
    EXPECT_EQ(t.screen.buttons[1].over, 0);
    EXPECT_EQ(t.sounds.played.size(), 2u);
    EXPECT_EQ(t.Move(220, 300), "");  // re-enters B
    EXPECT_EQ(t.sounds.played, (std::vector<std::string>(3, "Sound\\over.wav")));
    EXPECT_EQ(t.Click(220, 300), "procA");  // first in file order takes the click
    EXPECT_EQ(t.sounds.played.back(), "Sound\\click.wav");

    // A hidden button neither reacts nor sounds.
    t.screen.buttons[3].visible = 0;
    size_t before = t.sounds.played.size();
    EXPECT_EQ(t.Move(640, 480), "");
    EXPECT_EQ(t.Click(640, 480), "");
    EXPECT_EQ(t.screen.buttons[3].over, 0);
    EXPECT_EQ(t.sounds.played.size(), before);
    // Other messages are ignored.
    EXPECT_EQ(t.screen.MsgProc(MouseMessage(WM_LBUTTONUP, 220, 300)), "");
    EXPECT_EQ(t.screen.MsgProc(KeyMessage(WM_KEYDOWN, VK_RETURN)), "");
}

TEST(ScreenRuntime, CheckBoxStoresBeforeItsActionReturns) {
    Loaded t;
    EXPECT_EQ(t.ConfigValue("btnFull"), "<none>");
    EXPECT_EQ(t.Click(400, 120), "procFull");
    EXPECT_EQ(t.screen.IsChecked("btnFull"), 1);
    EXPECT_EQ(t.ConfigValue("btnFull"), "1");
    EXPECT_EQ(t.Click(400, 120), "procFull");
    EXPECT_EQ(t.ConfigValue("btnFull"), "0");
    t.screen.buttons[2].checked = 5;  // anything but 0 flips to 0
    t.Click(400, 120);
    EXPECT_EQ(t.screen.buttons[2].checked, 0);
    // A plain button writes nothing.
    t.Click(170, 300);
    EXPECT_EQ(t.ConfigValue("btnA"), "<none>");
}

TEST(ScreenRuntime, SliderFollowsTheHeldButton) {
    Loaded t;
    // The bar is 200 x 20 pixels around (400, 480): pixels 300..500.
    EXPECT_EQ(t.Move(400, 480), "");
    EXPECT_EQ(t.screen.sliders[0].over, 1);
    EXPECT_EQ(t.screen.GetSliderValue("Vol"), 0.75f);
    EXPECT_EQ(t.ConfigValue("Vol"), "<none>");
    EXPECT_EQ(t.sounds.played.size(), 1u);

    t.input.SetKeyDown(VK_LBUTTON, true);
    EXPECT_EQ(t.Move(400, 480), "procVol");
    EXPECT_FLOAT_EQ(t.screen.GetSliderValue("Vol"), 0.5f);
    EXPECT_EQ(t.ConfigValue("Vol"), "0.500000");
    EXPECT_EQ(t.Move(450, 480), "procVol");  // every move while held
    EXPECT_EQ(t.ConfigValue("Vol"), "0.750000");
    EXPECT_EQ(t.sounds.played.size(), 1u);
    EXPECT_EQ(t.Move(400, 300), "");  // off the bar
    EXPECT_EQ(t.screen.sliders[0].over, 0);
    t.input.SetKeyDown(VK_LBUTTON, false);

    EXPECT_EQ(t.Click(350, 480), "procVol");
    EXPECT_FLOAT_EQ(t.screen.GetSliderValue("Vol"), 0.25f);
    EXPECT_EQ(t.sounds.played.back(), "Sound\\click.wav");
    EXPECT_FLOAT_EQ(t.screen.SliderPosition(t.screen.sliders[0], 300, 480), -1.0f);
}

TEST(ScreenRuntime, SliderTrackFillsUpToItsValue) {
    ScreenRig rig;
    rig.dir.Write("menu-s.xml", R"(<Screen>
      <Slider name="S" xc="0.5" yc="0.9" outSliderImg="bar.png" fillSliderImg="fill.png" outThumbImg="th.png"/>
    </Screen>)");
    rig.canvas.pictureSizes = {{"bar.png", {200, 20}}, {"fill.png", {200, 20}}, {"th.png", {10, 20}}};
    Screen s(rig.env);
    ASSERT_EQ(s.Load("menu-s.xml"), 1);
    // The bar spans x 0.375 .. 0.625; the fill ends where the thumb's centre is, whatever the value.
    struct Case {
        float value, width;
    };
    for (Case c : {Case{0.75f, 0.1875f}, Case{0.25f, 0.0625f}, Case{0.0f, 0.0f}, Case{1.0f, 0.25f},
                   Case{1.7f, 0.25f}, Case{-0.3f, 0.0f}}) {
        s.sliders[0].value = c.value;
        rig.canvas.calls.clear();
        s.Render();
        ASSERT_EQ(rig.canvas.calls.size(), 3u) << c.value;
        const test::DrawCall& fill = rig.canvas.calls[1];
        EXPECT_EQ(fill.kind, "part");
        EXPECT_EQ(fill.name, "fill.png");
        EXPECT_FLOAT_EQ(fill.w, c.width) << c.value;
        EXPECT_FLOAT_EQ(fill.x - fill.w / 2.0f, 0.375f) << c.value;  // from the left end
        EXPECT_FLOAT_EQ(fill.size, c.width / 0.25f) << c.value;      // that much of the picture
        EXPECT_FLOAT_EQ(fill.h, 20.0f / 600.0f);
        EXPECT_EQ(rig.canvas.calls[2].name, "th.png");
    }
}

TEST(ScreenRuntime, RenderOrderPicturesAndFade) {
    ScreenRig rig;
    rig.dir.Write("menu-r.xml", R"(<Screen bgImage="bg.png" xc="0.5" yc="0.5" width="1" height="1">
      <Slider name="S" xc="0.5" yc="0.9" outSliderImg="bar.png" outThumbImg="th.png"/>
      <Button name="own" text="Go" stretch="no" xc="0.5" yc="0.5" outImg="own.png" align="left"/>
      <Button name="b" text="Label" align="right" xc="0.2" yc="0.2" width="0.1" height="0.05" outImg="b.png" overImg="b_over.png" outImgChecked="b_chk.png" overImgChecked="b_chk_over.png"/>
      <Text name="t" text="Title" xc="0.5" yc="0.1" size="0.05"/>
      <Text name="anchor" xc="0.5" yc="0.1" size="0.05"/>
      <Image img="img.png" xc="0.1" yc="0.1" width="0.2" height="0.2"/>
    </Screen>)");
    rig.canvas.pictureSizes = {{"own.png", {80, 60}}, {"bar.png", {200, 20}}, {"th.png", {10, 20}}};
    Screen s(rig.env);
    ASSERT_EQ(s.Load("menu-r.xml"), 1);
    s.fade = 0.5f;
    s.buttons[1].checked = 1;
    s.buttons[1].over = 1;
    s.Render();
    std::vector<std::string> order;
    for (const auto& c : rig.canvas.calls) {
        order.push_back(c.name);
        EXPECT_EQ(c.colour, 0x7FFFFFFFu) << c.name;  // alpha 255 x 0.5 = 127
    }
    EXPECT_EQ(order, (std::vector<std::string>{"bg.png", "img.png", "Title", "own.png", "Go",
                                               "b_chk_over.png", "Label", "bar.png", "th.png"}));
    const auto& calls = rig.canvas.calls;
    EXPECT_EQ(calls[3].flags, ScreenCanvas::kAlpha | ScreenCanvas::kOwnSize);
    EXPECT_FLOAT_EQ(s.buttons[0].width, 0.1f);  // own-size buttons take the picture's size
    EXPECT_FLOAT_EQ(s.buttons[0].height, 0.1f);
    EXPECT_FLOAT_EQ(calls[4].x, 0.6f);  // left label starts at x + width
    EXPECT_FLOAT_EQ(calls[4].size, 256.0f / 8.0f / 600.0f);
    EXPECT_EQ(calls[4].flags, ScreenCanvas::kTextImageOwnSize);
    EXPECT_FLOAT_EQ(calls[6].x, 0.1f);  // right label ends at x - width
    EXPECT_EQ(calls[6].flags, ScreenCanvas::kTextRight);
    EXPECT_FLOAT_EQ(calls[6].size, 0.04f);
    EXPECT_FLOAT_EQ(calls[8].x, 0.5f - 0.125f + 0.75f * 0.25f);  // thumb at its value along the bar

    rig.canvas.calls.clear();
    s.tint = 0x80102030;
    s.fade = 1.0f;
    s.buttons[1].visible = 0;
    s.Render();
    EXPECT_EQ(rig.canvas.calls.front().colour, 0x80102030u);
    EXPECT_TRUE(rig.canvas.Named("Label").empty());
    s.fade = 0.0f;
    EXPECT_EQ(s.DrawColour(), 0x00102030u);
}

}  // namespace
}  // namespace tamblor
