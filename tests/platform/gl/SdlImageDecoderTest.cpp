#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/gl/PngFile.h"
#include "platform/gl/SdlImageDecoder.h"

namespace tamblor {
namespace {

void Put16(std::string& s, int v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, int v) {
    Put16(s, v & 0xFFFF);
    Put16(s, (v >> 16) & 0xFFFF);
}

// 2 x 1 pixels: red, then blue, in an uncompressed true-colour TGA (32-bit, top-left origin).
std::string Tga() {
    std::string s;
    s += '\0';  // no id
    s += '\0';  // no colour map
    s += '\2';  // true colour
    s += std::string(5, '\0');
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 2);
    Put16(s, 1);
    s += static_cast<char>(32);
    s += static_cast<char>(0x28);             // top-left origin, 8 alpha bits
    s += std::string("\x00\x00\xff\xff", 4);  // B G R A
    s += std::string("\xff\x00\x00\x80", 4);
    return s;
}

// 2 x 1 pixels in a 24-bit BMP (no alpha): green, then white.
std::string Bmp() {
    std::string s = "BM";
    Put32(s, 14 + 40 + 8);
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, 2);
    Put32(s, 1);
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, 0);
    Put32(s, 8);
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, 0);
    Put32(s, 0);
    s += std::string("\x00\xff\x00\xff\xff\xff\x00\x00", 8);  // B G R, B G R, row padding
    return s;
}

TEST(SdlImageDecoder, DecodesTheFourFormatsToRgba) {
    SdlImageDecoder decoder;
    Image image;
    ASSERT_TRUE(decoder.Decode(Tga(), "Graphics\\pic.TGA", image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.rgba, (std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 255, 128}));

    ASSERT_TRUE(decoder.Decode(Bmp(), "pic.bmp", image));
    // No alpha in the file: opaque.
    EXPECT_EQ(image.rgba, (std::vector<uint8_t>{0, 255, 0, 255, 255, 255, 255, 255}));

    test::TempDir dir;
    std::vector<uint8_t> pixels = {10, 20, 30, 40, 200, 150, 100, 0, 1, 2, 3, 255, 4, 5, 6, 7};
    ASSERT_TRUE(WritePng(dir / "p.png", 2, 2, pixels));
    int w = 0, h = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadPng(dir / "p.png", w, h, back));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(back, pixels);

    std::vector<uint8_t> grey(16 * 16 * 4, 128);
    ASSERT_TRUE(WriteJpg(dir / "p.jpg", 16, 16, grey, 95));
    ASSERT_TRUE(decoder.Decode(dir.Read("p.jpg"), "p.jpg", image));
    EXPECT_EQ(image.width, 16);
    EXPECT_NEAR(image.rgba[0], 128, 3);
    EXPECT_EQ(image.rgba[3], 255);

    // A picture's signature wins over a wrong extension; garbage and empty files fail.
    EXPECT_TRUE(decoder.Decode(dir.Read("p.png"), "named.jpg", image));
    EXPECT_FALSE(decoder.Decode("not a picture at all", "x.png", image));
    EXPECT_FALSE(decoder.Decode("", "x.png", image));
}

}  // namespace
}  // namespace tamblor
