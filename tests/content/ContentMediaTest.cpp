// Checks the generated pictures, sounds and music of the build's game folder: sizes the drawing code
// relies on, clean alpha where it matters, the font sheet's empty guard bands, sound levels and the
// seamless music loop.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "content/GameFolder.h"

namespace tamblor {
namespace {

using test::GameDir;
using test::GameFileExists;
using test::GamePath;
using test::ImageSize;
using test::ReadGameFile;

// RGBA pixels of a picture, decoded with SDL2_image.
struct Pixels {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    uint8_t Alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * w + x) * 4 + 3]; }
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
};

Pixels Load(const std::string& logicalName) {
    Pixels p;
    SDL_Surface* raw = IMG_Load(GamePath(logicalName).c_str());
    if (!raw) return p;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    if (!s) return p;
    p.w = s->w;
    p.h = s->h;
    p.rgba.resize(static_cast<size_t>(p.w) * p.h * 4);
    for (int y = 0; y < p.h; ++y) {
        std::memcpy(&p.rgba[static_cast<size_t>(y) * p.w * 4], static_cast<uint8_t*>(s->pixels) + y * s->pitch,
                    static_cast<size_t>(p.w) * 4);
    }
    SDL_FreeSurface(s);
    return p;
}

void ExpectSize(const std::string& name, int w, int h) {
    ASSERT_TRUE(GameFileExists(name)) << name;
    auto size = ImageSize(ReadGameFile(name));
    ASSERT_TRUE(size.has_value()) << name << " is not a PNG or JPEG";
    EXPECT_EQ(size->first, w) << name;
    EXPECT_EQ(size->second, h) << name;
}

TEST(ContentPictures, SizesTheDrawingCodeReliesOn) {
    struct Expected {
        const char* name;
        int w, h;
    };
    const Expected fixed[] = {
        {"Graphics\\font01.png", 512, 256},       {"Graphics\\back_menu.jpg", 800, 600},
        {"Graphics\\am_bottom_bar.jpg", 800, 78},  {"Graphics\\status-border.png", 1024, 1024},
        {"Graphics\\round_time.png", 128, 64},     {"Graphics\\progress-empty.png", 160, 24},
        {"Graphics\\progress-full.png", 160, 24},  {"Graphics\\digits.png", 512, 64},
        {"Graphics\\particle1.png", 64, 64},       {"Graphics\\particle2.png", 64, 64},
        {"Graphics\\particleq.png", 32, 32},       {"Graphics\\particleq2.png", 64, 64},
        {"Graphics\\star-rotation.png", 512, 64},  {"Graphics\\am_effect_star.png", 32, 32},
        {"Graphics\\am_effect_chomp.png", 64, 64}, {"Graphics\\grey.png", 80, 80},
        {"Graphics\\btn_stage.png", 80, 80},       {"Graphics\\btn_stage_over.png", 80, 80},
        {"Graphics\\arrow.png", 64, 64},           {"Graphics\\bug_right.png", 384, 64},
        {"Graphics\\instr_bug.png", 64, 64},       {"Graphics\\logo.png", 512, 128},
        {"Graphics\\intro.jpg", 800, 600},         {"Graphics\\map.jpg", 800, 600},
        {"Graphics\\shade.png", 16, 16},           {"Graphics\\banner.png", 640, 120},
        {"Graphics\\panel_s.png", 400, 260},       {"Graphics\\panel_m.png", 480, 420},
        {"Graphics\\panel_l.png", 720, 540},       {"Graphics\\panel_info.png", 384, 288},
        {"Graphics\\btn.png", 256, 64},            {"Graphics\\btn_over.png", 256, 64},
        {"Graphics\\slider.png", 256, 32},         {"Graphics\\slider_over.png", 256, 32},
        {"Graphics\\thumb.png", 24, 32},           {"Graphics\\thumb_over.png", 24, 32},
        {"Graphics\\slider_fill.png", 256, 32},    {"English\\hint1.png", 256, 64},
        {"English\\hint2.png", 456, 64},           {"English\\hint3.png", 304, 64},
    };
    for (const Expected& e : fixed) ExpectSize(e.name, e.w, e.h);
    for (int i = 1; i <= 5; ++i) ExpectSize("Graphics\\back_game0" + std::to_string(i) + ".jpg", 688, 516);
    for (int i = 1; i <= 6; ++i) ExpectSize("Graphics\\line" + std::to_string(i) + ".png", 96, 512);
    for (int i = 1; i <= 3; ++i) ExpectSize("Graphics\\am_bonus0" + std::to_string(i) + ".png", 64, 64);
    for (int i = 1; i <= 4; ++i) {
        for (const char* side : {"left", "right"}) {
            ExpectSize("Graphics\\butterfly_anim" + std::to_string(i) + "_" + side + ".png", 288, 48);
        }
    }
    for (const char* b : {"btn_prev", "btn_next", "btn_bin"}) {
        ExpectSize(std::string("Graphics\\") + b + ".png", 64, 64);
        ExpectSize(std::string("Graphics\\") + b + "_over.png", 64, 64);
    }
    for (const char* c : {"check", "check_over", "check_on", "check_on_over"}) {
        ExpectSize(std::string("Graphics\\") + c + ".png", 32, 32);
    }
    // Every shape picture is 64 x 64, and the whole scan stays within the 250 textures.
    int textures = 0;
    for (const char* folder : {"Graphics", "Graphics/Shapes", "English"}) {
        for (const auto& entry : std::filesystem::directory_iterator(GameDir() + "/" + folder)) {
            if (!entry.is_regular_file()) continue;
            std::string name = entry.path().filename().string();
            std::string ext = entry.path().extension().string();
            EXPECT_TRUE(ext == ".png" || ext == ".jpg") << name << ": lower-case .png or .jpg only";
            ++textures;
            if (std::string(folder) == "Graphics/Shapes") ExpectSize("Graphics\\Shapes\\" + name, 64, 64);
        }
    }
    EXPECT_GE(textures, 199);
    EXPECT_LE(textures, 250);
}

// The box around every pixel that is not fully transparent.
struct Ink {
    int left = 0, top = 0, right = -1, bottom = -1;
};

Ink InkOf(const Pixels& p) {
    Ink ink{p.w, p.h, -1, -1};
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            if (p.Alpha(x, y) == 0)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

TEST(ContentPictures, HintsAndHeadlinesKeepClearOfWhatTheyMeet) {
    // The hints above the first line's hole and above the carried shape are drawn centred on a point
    // at least 32 pixels right of the side panel (the first line's centre is at 232, the panel ends at
    // 200): their bubbles lean right and reach no further left than that.
    for (const char* hint : {"English\\hint2.png", "English\\hint3.png"}) {
        Pixels p = Load(hint);
        ASSERT_GT(p.w, 0) << hint;
        EXPECT_GE(InkOf(p).left, p.w / 2 - 32) << hint;
    }
    // The bonus numbers set off from the centre of "Level Complete" (drawn at its own size) and of
    // "Bonus!" (drawn 0.2 of 600 pixels high): each word ends above the top of the digits.
    Pixels digits = Load("Graphics\\digits.png");
    ASSERT_GT(digits.h, 0);
    const float digitsTop = static_cast<float>(InkOf(digits).top) - digits.h / 2.0f;
    struct Headline {
        const char* key;
        const char* picture;
        float drawnHeight;  // 0: own size
    };
    const std::string language = ReadGameFile("language.ini");
    for (const std::string folder : {"English", "German", "French"}) {
        for (Headline h : {Headline{"Level Complete", "level_complete.png", 0.0f},
                           Headline{"Bonus!", "bonus.png", 120.0f}}) {
            const std::string picture = folder + "\\" + h.picture;
            EXPECT_NE(language.find(std::string(h.key) + "=" + picture), std::string::npos) << h.key;
            Pixels p = Load(picture);
            ASSERT_GT(p.h, 0) << picture;
            const float scale = h.drawnHeight > 0.0f ? h.drawnHeight / static_cast<float>(p.h) : 1.0f;
            const float wordBottom = (static_cast<float>(InkOf(p).bottom + 1) - p.h / 2.0f) * scale;
            EXPECT_LT(wordBottom, digitsTop) << picture;
        }
    }
}

TEST(ContentPictures, AlphaWhereTheDrawingDependsOnIt) {
    // Shapes: clean transparent corners (the placement glow draws the alpha as a white silhouette)
    // and an opaque middle.
    for (const auto& entry : std::filesystem::directory_iterator(GameDir() + "/Graphics/Shapes")) {
        std::string name = "Graphics\\Shapes\\" + entry.path().filename().string();
        Pixels p = Load(name);
        ASSERT_EQ(p.w, 64) << name;
        for (int c : {0, 63}) {
            EXPECT_EQ(p.Alpha(c, 0), 0) << name;
            EXPECT_EQ(p.Alpha(c, 63), 0) << name;
        }
        for (int i = 0; i < 64; ++i) {
            EXPECT_EQ(p.Alpha(i, 0) | p.Alpha(0, i) | p.Alpha(63, i) | p.Alpha(i, 63), 0) << name << " touches its edge";
        }
        EXPECT_EQ(p.Alpha(32, 32), 255) << name;
    }
    // Font sheet: nothing in the top 3 rows, the right 2 columns, the left column or the bottom row of
    // any cell, so no glyph bleeds into a neighbour and the intro's cut top loses nothing.
    Pixels font = Load("Graphics\\font01.png");
    ASSERT_EQ(font.w, 512);
    int inked = 0;
    for (int cell = 0; cell < 128; ++cell) {
        int cx = (cell % 16) * 32, cy = (cell / 16) * 32;
        bool any = false;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                uint8_t a = font.Alpha(cx + x, cy + y);
                any = any || a > 0;
                bool guard = y < 3 || y == 31 || x == 0 || x >= 30;
                if (guard) {
                    EXPECT_EQ(a, 0) << "cell " << cell << " at " << x << "," << y;
                }
            }
        }
        inked += any;
        if (any) {
            // White glyph inside a dark outline: the cell holds both bright and dark opaque pixels.
            bool white = false, dark = false;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const uint8_t* px = font.At(cx + x, cy + y);
                    if (px[3] >= 240 && px[0] > 200 && px[1] > 200 && px[2] > 200) white = true;
                    if (px[3] > 200 && px[0] < 60 && px[1] < 60 && px[2] < 60) dark = true;
                }
            }
            EXPECT_TRUE(white && dark) << "cell " << cell;
        }
    }
    EXPECT_EQ(inked, 125) << "every symbol but the blank has a glyph";
    // The board frame: opaque panel and corners, a see-through board window and tray band, and the
    // last row and column repeated past 800 x 600 for filtering.
    Pixels border = Load("Graphics\\status-border.png");
    ASSERT_EQ(border.w, 1024);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{5, 5}, {100, 300}, {795, 5}, {795, 595}, {5, 595},
                                                        {100, 490}, {780, 300}, {400, 15}, {400, 500}, {400, 595},
                                                        {803, 300}, {400, 603}}) {
        EXPECT_EQ(border.Alpha(x, y), 255) << x << "," << y;
    }
    for (auto [x, y] : std::vector<std::pair<int, int>>{{480, 255}, {250, 60}, {700, 450}, {100, 549}, {400, 549},
                                                        {795, 520}, {5, 580}}) {
        EXPECT_EQ(border.Alpha(x, y), 0) << x << "," << y;
    }
    // Line strips tile vertically: the last row leads into the first as any row leads into the next.
    for (int i = 1; i <= 6; ++i) {
        Pixels line = Load("Graphics\\line" + std::to_string(i) + ".png");
        ASSERT_EQ(line.h, 512);
        int seam = 0, inner = 0;
        for (int x = 0; x < line.w; ++x) {
            for (int c = 0; c < 4; ++c) {
                seam = std::max(seam, std::abs(line.At(x, 511)[c] - line.At(x, 0)[c]));
                inner = std::max(inner, std::abs(line.At(x, 256)[c] - line.At(x, 255)[c]));
            }
        }
        EXPECT_LE(seam, inner + 2) << "line" << i;
        EXPECT_LT(line.Alpha(0, 100), 40) << "edges fade out";
        EXPECT_GT(line.Alpha(48, 100), 90);
        EXPECT_LT(line.Alpha(48, 100), 200) << "the strip is translucent";
    }
    // The shade darkens at about 55 %.
    Pixels shade = Load("Graphics\\shade.png");
    ASSERT_EQ(shade.w, 16);
    EXPECT_NEAR(shade.Alpha(8, 8), 140, 2);
}

struct Wav {
    bool ok = false;
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

Wav ParseWav(const std::string& bytes) {
    Wav w;
    auto le16 = [&](size_t i) { return static_cast<uint16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)); };
    auto le32 = [&](size_t i) { return static_cast<uint32_t>(le16(i)) | (static_cast<uint32_t>(le16(i + 2)) << 16); };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return w;
    size_t i = 12;
    bool fmt = false;
    while (i + 8 <= bytes.size()) {
        std::string id = bytes.substr(i, 4);
        uint32_t size = le32(i + 4);
        if (i + 8 + size > bytes.size()) return w;
        if (id == "fmt ") {
            if (le16(i + 8) != 1) return w;  // PCM only
            w.channels = le16(i + 10);
            w.rate = static_cast<int>(le32(i + 12));
            w.bits = le16(i + 22);
            fmt = true;
        } else if (id == "data" && fmt) {
            w.samples.resize(size / 2);
            std::memcpy(w.samples.data(), bytes.data() + i + 8, w.samples.size() * 2);
            w.ok = true;
            return w;
        }
        i += 8 + size + (size & 1);
    }
    return w;
}

TEST(ContentSounds, EffectsAreCleanShortPcm) {
    const int kMinus1Dbfs = static_cast<int>(32767 * std::pow(10.0, -1.0 / 20.0));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GameDir() + "/Sound")) {
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ASSERT_EQ(entry.path().extension(), ".wav");
        Wav w = ParseWav(ReadGameFile("Sound\\" + name));
        ASSERT_TRUE(w.ok);
        ++files;
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.rate, 44100);
        EXPECT_EQ(w.channels, 1);
        EXPECT_LT(w.samples.size() * 2, 1024u * 1024u) << "held in memory whole only up to 1 MiB";
        ASSERT_GT(w.samples.size(), 1000u);
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_LE(peak, kMinus1Dbfs);
        EXPECT_GT(peak, 100) << "silent";
        // No click at the ends: the first and last few samples are all but silent.
        for (size_t k = 0; k < 8; ++k) {
            EXPECT_LE(std::abs(w.samples[k]), 200) << "start";
            EXPECT_LE(std::abs(w.samples[w.samples.size() - 1 - k]), 200) << "end";
        }
    }
    EXPECT_GE(files, 48);
    EXPECT_LE(files, 100);
}

TEST(ContentMusic, ThemeLoopsWithoutAGapOrAClick) {
    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen(GamePath("Music\\theme1.ogg").c_str(), &vf), 0);
    std::unique_ptr<OggVorbis_File, int (*)(OggVorbis_File*)> guard(&vf, ov_clear);
    vorbis_info* info = ov_info(&vf, -1);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 44100);
    EXPECT_EQ(ov_streams(&vf), 1);
    ogg_int64_t total = ov_pcm_total(&vf, -1);
    EXPECT_GE(total, 60 * 44100);
    EXPECT_LE(total, 120 * 44100);
    std::vector<int16_t> pcm;
    pcm.reserve(static_cast<size_t>(total) * 2);
    char buffer[8192];
    int section = 0;
    for (;;) {
        long n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        ASSERT_GE(n, 0);
        if (n == 0) break;
        size_t old = pcm.size();
        pcm.resize(old + n / 2);
        std::memcpy(&pcm[old], buffer, static_cast<size_t>(n));
    }
    ASSERT_EQ(static_cast<ogg_int64_t>(pcm.size() / 2), total);
    size_t frames = pcm.size() / 2;
    for (int ch = 0; ch < 2; ++ch) {
        SCOPED_TRACE(ch);
        std::vector<int> deltas;
        deltas.reserve(frames);
        for (size_t i = 1; i < frames; ++i) deltas.push_back(std::abs(pcm[2 * i + ch] - pcm[2 * (i - 1) + ch]));
        std::nth_element(deltas.begin(), deltas.begin() + deltas.size() * 99 / 100, deltas.end());
        int normal = deltas[deltas.size() * 99 / 100];
        int seam = std::abs(pcm[ch] - pcm[2 * (frames - 1) + ch]);
        EXPECT_LE(seam, normal) << "the wrap from the last sample to the first jumps";
        // No silent stretch on either side of the seam: 50 ms windows hold real signal.
        auto rms = [&](size_t from) {
            double sum = 0;
            size_t n = 2205;
            for (size_t i = from; i < from + n; ++i) sum += double(pcm[2 * i + ch]) * pcm[2 * i + ch];
            return std::sqrt(sum / n);
        };
        EXPECT_GT(rms(0), 150.0) << "silence at the start";
        EXPECT_GT(rms(frames - 2205), 150.0) << "silence at the end";
        double overall = 0;
        for (size_t i = 0; i < frames; ++i) overall += double(pcm[2 * i + ch]) * pcm[2 * i + ch];
        overall = std::sqrt(overall / frames);
        EXPECT_GT(rms(0), overall * 0.2);
        EXPECT_GT(rms(frames - 2205), overall * 0.2);
    }
}

}  // namespace
}  // namespace tamblor
