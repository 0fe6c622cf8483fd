#include "GoldenImage.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/gl/PngFile.h"
#include "BuildPaths.h"

namespace tamblor::test {

::testing::AssertionResult MatchesGolden(const std::string& name, int width, int height,
                                         const std::vector<uint8_t>& rgba, const std::string& renderer) {
    std::string goldenPath = std::string(TAMBLOR_TEST_GOLDEN) + "/" + name + ".png";
    const char* update = std::getenv("TAMBLOR_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        if (!WritePng(goldenPath, width, height, rgba)) {
            return ::testing::AssertionFailure() << "cannot write " << goldenPath;
        }
        return ::testing::AssertionSuccess() << "updated " << goldenPath;
    }
    int gw = 0, gh = 0;
    std::vector<uint8_t> golden;
    bool exact = renderer.find("llvmpipe") != std::string::npos;
    bool loaded = ReadPng(goldenPath, gw, gh, golden);
    long differing = 0;
    long outliers = 0;
    int worst = 0;
    std::vector<uint8_t> diff(rgba.size(), 0);
    if (loaded && gw == width && gh == height) {
        for (size_t p = 0; p < rgba.size(); p += 4) {
            int d = 0;
            for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(int(rgba[p + c]) - int(golden[p + c])));
            worst = std::max(worst, d);
            if (d > 0)
                ++differing;
            if (d > kTolerance)
                ++outliers;
            uint8_t grey = static_cast<uint8_t>((rgba[p] + rgba[p + 1] + rgba[p + 2]) / 6);
            diff[p] = d > 0 ? 255 : grey;
            diff[p + 1] = d > 0 ? 0 : grey;
            diff[p + 2] = d > 0 ? 0 : grey;
            diff[p + 3] = 255;
        }
        long pixels = static_cast<long>(width) * height;
        bool ok = exact ? differing == 0 : outliers <= static_cast<long>(kOutlierShare * pixels);
        if (ok)
            return ::testing::AssertionSuccess();
    }
    std::string outDir = std::string(TAMBLOR_TEST_BINARY_DIR) + "/golden-failures";
    std::filesystem::create_directories(outDir);
    WritePng(outDir + "/" + name + "-actual.png", width, height, rgba);
    if (loaded && gw == width && gh == height)
        WritePng(outDir + "/" + name + "-diff.png", width, height, diff);
    std::ostringstream why;
    if (!loaded) {
        why << "golden image " << goldenPath << " cannot be read";
    } else if (gw != width || gh != height) {
        why << "golden image is " << gw << " x " << gh << ", picture " << width << " x " << height;
    } else {
        why << differing << " pixels differ (worst channel difference " << worst << ", " << outliers
            << " beyond " << kTolerance << ") on renderer '" << renderer << "'"
            << (exact ? ", exact match required" : "");
    }
    return ::testing::AssertionFailure() << name << ": " << why.str() << "; actual and diff in " << outDir;
}

}  // namespace tamblor::test
