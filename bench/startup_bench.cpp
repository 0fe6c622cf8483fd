// Start-up benchmark: wall time from the start of the program's work (log, screens, window, device,
// every texture and sound) to the first main-menu frame that answers the mouse, headless.
// Usage: tamblor_bench_startup [runs] [data folder]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Application.h"
#include "BuildPaths.h"

int main(int argc, char** argv) {
    using namespace tamblor;
    using Clock = std::chrono::steady_clock;
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string dataDir = argc > 2 ? argv[2] : TAMBLOR_BUILD_GAME_DIR;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamblor-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return 1;
        ApplicationConfig config;
        config.userDir = pattern;
        config.dataDir = dataDir;
        config.headless = true;
        config.seed = 1;
        auto start = Clock::now();
        double seconds = -1.0;
        {
            Application app(config);
            if (app.Create() == 0 && app.Step() && app.State() == MainMenu && app.IsReady()) {
                seconds = std::chrono::duration<double>(Clock::now() - start).count();
            }
        }
        std::filesystem::remove_all(pattern);
        if (seconds < 0) {
            std::fprintf(stderr, "run %d: the game did not reach its main menu\n", run + 1);
            return 1;
        }
        times.push_back(seconds);
        std::printf("run %d: %.1f ms\n", run + 1, seconds * 1000.0);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to the first main-menu frame (headless, %d runs): best %.1f ms, median %.1f ms\n",
                runs, times.front() * 1000.0, times[times.size() / 2] * 1000.0);
    return 0;
}
