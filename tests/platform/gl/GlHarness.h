#pragma once
// A Graphics object drawing through real OpenGL into an offscreen back buffer.
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/OffscreenGlContext.h"
#include "platform/gl/SdlImageDecoder.h"

namespace tamblor::test {

struct GlHarness {
    GlHarness(int width, int height, int windowWidth = 1, int windowHeight = 1)
        : context(windowWidth, windowHeight),
          files(user.Path(), ""),
          settings(files, log),
          language(files, log, clock),
          log(files),
          graphics(files, settings, language, log, clock, decoder) {
        log.timeOfDay = [] { return std::string("12:00:00"); };
        language.languageName = "ENGLISH";
        if (!context.Ok())
            return;
        device = std::make_unique<GlRenderDevice>(width, height);
        if (!device->Ok())
            return;
        graphics.AttachDevice(*device);
        // The frame set-up the game makes: linear filtering, black, alpha blending, modulate.
        RenderState& s = device->State();
        s.minFilter = s.magFilter = TextureFilter::Linear;
        s.alphaBlendEnable = true;
        s.srcBlend = BlendFactor::SrcAlpha;
        s.destBlend = BlendFactor::InvSrcAlpha;
        device->Clear(0xFF000000);
    }
    ~GlHarness() {
        graphics.ReleaseBigFont();
        graphics.DeleteAllTexturesMIPMAP();
    }
    bool Ready() const { return context.Ok() && device && device->Ok(); }
    std::string Why() const { return context.Ok() ? (device ? device->Error() : "") : context.Error(); }

    // A texture from RGBA pixels, owned by the harness.
    TextureHandle MakeTexture(int w, int h, const std::vector<uint8_t>& rgba) {
        owned.push_back(device->CreateTexture(w, h, rgba.data()));
        return owned.back().get();
    }
    std::vector<uint8_t> Pixels() const {
        std::vector<uint8_t> rgba;
        device->ReadBackBuffer(rgba);
        return rgba;
    }
    // R, G, B of one back-buffer pixel.
    std::array<int, 3> Pixel(const std::vector<uint8_t>& rgba, int x, int y) const {
        size_t i = (static_cast<size_t>(y) * device->BackBufferWidth() + x) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }

    OffscreenGlContext context;
    TempDir user;
    FileSystem files;
    Settings settings;
    Language language;
    Log log;
    ManualClock clock;
    SdlImageDecoder decoder;
    std::unique_ptr<GlRenderDevice> device;
    std::vector<std::unique_ptr<Texture>> owned;
    Graphics graphics;
};

}  // namespace tamblor::test
