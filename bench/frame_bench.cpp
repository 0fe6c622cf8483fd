// Frame benchmark: the real application, headless, through the main menu, the stage map, a level in
// play and the busiest game frame (six full lines, a full panel, a held shape, 24 effects). For each it
// prints the draw calls and texture switches per frame, the heap allocations made per frame (every
// operator new of the process while the frame runs), the file-system operations per frame, and the CPU
// time per frame on the recording device and on OpenGL; at the end the process's peak resident memory.
//
// Every pass is run twice, with the frame caches and batching on ("after", the game as it ships) and
// off ("before", ApplicationConfig::frameCaches): off, each lookup of a text resolves and stats
// language.ini, every name resolution scans the user folder again, and every draw is a draw call of
// its own. The texture pages and the frames without per-frame strings cannot be turned off, so
// "before" understates the old cost: the ratios printed are a lower bound of the gain.
// Usage: tamblor_bench_frame [frames per state] [data folder]
// Without a display, run it with SDL_VIDEODRIVER=offscreen.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "BuildPaths.h"
#include "BusiestFrame.h"
#include "app/Application.h"
#include "graphics/RecordingRenderDevice.h"

namespace {

using namespace tamblor;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The application with its drawing reachable, so a frozen frame can be drawn again and again.
class BenchApplication final : public Application {
public:
    using Application::Application;
    void DrawOnly() { Render(); }
};

struct Figures {
    double drawCalls = 0;
    double textureSwitches = 0;
    double allocations = 0;
    double fileOperations = 0;
    double cpuMs = 0;
};

// Runs frames of the application (or, for a frozen picture, only its drawing) and averages.
Figures Measure(BenchApplication& app, int frames, bool drawOnly) {
    RenderDevice& device = *app.Device();
    DrawStats stats0 = device.Stats();
    uint64_t files0 = app.Services().files.DiskOperations();
    uint64_t allocations = 0;
    double cpu = 0;
    for (int i = 0; i < frames; ++i) {
        double t0 = CpuSeconds();
        uint64_t a0 = bench::AllocationCount();
        if (drawOnly) {
            app.DrawOnly();
        } else {
            app.Step();
        }
        allocations += bench::AllocationCount() - a0;
        cpu += CpuSeconds() - t0;
    }
    DrawStats stats1 = device.Stats();
    double n = frames;
    return {static_cast<double>(stats1.drawCalls - stats0.drawCalls) / n,
            static_cast<double>(stats1.textureSwitches - stats0.textureSwitches) / n,
            static_cast<double>(allocations) / n,
            static_cast<double>(app.Services().files.DiskOperations() - files0) / n, cpu * 1000.0 / n};
}

constexpr int kStates = 4;
constexpr int kRecordingRounds = 3;
const char* const kStateNames[kStates] = {"main menu", "stage map", "level in play", "busiest game frame"};

// One pass through the four states on one device, with the frame caches and batching on or off;
// false when the game did not get there.
bool Pass(bool recording, bool frameCaches, int frames, const std::string& dataDir, Figures (&out)[kStates]) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tamblor-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return false;
    RecordingRenderDevice* record = nullptr;
    bool ok = false;
    {
        ApplicationConfig config;
        config.userDir = pattern;
        config.dataDir = dataDir;
        config.headless = true;
        config.seed = 7;
        config.frameCaches = frameCaches;
        if (recording) {
            config.makeRenderDevice = [&record](int width, int height) {
                auto device = std::make_unique<RecordingRenderDevice>(width, height);
                record = device.get();
                return std::unique_ptr<RenderDevice>(std::move(device));
            };
        }
        BenchApplication app(config);
        // The record is emptied after every frame, as a test that looks at one frame at a time does.
        app.onFrameEnd = [&record] {
            if (record)
                record->ForgetDraws();
        };
        if (app.Create() == 0) {
            app.Step();
            for (int i = 0; i < 90; ++i) app.Step();
            out[0] = Measure(app, frames, false);
            ok = bench::GoToStageMap(app);
            out[1] = Measure(app, frames, false);
            ok = ok && bench::GoToLevel(app);
            out[2] = Measure(app, frames, false);
            ok = ok && bench::MakeBusiestFrame(app);
            app.DrawOnly();
            out[3] = Measure(app, frames, true);
        }
    }
    std::filesystem::remove_all(pattern);
    return ok;
}

// How many times lower after is than before, followed by unit ("-" when after took no measurable time).
std::string TimesLower(double before, double after, const char* unit) {
    if (after <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%s", before / after, unit);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    std::string dataDir = argc > 2 ? argv[2] : TAMBLOR_BUILD_GAME_DIR;
    Figures gl[kStates];
    Figures recorded[kStates];
    Figures glBefore[kStates];
    Figures recordedBefore[kStates];
    // OpenGL first, so the peak memory read after it is that of the game as it runs.
    if (!Pass(false, true, frames, dataDir, gl)) {
        std::fprintf(stderr, "the OpenGL pass did not reach a level in play\n");
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    long peakKb = usage.ru_maxrss;
    if (!Pass(false, false, frames, dataDir, glBefore)) {
        std::fprintf(stderr, "the OpenGL pass without the frame caches did not reach a level in play\n");
        return 1;
    }
    // The recording device's passes, with and without the caches in turn, kRecordingRounds times: each
    // state keeps its lowest CPU time, so a moment when the machine was busy elsewhere decides no ratio.
    for (int round = 0; round < kRecordingRounds; ++round) {
        Figures with[kStates];
        Figures without[kStates];
        if (!Pass(true, true, frames, dataDir, with) || !Pass(true, false, frames, dataDir, without)) {
            std::fprintf(stderr, "a recording pass did not reach a level in play\n");
            return 1;
        }
        for (int s = 0; s < kStates; ++s) {
            double lowest = round == 0 ? with[s].cpuMs : std::min(recorded[s].cpuMs, with[s].cpuMs);
            double lowestBefore =
                round == 0 ? without[s].cpuMs : std::min(recordedBefore[s].cpuMs, without[s].cpuMs);
            recorded[s] = with[s];
            recorded[s].cpuMs = lowest;
            recordedBefore[s] = without[s];
            recordedBefore[s].cpuMs = lowestBefore;
        }
    }
    std::printf(
        "per frame, %d frames per state (headless; allocations and file operations on OpenGL; CPU on\n"
        "the recording device the lowest of %d passes)\n",
        frames, kRecordingRounds);
    std::printf("%-20s %10s %10s %10s %10s %14s %12s\n", "state", "draws", "tex sw.", "allocs", "file ops",
                "cpu rec. ms", "cpu GL ms");
    for (int s = 0; s < kStates; ++s) {
        std::printf("%-20s %10.2f %10.2f %10.2f %10.3f %14.4f %12.4f\n", kStateNames[s], gl[s].drawCalls,
                    gl[s].textureSwitches, gl[s].allocations, gl[s].fileOperations, recorded[s].cpuMs,
                    gl[s].cpuMs);
    }
    std::printf("recording device: draws");
    for (const Figures& f : recorded) std::printf(" %.2f", f.drawCalls);
    std::printf(", allocations");
    for (const Figures& f : recorded) std::printf(" %.2f", f.allocations);
    std::printf("\npeak resident memory while playing (OpenGL pass): %.1f MB\n",
                static_cast<double>(peakKb) / 1024.0);

    std::printf(
        "\nbefore: frame caches and batching off (every text lookup resolves and stats language.ini,\n"
        "every name resolution scans the user folder, every draw is its own draw call); after: on.\n"
        "Texture pages and frames without per-frame strings stay in both, so \"before\" understates\n"
        "the old cost: each ratio is a lower bound of the gain. Per frame, before -> after\n"
        "(draws, allocations and file operations on OpenGL):\n");
    std::printf("%-20s %15s %17s %17s %24s %24s\n", "state", "draws", "allocs", "file ops", "cpu rec. ms",
                "cpu GL ms");
    for (int s = 0; s < kStates; ++s) {
        const Figures &rb = recordedBefore[s], &ra = recorded[s], &gb = glBefore[s], &ga = gl[s];
        std::printf(
            "%-20s %6.1f -> %5.1f %7.1f -> %6.1f %7.2f -> %6.3f %7.4f -> %6.4f %6s %7.3f -> %6.3f %6s\n",
            kStateNames[s], gb.drawCalls, ga.drawCalls, gb.allocations, ga.allocations, gb.fileOperations,
            ga.fileOperations, rb.cpuMs, ra.cpuMs, TimesLower(rb.cpuMs, ra.cpuMs, "x").c_str(), gb.cpuMs,
            ga.cpuMs, TimesLower(gb.cpuMs, ga.cpuMs, "x").c_str());
    }
    for (int s = 0; s < kStates; ++s) {
        std::printf(
            "%s CPU on the recording device: before (caches and batching off) %.4f ms, after %.4f ms, "
            "%s lower; draw calls %.1f before, %.1f after\n",
            kStateNames[s], recordedBefore[s].cpuMs, recorded[s].cpuMs,
            TimesLower(recordedBefore[s].cpuMs, recorded[s].cpuMs, " times").c_str(),
            recordedBefore[s].drawCalls, recorded[s].drawCalls);
    }
    return 0;
}
