#pragma once
// Helpers for the content tests: the build's game folder, whole-file reads, logical names (with
// backslashes) to paths, picture sizes read from PNG and JPEG headers.
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include "BuildPaths.h"

namespace tamblor::test {

inline std::string GameDir() { return TAMBLOR_BUILD_GAME_DIR; }

// The path of a logical name, letter case exactly as written.
inline std::string GamePath(const std::string& logicalName) {
    std::string p = logicalName;
    for (char& c : p) {
        if (c == '\\') c = '/';
    }
    return GameDir() + "/" + p;
}

// True only when the file exists with exactly this spelling (the folder scans build the names the
// data files must match).
inline bool GameFileExists(const std::string& logicalName) {
    std::error_code ec;
    return std::filesystem::is_regular_file(GamePath(logicalName), ec);
}

inline std::string ReadGameFile(const std::string& logicalName) {
    std::ifstream in(GamePath(logicalName), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Width and height from a PNG's IHDR chunk or a JPEG's start-of-frame marker.
inline std::optional<std::pair<int, int>> ImageSize(const std::string& bytes) {
    auto u8 = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
    if (bytes.size() >= 24 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 && bytes.compare(12, 4, "IHDR") == 0) {
        auto be32 = [&](size_t i) { return (u8(i) << 24) | (u8(i + 1) << 16) | (u8(i + 2) << 8) | u8(i + 3); };
        return std::make_pair(static_cast<int>(be32(16)), static_cast<int>(be32(20)));
    }
    if (bytes.size() >= 4 && u8(0) == 0xFF && u8(1) == 0xD8) {
        size_t i = 2;
        while (i + 9 < bytes.size()) {
            if (u8(i) != 0xFF) return std::nullopt;
            unsigned marker = u8(i + 1);
            size_t length = (u8(i + 2) << 8) | u8(i + 3);
            bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
            if (frame) {
                int h = static_cast<int>((u8(i + 5) << 8) | u8(i + 6));
                int w = static_cast<int>((u8(i + 7) << 8) | u8(i + 8));
                return std::make_pair(w, h);
            }
            i += 2 + length;
        }
    }
    return std::nullopt;
}

}  // namespace tamblor::test
