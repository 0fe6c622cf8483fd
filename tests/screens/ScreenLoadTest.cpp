#include <gtest/gtest.h>

#include "platform/Message.h"
#include "screens/ScreenRig.h"

namespace tamblor {
namespace {

using test::ScreenRig;

const char* kInterleaved = R"(<?xml version="1.0"?>
<Screen xc="0.5" yc=" 0.5x" width="1" height="abc" bgImage="Graphics\back.jpg" clickSound="Sound\click.wav" overSound="Sound\over.wav">
  <Text name="t1" text="Hello" xc="0.1" yc="0.2" size="0.03"/>
  <Button name="btnA" text="A" action="procA" xc="0.25" yc="0.5" width="0.1" height="0.1" outImg="a.png" overImg="a_over.png"/>
  <Image xc="0.3" yc="0.3" width="0.2" height="0.2" img="i1.png"/>
  <Slider name="Vol" xc="0.5" yc="0.8" outSliderImg="bar.png" overSliderImg="bar.png" outThumbImg="th.png" overThumbImg="th.png" action="procVol"/>
  <Text name="t2" text="World" xc="0.4" yc="0.5" size="0.04" align="left"/>
  <Button name="btnFull" action="procFull" xc="0.5" yc="0.5" width="0.1" height="0.1" outImg="c.png" outImgChecked="c_on.png"/>
  <Unknown foo="bar"/>
  <Text name="t1" text="Again" xc="0.9"/>
  <Image xc="0.6" img="i2.png" stretch="no"/>
  <Button name="btnC" action="procC"/>
  <Text name="anchor" xc="0.7" yc="0.8" size="0.05"/>
</Screen>)";

const char* kGrouped =
    R"(<Screen xc="0.5" yc=" 0.5x" width="1" height="abc" bgImage="Graphics\back.jpg" clickSound="Sound\click.wav" overSound="Sound\over.wav">
  <Button name="btnA" text="A" action="procA" xc="0.25" yc="0.5" width="0.1" height="0.1" outImg="a.png" overImg="a_over.png"/>
  <Button name="btnFull" action="procFull" xc="0.5" yc="0.5" width="0.1" height="0.1" outImg="c.png" outImgChecked="c_on.png"/>
  <Button name="btnC" action="procC"/>
  <Slider name="Vol" xc="0.5" yc="0.8" outSliderImg="bar.png" overSliderImg="bar.png" outThumbImg="th.png" overThumbImg="th.png" action="procVol"/>
  <Image xc="0.3" yc="0.3" width="0.2" height="0.2" img="i1.png"/>
  <Image xc="0.6" img="i2.png" stretch="no"/>
  <Text name="t1" text="Hello" xc="0.1" yc="0.2" size="0.03"/>
  <Text name="t2" text="World" xc="0.4" yc="0.5" size="0.04" align="left"/>
  <Text name="t1" text="Again" xc="0.9"/>
  <Text name="anchor" xc="0.7" yc="0.8" size="0.05"/>
</Screen>)";

void ExpectSameScreens(const Screen& a, const Screen& b) {
    EXPECT_EQ(a.bgImage, b.bgImage);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.height, b.height);
    ASSERT_EQ(a.buttonCount, b.buttonCount);
    for (int i = 0; i < a.buttonCount; ++i) {
        EXPECT_EQ(a.buttons[i].name, b.buttons[i].name);
        EXPECT_EQ(a.buttons[i].action, b.buttons[i].action);
        EXPECT_EQ(a.buttons[i].x, b.buttons[i].x);
        EXPECT_EQ(a.buttons[i].checked, b.buttons[i].checked);
    }
    ASSERT_EQ(a.textCount, b.textCount);
    for (int i = 0; i < a.textCount; ++i) {
        EXPECT_EQ(a.texts[i].text, b.texts[i].text);
        EXPECT_EQ(a.texts[i].x, b.texts[i].x);
    }
    ASSERT_EQ(a.imageCount, b.imageCount);
    for (int i = 0; i < a.imageCount; ++i) EXPECT_EQ(a.images[i].img, b.images[i].img);
    ASSERT_EQ(a.sliderCount, b.sliderCount);
    EXPECT_EQ(a.sliders[0].value, b.sliders[0].value);
}

TEST(ScreenLoad, InterleavedAndGroupedFilesGiveTheSameScreen) {
    ScreenRig rig;
    rig.dir.Write("menu-a.xml", kInterleaved);
    rig.dir.Write("menu-b.xml", kGrouped);
    Screen a(rig.env), b(rig.env);
    ASSERT_EQ(a.Load("menu-a.xml"), 1);
    ASSERT_EQ(b.Load("MENU-B.XML"), 1);  // names resolve without regard to case
    ExpectSameScreens(a, b);

    EXPECT_EQ(a.buttonCount, 3);
    EXPECT_EQ(a.sliderCount, 1);
    EXPECT_EQ(a.imageCount, 2);
    EXPECT_EQ(a.textCount, 4);
    EXPECT_EQ(a.bgImage, "Graphics\\back.jpg");
    EXPECT_FLOAT_EQ(a.y, 0.5f);       // " 0.5x": blanks skipped, reading stops at the x
    EXPECT_FLOAT_EQ(a.height, 0.0f);  // no number reads 0
    EXPECT_EQ(a.tint, 0xFFFFFFFFu);
    EXPECT_EQ(a.fade, 1.0f);
    EXPECT_EQ(a.buttons[2].visible, 1);
    EXPECT_EQ(a.buttons[2].width, 0.0f);   // attributes left out keep their defaults
    EXPECT_EQ(a.sliders[0].value, 0.75f);  // no setting: 0.75
    EXPECT_EQ(a.images[1].stretch, "no");

    // Look-ups by name: first of a repeated name; unknown gives 0.
    EXPECT_FLOAT_EQ(a.GetTextX("t1"), 0.1f);
    EXPECT_FLOAT_EQ(a.GetTextY("anchor"), 0.8f);
    EXPECT_FLOAT_EQ(a.GetTextSize("anchor"), 0.05f);
    EXPECT_EQ(a.GetTextX("T1"), 0.0f);
    EXPECT_EQ(a.GetTextX("nothing"), 0.0f);
    EXPECT_FLOAT_EQ(a.GetSliderValue("Vol"), 0.75f);
    EXPECT_EQ(a.GetSliderValue("vol"), 0.0f);
    EXPECT_EQ(rig.settings.ReadString("config.ini", "OPTIONS", "btnA", "<none>"), "<none>");
}

TEST(ScreenLoad, CheckBoxesAndSlidersReadTheirSettings) {
    ScreenRig rig;
    rig.dir.Write("config.ini", "[OPTIONS]\r\nbtnFull=1\r\nbtnA=1\r\nVol=0.25\r\n");
    rig.dir.Write("menu-a.xml", kInterleaved);
    Screen a(rig.env);
    ASSERT_EQ(a.Load("menu-a.xml"), 1);
    EXPECT_EQ(a.IsChecked("btnFull"), 1);
    EXPECT_EQ(a.IsChecked("btnA"), 0);  // a plain button never becomes checked
    EXPECT_FLOAT_EQ(a.GetSliderValue("Vol"), 0.25f);

    rig.dir.Write("config.ini", "[OPTIONS]\r\nbtnFull=0.9\r\nVol=7\r\n");
    Screen b(rig.env);
    ASSERT_EQ(b.Load("menu-a.xml"), 1);
    EXPECT_EQ(b.IsChecked("btnFull"), 0);  // truncated to 0
    EXPECT_FLOAT_EQ(b.GetSliderValue("Vol"), 1.0f);
}

TEST(ScreenLoad, BadFilesAreLoggedAndLeaveTheScreenAsItWas) {
    ScreenRig rig;
    rig.log.WriteLog("start", 0);
    Screen s(rig.env);
    EXPECT_EQ(s.Load("menu-pause.xml"), 0);
    EXPECT_EQ(s.buttonCount, 0);
    rig.dir.Write("menu-broken.xml", "<Screen><Button name='x'></Screen>");
    EXPECT_EQ(s.Load("menu-broken.xml"), 0);
    rig.dir.Write("menu-other.xml", "<Menu><Button name='x'/></Menu>");
    EXPECT_EQ(s.Load("menu-other.xml"), 0);
    EXPECT_EQ(s.buttonCount, 0);
    EXPECT_EQ(
        rig.LogText(),
        "start\nFatal error, cannot load XML: menu-pause.xml\n"
        "Fatal error, cannot load XML: menu-broken.xml\nFatal error, cannot load XML: menu-other.xml\n");
}

TEST(ScreenLoad, LimitsAndFieldWidthsAreKept) {
    ScreenRig rig;
    std::string xml = "<Screen>";
    for (int i = 0; i < 60; ++i) xml += "<Button name='b" + std::to_string(i) + "'/>";
    for (int i = 0; i < 25; ++i) xml += "<Text text='t'/><Image img='i'/>";
    for (int i = 0; i < 8; ++i) xml += "<Slider name='s'/>";
    xml += "<Text name='long' text='" + std::string(300, 'x') + "'/>";
    xml += "<Button name='" + std::string(100, 'n') + "'/>";
    xml += "</Screen>";
    rig.dir.Write("menu-big.xml", xml);
    Screen s(rig.env);
    ASSERT_EQ(s.Load("menu-big.xml"), 1);
    EXPECT_EQ(s.buttonCount, 50);
    EXPECT_EQ(s.textCount, 20);
    EXPECT_EQ(s.imageCount, 20);
    EXPECT_EQ(s.sliderCount, 5);
    EXPECT_EQ(s.buttons[49].name, "b49");

    std::string more = "<Screen><Text name='long' text='" + std::string(300, 'x') + "'/><Button name='" +
                       std::string(100, 'n') + "' action='" + std::string(50, 'a') + "'/></Screen>";
    rig.dir.Write("menu-long.xml", more);
    ASSERT_EQ(s.Load("menu-long.xml"), 1);
    EXPECT_EQ(s.texts[0].text.size(), 99u);
    EXPECT_EQ(s.buttons[0].name.size(), 39u);
    EXPECT_EQ(s.buttons[0].action.size(), 39u);
}

}  // namespace
}  // namespace tamblor

namespace tamblor {
namespace {

TEST(ScreenLoad, OddFilesAreHandledSafely) {
    test::ScreenRig rig;
    // Format characters in a file name are logged as they stand.
    EXPECT_EQ(Screen(rig.env).Load("menu-%s%n%d.xml"), 0);
    EXPECT_NE(rig.LogText().find("Fatal error, cannot load XML: menu-%s%n%d.xml\n"), std::string::npos);

    // Bytes that are not text, deep nesting and a check box whose name would break config.ini.
    std::string nested;
    for (int i = 0; i < 50; ++i) nested += "<Button name='inner'>";
    for (int i = 0; i < 50; ++i) nested += "</Button>";
    rig.dir.Write("menu-odd.xml",
                  "<Screen bgImage='\xff\xfe\x01'>" + nested +
                      "<Button name='x&#10;[VIDEO]&#10;Mode=1' outImgChecked='c.png' xc='0.5' "
                      "yc='0.5' width='0.5' height='0.5' action='procX'/>"
                      "<Text text='  padded  ' xc='1e38' yc='-1e39' size='nan'/></Screen>");
    Screen s(rig.env);
    ASSERT_EQ(s.Load("menu-odd.xml"), 1);
    EXPECT_EQ(s.buttonCount, 2);  // only direct children of Screen
    EXPECT_EQ(s.bgImage, "\xff\xfe\x01");
    EXPECT_EQ(s.texts[0].text, "  padded  ");  // strings are not trimmed
    EXPECT_FLOAT_EQ(s.texts[0].x, 1e38f);
    EXPECT_EQ(s.texts[0].y, -3.40282347e38f);  // clamped to the float range
    EXPECT_EQ(s.texts[0].size, 0.0f);          // no number reads 0
    EXPECT_EQ(s.MsgProc(MouseMessage(WM_LBUTTONDOWN, 400, 300)), "procX");
    EXPECT_EQ(s.buttons[1].checked, 1);  // the state is kept in memory ...
    EXPECT_FALSE(rig.dir.Has("config.ini") &&
                 rig.dir.Read("config.ini").find("[VIDEO]") != std::string::npos);

    // Nesting beyond what the parser takes is a failed load, not a crash.
    std::string deep = "<Screen>";
    for (int i = 0; i < 5000; ++i) deep += "<a>";
    for (int i = 0; i < 5000; ++i) deep += "</a>";
    rig.dir.Write("menu-deep.xml", deep + "</Screen>");
    EXPECT_EQ(Screen(rig.env).Load("menu-deep.xml"), 0);
}

}  // namespace
}  // namespace tamblor
