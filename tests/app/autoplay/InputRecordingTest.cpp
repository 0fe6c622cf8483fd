#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/autoplay/InputRecording.h"
#include "platform/InputState.h"

namespace tamblor {
namespace {

TEST(InputEvents, ApplyAsTheWindowDoesAndRoundTripThroughText) {
    InputState input;
    Message move = ApplyInputEvent(input, InputEvent::MoveTo(412, 77));
    EXPECT_EQ(move.message, WM_MOUSEMOVE);
    EXPECT_EQ(input.CursorX(), 412);
    EXPECT_EQ(MouseY(move.lParam), 77);
    Message down = ApplyInputEvent(input, InputEvent::Button(InputEvent::LeftDown));
    EXPECT_EQ(down.message, WM_LBUTTONDOWN);
    EXPECT_EQ(down.x, 412);
    EXPECT_TRUE(input.IsKeyDown(VK_LBUTTON));
    ApplyInputEvent(input, InputEvent::Button(InputEvent::LeftUp));
    EXPECT_FALSE(input.IsKeyDown(VK_LBUTTON));
    Message right = ApplyInputEvent(input, InputEvent::Button(InputEvent::RightDown));
    EXPECT_EQ(right.message, WM_RBUTTONDOWN);
    EXPECT_TRUE(input.IsKeyDown(VK_RBUTTON));
    Message space = ApplyInputEvent(input, InputEvent::Key(InputEvent::KeyDown, VK_SPACE));
    EXPECT_EQ(space.message, WM_KEYDOWN);
    EXPECT_EQ(space.wParam, static_cast<uintptr_t>(VK_SPACE));
    EXPECT_TRUE(input.IsKeyDown(VK_SPACE));
    EXPECT_EQ(ApplyInputEvent(input, InputEvent::Key(InputEvent::Char, 'A')).message, WM_CHAR);

    std::vector<InputEvent> all = {InputEvent::MoveTo(-3, 599),
                                   InputEvent::Button(InputEvent::LeftDown),
                                   InputEvent::Button(InputEvent::LeftUp),
                                   InputEvent::Button(InputEvent::RightDown),
                                   InputEvent::Button(InputEvent::RightUp),
                                   InputEvent::Key(InputEvent::KeyDown, 32),
                                   InputEvent::Key(InputEvent::KeyUp, 32),
                                   InputEvent::Key(InputEvent::Char, 255)};
    for (const InputEvent& event : all) {
        InputEvent back;
        ASSERT_TRUE(ParseInputEvent(FormatInputEvent(event), back)) << FormatInputEvent(event);
        EXPECT_EQ(back, event);
    }
    InputEvent ignored;
    for (const char* bad : {"", "m", "m 1", "m 1 2 3", "m x 2", "m 99999 0", "kd 0", "kd 256", "ch -1",
                            "ld 4", "zz", "kd 99999999999999999999"}) {
        EXPECT_FALSE(ParseInputEvent(bad, ignored)) << bad;
    }
}

TEST(InputRecordings, KeepEveryFrameAndRefuseDamagedText) {
    InputRecording recording;
    recording.SetValue("seed", "3");
    recording.SetValue("level", "2");
    recording.SetValue("seed", "4");  // replaces
    RecordedFrame first;
    first.seconds = 1.0 / 60.0;
    first.events = {InputEvent::MoveTo(10, 20), InputEvent::Button(InputEvent::LeftDown)};
    first.check = 0xFEDCBA9876543210ull;
    RecordedFrame second;
    second.seconds = 0.25;
    recording.frames = {first, second};

    InputRecording back;
    std::string error;
    ASSERT_TRUE(InputRecording::FromText(recording.ToText(), back, &error)) << error;
    EXPECT_EQ(back.Value("seed"), "4");
    EXPECT_EQ(back.Value("level"), "2");
    EXPECT_EQ(back.Value("missing", "x"), "x");
    ASSERT_EQ(back.frames.size(), 2u);
    EXPECT_EQ(back.frames[0].seconds, 1.0 / 60.0);  // exact: printed with every digit
    EXPECT_EQ(back.frames[0].events, first.events);
    EXPECT_EQ(back.frames[0].check, first.check);
    EXPECT_FALSE(back.frames[1].check.has_value());
    EXPECT_TRUE(back.frames[1].events.empty());

    // Saved and loaded through a path; a file with Windows line ends reads the same.
    test::TempDir dir;
    ASSERT_TRUE(SaveRecording(dir / "run.txt", recording));
    InputRecording loaded;
    ASSERT_TRUE(LoadRecording(dir / "run.txt", loaded, &error)) << error;
    EXPECT_EQ(loaded.ToText(), recording.ToText());
    EXPECT_FALSE(LoadRecording(dir / "missing.txt", loaded, &error));

    std::string text = recording.ToText();
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_TRUE(InputRecording::FromText(crlf, back, &error)) << error;
    EXPECT_EQ(back.ToText(), text);

    for (const char* bad :
         {"", "something else\n", "tamblor-input 1\nf -1\n", "tamblor-input 1\nf 11\n",
          "tamblor-input 1\nf abc\n", "tamblor-input 1\nc 12\n", "tamblor-input 1\nf 0.1\nc xyz\n",
          "tamblor-input 1\nf 0.1\nc 12345678901234567\n", "tamblor-input 1\nf 0.1\nbogus\n",
          "tamblor-input 1\nnospace\n"}) {
        InputRecording untouched = recording;
        EXPECT_FALSE(InputRecording::FromText(bad, untouched, &error)) << bad;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(untouched.ToText(), text);
    }
    InputRecording::FromText("tamblor-input 1\nseed 1\nf 0.1\nm 1 2\nkd 1x\n", back, &error);
    EXPECT_EQ(error.rfind("line 5", 0), 0u) << error;
}

}  // namespace
}  // namespace tamblor
