#pragma once
#include <string>
#include <utility>
#include <vector>

namespace tamblor {

// The video modes offered to the player, as the texts stored in config.ini VIDEO/Mode:
// "W x H - 16 bit" and "W x H - 32 bit" for 800 x 600, 1024 x 768 and every desktop resolution of at
// least 800 x 600. The bit depth only decides the texture format rule; the desktop never switches.
struct VideoMode {
    int width = 800;
    int height = 600;
    int bits = 32;
};

std::string VideoModeText(const VideoMode& mode);  // "%d x %d - %d bit"
// Reads a mode text back; false when it is not of that form or the numbers make no sense.
bool ParseVideoMode(const std::string& text, VideoMode* mode);

// Sorted by size, each size twice (16 then 32 bit), duplicates removed, sizes below 800 x 600 dropped.
std::vector<VideoMode> BuildVideoModes(const std::vector<std::pair<int, int>>& desktopResolutions);
std::vector<std::string> VideoModeTexts(const std::vector<VideoMode>& modes);

// The entry the setup dialog selects when it opens: the configured mode when listed, else the first
// of "800 x 600 - 16 bit", "1024 x 768 - 16 bit", "800 x 600 - 32 bit", "1024 x 768 - 32 bit" that is
// listed; -1 when none.
int PreselectVideoMode(const std::vector<std::string>& texts, const std::string& configured);

}  // namespace tamblor
