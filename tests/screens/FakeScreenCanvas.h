#pragma once
// A canvas that records what is drawn, with picture sizes set by the test, and a sound player that
// records the files played.
#include <map>
#include <string>
#include <vector>

#include "screens/ScreenCanvas.h"

namespace tamblor::test {

struct DrawCall {
    std::string kind;  // "picture", "part", "rotated", "string", "filter"
    std::string name;  // picture or text key
    float x = 0, y = 0, w = 0, h = 0, angle = 0, size = 0;  // a part's right texture edge in size
    uint32_t colour = 0;
    uint32_t flags = 0;
};

class FakeScreenCanvas : public ScreenCanvas {
public:
    int width = 800;
    int height = 600;
    int fontSheetHeight = 256;
    std::map<std::string, std::pair<int, int>> pictureSizes;
    std::vector<DrawCall> calls;

    int ClientWidth() const override { return width; }
    int ClientHeight() const override { return height; }
    bool PictureSize(std::string_view picture, int& w, int& h) override {
        auto it = pictureSizes.find(std::string(picture));
        if (it == pictureSizes.end())
            return false;
        w = it->second.first;
        h = it->second.second;
        return true;
    }
    int FontSheetHeight() override { return fontSheetHeight; }
    void DrawPicture(std::string_view picture, float x, float y, float w, float h, uint32_t colour,
                     uint32_t flags) override {
        calls.push_back({"picture", std::string(picture), x, y, w, h, 0, 0, colour, flags});
    }
    void DrawPicturePart(std::string_view picture, float x, float y, float w, float h, float, float, float u1,
                         float, uint32_t colour, uint32_t flags) override {
        calls.push_back({"part", std::string(picture), x, y, w, h, 0, u1, colour, flags});
    }
    void DrawPictureRotated(std::string_view picture, float x, float y, float w, float h, float angle,
                            uint32_t colour, uint32_t flags) override {
        calls.push_back({"rotated", std::string(picture), x, y, w, h, angle, 0, colour, flags});
    }
    void DrawString(float x, float y, float size, uint32_t colour, uint32_t flags,
                    std::string_view key) override {
        calls.push_back({"string", std::string(key), x, y, 0, 0, 0, size, colour, flags});
    }
    void SetLinearFiltering(bool linear) override {
        calls.push_back({"filter", linear ? "linear" : "none", 0, 0, 0, 0, 0, 0, 0, 0});
    }

    std::vector<DrawCall> Named(const std::string& name) const {
        std::vector<DrawCall> out;
        for (const auto& c : calls)
            if (c.name == name)
                out.push_back(c);
        return out;
    }
};

class RecordingSoundFiles : public SoundFilePlayer {
public:
    std::vector<std::string> played;
    void PlaySoundFile(std::string_view fileName) override { played.emplace_back(fileName); }
};

}  // namespace tamblor::test
