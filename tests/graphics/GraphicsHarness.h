#pragma once
// A Graphics object on a recording device with its services in a temporary folder. Pictures are
// "decoded" by a stand-in that reads "W H" from the file, so tests can make pictures of any size with
// a line of text; files starting with "broken" fail to decode.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "graphics/Graphics.h"
#include "graphics/RecordingRenderDevice.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/ImageDecoder.h"

namespace tamblor::test {

class SizeTextDecoder final : public ImageDecoder {
public:
    bool Decode(std::string_view bytes, std::string_view, Image& out) override {
        ++decodes;
        std::istringstream in{std::string(bytes)};
        int w = 0, h = 0;
        if (!(in >> w >> h) || w <= 0 || h <= 0)
            return false;
        out.width = w;
        out.height = h;
        out.rgba.assign(static_cast<size_t>(w) * h * 4, 0xAB);
        return true;
    }
    int decodes = 0;
};

struct GraphicsHarness {
    explicit GraphicsHarness(int width = 800, int height = 600)
        : files(user.Path(), ""),
          settings(files, log),
          language(files, log, clock),
          log(files),
          device(width, height),
          graphics(files, settings, language, log, clock, decoder) {
        log.timeOfDay = [] { return std::string("12:00:00"); };
        language.languageName = "ENGLISH";
        graphics.AttachDevice(device);
    }

    // A picture of the given pixel size under a logical name ("Graphics\a.png").
    void Picture(const std::string& logicalName, int w, int h) {
        std::string path = logicalName;
        for (char& c : path) {
            if (c == '\\')
                c = '/';
        }
        user.Write(path, std::to_string(w) + " " + std::to_string(h));
    }
    // Writes language.ini and lets the time for the language's next look at it pass.
    void LanguageFile(const std::string& body) {
        user.Write("language.ini", "[ENGLISH]\r\n" + body);
        clock.Advance(Language::kCheckIntervalMs);
    }
    std::string LogText() const { return user.Read("app.log"); }
    const RecordingRenderDevice::Draw& LastDraw() const { return device.draws.back(); }

    TempDir user;
    FileSystem files;
    Settings settings;
    Language language;
    Log log;
    ManualClock clock;
    SizeTextDecoder decoder;
    RecordingRenderDevice device;
    Graphics graphics;
};

}  // namespace tamblor::test
