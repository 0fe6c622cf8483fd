#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BuildPaths.h"
#include "TestSupport.h"
#include "platform/gl/PictureFormat.h"
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

// 2 x 1 pixels: red, then blue, in an uncompressed true-colour TGA (32-bit, top-left origin); with
// runLength, the same pixels as two raw packets of one pixel.
std::string Tga(bool runLength = false) {
    std::string s;
    s += '\0';                       // no id
    s += '\0';                       // no colour map
    s += runLength ? '\x0A' : '\2';  // true colour
    s += std::string(5, '\0');
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 2);
    Put16(s, 1);
    s += static_cast<char>(32);
    s += static_cast<char>(0x28);  // top-left origin, 8 alpha bits
    if (runLength)
        s += '\0';
    s += std::string("\x00\x00\xff\xff", 4);  // B G R A
    if (runLength)
        s += '\0';
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

// The first pixel (R, G, B) of what SDL2_image alone makes of the bytes; empty when it reads nothing.
// It has to be told a TGA, the one format without a signature; the others it knows by their content.
std::vector<int> LibraryPixel(const std::string& bytes, const char* type = nullptr) {
    SDL_Surface* loaded =
        IMG_LoadTyped_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1, type);
    SDL_Surface* rgba = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    std::vector<int> pixel;
    if (rgba) {
        const auto* p = static_cast<const uint8_t*>(rgba->pixels);
        pixel = {p[0], p[1], p[2]};
    }
    SDL_FreeSurface(rgba);
    SDL_FreeSurface(loaded);
    return pixel;
}

TEST(SdlImageDecoder, RefusesOtherFormatsCutOffPicturesAndCmykJpegs) {
    SdlImageDecoder decoder;
    Image image;
    // Formats the image library reads but the game does not use are refused, whatever the name says.
    const std::vector<std::string> others = {
        std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01"
                    "\x00\x00\x02\x02\x44\x01\x00;",
                    35),
        std::string("P6\n1 1\n255\n\xff\x00\x00", 14),
        "/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n",
    };
    for (const std::string& other : others) {
        EXPECT_FALSE(LibraryPixel(other).empty()) << other.substr(0, 6);
        EXPECT_FALSE(decoder.Decode(other, "Graphics\\pic.png", image)) << other.substr(0, 6);
    }
    // A TGA is known by its header, not its name; its run-length form too.
    ASSERT_TRUE(decoder.Decode(Tga(), "pic.png", image));
    ASSERT_TRUE(decoder.Decode(Tga(true), "pic.tga", image));
    EXPECT_EQ(image.rgba, (std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 255, 128}));

    // Pictures whose data ends early: the library fills them out, the game refuses them.
    test::TempDir dir;
    std::vector<uint8_t> noise(64 * 64 * 4);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>((i * 7919) >> 3);
    ASSERT_TRUE(WriteJpg(dir / "noise.jpg", 64, 64, noise, 90));
    const std::string jpeg = dir.Read("noise.jpg");
    ASSERT_TRUE(decoder.Decode(jpeg, "noise.jpg", image));
    for (const std::string& cut : {jpeg.substr(0, jpeg.size() * 7 / 10), jpeg.substr(0, jpeg.size() - 2)}) {
        EXPECT_FALSE(LibraryPixel(cut).empty()) << cut.size();
        EXPECT_FALSE(decoder.Decode(cut, "cut.jpg", image)) << cut.size();
    }
    for (const std::string& cut :
         {Tga().substr(0, Tga().size() - 2), Tga(true).substr(0, Tga(true).size() - 5)}) {
        EXPECT_FALSE(LibraryPixel(cut, "TGA").empty()) << cut.size();
        EXPECT_FALSE(decoder.Decode(cut, "cut.tga", image)) << cut.size();
    }

    // A CMYK JPEG (pure red as cyan 0, magenta and yellow full, black 0): the library turns it into
    // yellow; the game refuses it rather than show wrong colours.
    std::ifstream in(std::string(TAMBLOR_TEST_FIXTURES) + "/picture/cmyk-red.jpg", std::ios::binary);
    const std::string cmyk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(cmyk.size(), 355u);
    EXPECT_EQ(LibraryPixel(cmyk), (std::vector<int>{255, 255, 0}));
    EXPECT_FALSE(decoder.Decode(cmyk, "cmyk.jpg", image));

    // Small files that claim 40000 x 40000 pixels (six gigabytes decoded) are refused from their
    // header, before anything is made of them: a PNG, a BMP and the noise JPEG with its frame size
    // changed. Just inside the limit, the header check lets a picture through.
    const std::string png(
        "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x9c\x40\x00\x00\x9c\x40\x08\x06\x00\x00\x00\x51\x0c"
        "\x0e\x05\x00\x00\x00\x0bIDAT\x78\x9c\x63\x60\x80\x01\x00\x00\x0a\x00\x01\x7f\x80\x74\x5e\x00\x00\x00"
        "\x00IEND\xae\x42\x60\x82",
        68);
    std::string bmp(54 + 12, '\0');
    auto put32 = [&bmp](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<uint32_t>(bmp.size()));
    put32(10, 54);     // pixel data offset
    put32(14, 40);     // header size
    put32(18, 40000);  // width
    put32(22, 40000);  // height
    bmp[26] = 1;       // planes
    bmp[28] = 24;      // bits per pixel
    std::string hugeJpeg = jpeg;
    const size_t frame = hugeJpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    for (size_t at : {frame + 5, frame + 7}) {  // height, then width: 40000 = 0x9C40
        hugeJpeg[at] = '\x9C';
        hugeJpeg[at + 1] = '\x40';
    }
    for (const std::string& huge : {png, bmp, hugeJpeg}) {
        EXPECT_EQ(PictureFitsSide(RecognisePicture(huge), huge, SdlImageDecoder::kMaxPictureSide), false);
        EXPECT_FALSE(decoder.Decode(huge, "huge.png", image));
    }
    EXPECT_TRUE(PictureFitsSide(RecognisePicture(jpeg), jpeg, 64));
    EXPECT_FALSE(PictureFitsSide(RecognisePicture(jpeg), jpeg, 63));
}

}  // namespace
}  // namespace tamblor
