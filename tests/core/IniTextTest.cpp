#include "core/IniText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tamblor {
namespace {

TEST(IniText, ReadsWindowsWrittenFile) {
    const std::string text =
        "\xEF\xBB\xBF; written on Windows\r\n"
        "[Video]\r\n"
        "  mode  =  800 x 600 - 32 bit  \r\n"
        "Brightness=\"0.5\"\r\n"
        "\r\n"
        "[OPTIONS]\r\n"
        ";btnFullScreen=1\r\n"
        "BtnFullScreen = 0\r\n"
        "Empty=\r\n";
    EXPECT_EQ(IniGet(text, "VIDEO", "Mode"), "800 x 600 - 32 bit");
    EXPECT_EQ(IniGet(text, "video", "brightness"), "0.5");
    EXPECT_EQ(IniGet(text, "Options", "btnFullScreen"), "0");
    EXPECT_EQ(IniGet(text, "Options", "Empty"), "");
    EXPECT_FALSE(IniGet(text, "Options", "Mode").has_value());
    EXPECT_FALSE(IniGet(text, "Missing", "Mode").has_value());
    EXPECT_FALSE(IniGet(text, "Options", "").has_value());
}

TEST(IniText, WriteReplacesOnlyTheValueBytes) {
    std::string text =
        "[VIDEO]\r\nMode = 800 x 600 - 32 bit\r\n; keep me\r\n\r\n[OPTIONS]\r\nSfxVolume=0.750000\r\n";
    std::string expected = text;
    ASSERT_TRUE(IniSet(text, "video", "MODE", "1024 x 768 - 16 bit"));
    expected.replace(expected.find("800 x 600 - 32 bit"), 18, "1024 x 768 - 16 bit");
    EXPECT_EQ(text, expected);

    ASSERT_TRUE(IniSet(text, "VIDEO", "Brightness", "0.500000"));
    EXPECT_NE(text.find("Mode = 1024 x 768 - 16 bit\r\n; keep me\r\nBrightness=0.500000\r\n\r\n[OPTIONS]"), std::string::npos);
    ASSERT_TRUE(IniSet(text, "GAMEPLAY", "LastOpenedLevel", "7"));
    EXPECT_EQ(text.substr(text.size() - 31), "[GAMEPLAY]\r\nLastOpenedLevel=7\r\n");
    EXPECT_EQ(IniGet(text, "gameplay", "lastopenedlevel"), "7");
}

TEST(IniText, NewFilesUseCrlfAndUnixFilesStayUnix) {
    std::string fresh;
    ASSERT_TRUE(IniSet(fresh, "LANGUAGE", "Name", "ENGLISH"));
    EXPECT_EQ(fresh, "[LANGUAGE]\r\nName=ENGLISH\r\n");
    std::string unix = "[A]\nx=1\n";
    ASSERT_TRUE(IniSet(unix, "A", "y", "2"));
    EXPECT_EQ(unix, "[A]\nx=1\ny=2\n");
}

TEST(IniText, KeyAddedAfterALastLineWithoutLineEnd) {
    // Hand-edited files often lack the final line end; the new key goes on a line of its own.
    for (std::string text : {std::string("[A]\r\nx=1"), std::string("[B]\n[A]\nx=1\r")}) {
        ASSERT_TRUE(IniSet(text, "A", "y", "2"));
        EXPECT_EQ(IniGet(text, "A", "x"), "1") << text;
        EXPECT_EQ(IniGet(text, "A", "y"), "2") << text;
    }
}

TEST(IniText, NamesAndValuesThatWouldInjectLinesAreRefused) {
    std::string text = "[A]\r\nx=1\r\n";
    const std::string before = text;
    EXPECT_FALSE(IniSet(text, "A", "k=v", "1"));
    EXPECT_FALSE(IniSet(text, "A", "k\r\nevil", "1"));
    EXPECT_FALSE(IniSet(text, "A]\r\n[B", "k", "1"));
    EXPECT_FALSE(IniSet(text, "A", "k", "1\r\n[B]"));
    EXPECT_FALSE(IniSet(text, "[A", "k", "1"));
    EXPECT_FALSE(IniSet(text, "A", ";k", "1"));
    EXPECT_EQ(text, before);
}

TEST(IniText, EveryNameTheWriterTakesIsFoundAgain) {
    // Names are trimmed when read, so names with blanks at either end are refused on write instead
    // of being written and never found again.
    const char* blanked[] = {" k", "k ", "\tk", "k\t", "k\x1A", "\x1Ak"};
    for (const char* raw : blanked) {
        const std::string name = raw;
        std::string text = "[A]\r\nx=1\r\n";
        const std::string before = text;
        EXPECT_FALSE(IniSet(text, "A", name, "1")) << raw;
        EXPECT_FALSE(IniSet(text, name, "k", "1")) << raw;
        EXPECT_EQ(text, before) << raw;
        EXPECT_FALSE(IniGet("[A]\r\n" + name + "=1\r\n", "A", name).has_value()) << raw;
    }
    // Blanks inside a name are part of it.
    std::string text;
    ASSERT_TRUE(IniSet(text, "My Section", "a key", "v"));
    EXPECT_EQ(IniGet(text, "my section", "A KEY"), "v");
}

TEST(IniText, StructTextFormat) {
    int32_t one = 1, minusOne = -1, zero = 0;
    EXPECT_EQ(EncodeStructText(&one, 4), "0100000001");
    EXPECT_EQ(EncodeStructText(&minusOne, 4), "FFFFFFFFFC");
    EXPECT_EQ(EncodeStructText(&zero, 4), "0000000000");

    int32_t back = 7;
    EXPECT_TRUE(DecodeStructText("fffffffffc", &back, 4));
    EXPECT_EQ(back, -1);
    back = 7;
    EXPECT_FALSE(DecodeStructText("0100000002", &back, 4));  // checksum digit changed
    EXPECT_FALSE(DecodeStructText("010000001", &back, 4));   // a digit lost
    EXPECT_FALSE(DecodeStructText("01000G0001", &back, 4));  // not a hex digit
    EXPECT_EQ(back, 7);
}

TEST(IniText, NumbersAreDecimalOnly) {
    EXPECT_EQ(ParseIntTruncated("7.9"), 7);
    EXPECT_EQ(ParseIntTruncated("-7.9"), -7);
    EXPECT_EQ(ParseIntTruncated("1e2"), 100);
    EXPECT_EQ(ParseIntTruncated("abc"), 0);
    EXPECT_EQ(ParseIntTruncated("0x10"), 0);
    EXPECT_EQ(ParseIntTruncated("inf"), 0);
    EXPECT_EQ(ParseIntTruncated("nan"), 0);
    EXPECT_EQ(ParseIntTruncated("1e400"), 2147483647);
    EXPECT_EQ(ParseIntTruncated("-99999999999"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(ParseDecimalPrefix(" 0.5xyz"), 0.5);
    EXPECT_DOUBLE_EQ(ParseDecimalPrefix("3e"), 3.0);
}

}  // namespace
}  // namespace tamblor
