#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tamblor {

// Writes width x height RGBA pixels (top row first) as a PNG file at a real path. False on failure.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
// The same as a JPEG file of the given quality (0..100); alpha is dropped.
bool WriteJpg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba, int quality);
// Reads a PNG (or any picture SDL2_image knows) from a real path into RGBA pixels.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgba);

}  // namespace tamblor
