#include "platform/display/VideoModes.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace tamblor {

std::string VideoModeText(const VideoMode& mode) {
    char text[64];
    std::snprintf(text, sizeof text, "%d x %d - %d bit", mode.width, mode.height, mode.bits);
    return text;
}

bool ParseVideoMode(const std::string& text, VideoMode* mode) {
    int w = 0, h = 0, bits = 0, used = 0;
    if (std::sscanf(text.c_str(), "%d x %d - %d bit%n", &w, &h, &bits, &used) != 3)
        return false;
    if (static_cast<size_t>(used) != text.size())
        return false;
    if (w < 320 || h < 200 || w > 16384 || h > 16384 || (bits != 16 && bits != 32))
        return false;
    *mode = VideoMode{w, h, bits};
    return true;
}

std::vector<VideoMode> BuildVideoModes(const std::vector<std::pair<int, int>>& desktopResolutions) {
    std::vector<std::pair<int, int>> sizes = {{800, 600}, {1024, 768}};
    for (const auto& size : desktopResolutions) {
        if (size.first >= 800 && size.second >= 600 && size.first <= 16384 && size.second <= 16384) {
            sizes.push_back(size);
        }
    }
    std::sort(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, a.second) < std::tie(b.first, b.second);
    });
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    std::vector<VideoMode> modes;
    for (const auto& size : sizes) {
        modes.push_back({size.first, size.second, 16});
        modes.push_back({size.first, size.second, 32});
    }
    return modes;
}

std::vector<std::string> VideoModeTexts(const std::vector<VideoMode>& modes) {
    std::vector<std::string> texts;
    for (const VideoMode& mode : modes) texts.push_back(VideoModeText(mode));
    return texts;
}

int PreselectVideoMode(const std::vector<std::string>& texts, const std::string& configured) {
    auto find = [&](const std::string& wanted) {
        auto it = std::find(texts.begin(), texts.end(), wanted);
        return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
    };
    if (!configured.empty()) {
        int index = find(configured);
        if (index >= 0)
            return index;
    }
    for (const char* fallback :
         {"800 x 600 - 16 bit", "1024 x 768 - 16 bit", "800 x 600 - 32 bit", "1024 x 768 - 32 bit"}) {
        int index = find(fallback);
        if (index >= 0)
            return index;
    }
    return -1;
}

}  // namespace tamblor
