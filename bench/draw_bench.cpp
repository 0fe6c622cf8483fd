// CPU time and draw calls of one frame of 500 sprites and 300 bitmap-font glyphs, on the recording
// device and on OpenGL (offscreen; run with SDL_VIDEODRIVER=offscreen where there is no display).
// Usage: tamblor_bench_draw [frames]
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Language.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "graphics/Graphics.h"
#include "graphics/RecordingRenderDevice.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/OffscreenGlContext.h"
#include "platform/gl/PngFile.h"
#include "platform/gl/SdlImageDecoder.h"

namespace {

using namespace tamblor;

double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// A folder with a font sheet, a sprite picture and the language file, removed at the end.
struct BenchFolder {
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamblor-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? pattern : std::string();
        std::vector<uint8_t> sheet(512 * 256 * 4);
        for (size_t i = 0; i < sheet.size(); i += 4) {
            sheet[i] = sheet[i + 1] = sheet[i + 2] = 255;
            sheet[i + 3] = static_cast<uint8_t>((i / 4) % 7 == 0 ? 0 : 255);
        }
        WritePng(path + "/font01.png", 512, 256, sheet);
        std::vector<uint8_t> sprite(64 * 64 * 4, 200);
        WritePng(path + "/sprite.png", 64, 64, sprite);
        std::ofstream ini(path + "/language.ini", std::ios::binary);
        ini << "[ENGLISH]\r\nSymbolList=";
        for (int c = 33; c <= 125; ++c) ini << static_cast<char>(c);
        ini << " ~\r\n";
        for (int r = 1; r <= 8; ++r) ini << "Line0" << r << "_Width=9,8,10,8,13,11,7,6,6,8,9,5,5,4,6,9\r\n";
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

struct Result {
    double cpuMsPerFrame = 0;  // CPU time of the whole process (with llvmpipe, its raster threads too)
    double wallMsPerFrame = 0;
    double drawCallsPerFrame = 0;
};

// One frame: 500 sprites with a mix of flags, then 10 lines of 30 glyphs.
void DrawFrame(Graphics& g, TextureHandle sprite, int frame) {
    RenderDevice& d = *g.Device();
    d.Clear(0xFF000000);
    RenderState& s = d.State();
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.destBlend = BlendFactor::InvSrcAlpha;
    static const uint32_t kFlags[4] = {SPRITE_ALPHA, SPRITE_ADD, 0, SPRITE_ALPHA | SPRITE_TINT};
    for (int i = 0; i < 500; ++i) {
        float x = static_cast<float>((i * 37 + frame) % 800) / 800.0f;
        float y = static_cast<float>((i * 53) % 600) / 600.0f;
        g.DrawSprite(sprite, x, y, 0.06f, 0.08f, 0, 0, 1, 1, 0xFFFFFFFF, kFlags[i % 4]);
    }
    // "0123456789ABCDEFGHIJKLMNOPQRST" has 30 symbols, all in the list.
    for (int line = 0; line < 10; ++line) {
        g.DrawString(0.05f, 0.05f + line * 0.09f, 0.04f, 0xFFFFFF00, 0, "0123456789ABCDEFGHIJKLMNOPQRST");
    }
    d.Present();
}

Result Run(Graphics& g, int frames, const std::function<uint64_t()>& drawCalls,
           const std::function<void()>& endFrame, const std::function<void()>& finish) {
    TextureHandle sprite = g.FindTexture("sprite.png");
    for (int f = 0; f < 5; ++f) {  // warm-up
        DrawFrame(g, sprite, f);
        endFrame();
    }
    finish();
    uint64_t calls0 = drawCalls();
    uint64_t calls = 0;
    double t0 = CpuSeconds();
    double w0 = WallSeconds();
    for (int f = 0; f < frames; ++f) {
        uint64_t before = drawCalls();
        DrawFrame(g, sprite, f);
        calls += drawCalls() - before;
        endFrame();
    }
    finish();
    double t1 = CpuSeconds();
    double w1 = WallSeconds();
    (void)calls0;
    return {(t1 - t0) * 1000.0 / frames, (w1 - w0) * 1000.0 / frames, static_cast<double>(calls) / frames};
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    BenchFolder folder;
    FileSystem files(folder.path, "");
    Log log(files);
    Settings settings(files, log);
    ManualClock clock;
    Language language(files, log, clock);
    language.languageName = "ENGLISH";
    SdlImageDecoder decoder;

    {
        RecordingRenderDevice device(800, 600);
        Graphics g(files, settings, language, log, clock, decoder);
        g.AttachDevice(device);
        g.fontCellsExact = 1;
        g.LoadSymbolWidths("font01.png");
        uint64_t total = 0;
        Result r = Run(
            g, frames, [&] { return total + device.draws.size(); },
            [&] {
                total += device.draws.size();
                device.ForgetDraws();
            },
            [] {});
        std::printf(
            "recording device: %d frames, %.3f ms CPU (%.3f ms wall) per frame, %.0f draw calls per frame\n",
            frames, r.cpuMsPerFrame, r.wallMsPerFrame, r.drawCallsPerFrame);
        g.DeleteAllTexturesMIPMAP();
    }

    OffscreenGlContext context;
    if (!context.Ok()) {
        std::printf("OpenGL: no context (%s)\n", context.Error().c_str());
        return 1;
    }
    GlRenderDevice device(800, 600);
    if (!device.Ok()) {
        std::printf("OpenGL: device failed (%s)\n", device.Error().c_str());
        return 1;
    }
    Graphics g(files, settings, language, log, clock, decoder);
    g.AttachDevice(device);
    g.fontCellsExact = 1;
    g.LoadSymbolWidths("font01.png");
    std::vector<uint8_t> pixel;
    Result r = Run(
        g, frames, [&] { return device.Stats().drawCalls; }, [] {},
        [&] { device.ReadBackBuffer(pixel); });  // waits for the GPU work to finish
    std::printf("OpenGL (%s): %d frames, %.3f ms CPU (%.3f ms wall) per frame, %.0f draw calls per frame\n",
                device.Renderer().c_str(), frames, r.cpuMsPerFrame, r.wallMsPerFrame, r.drawCallsPerFrame);
    g.DeleteAllTexturesMIPMAP();
    return 0;
}
