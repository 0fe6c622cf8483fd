// The texture table: loading pictures by name, folder scans, brightness and sizes.
#include <cmath>

#include "core/CoreServices.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "graphics/Graphics.h"
#include "platform/ImageDecoder.h"
#include "platform/FileSystem.h"
#include "platform/TextureFont.h"

namespace tamblor {
namespace {

// The A4R4G4B4 rule: every channel keeps its top four bits.
void QuantiseTo4Bits(std::vector<uint8_t>& rgba) {
    for (uint8_t& c : rgba) c = static_cast<uint8_t>((c >> 4) * 17);
}

}  // namespace

Graphics::Graphics(FileSystem& files, Settings& settings, Language& language, Log& log, const Clock& clock,
                   ImageDecoder& decoder)
    : files_(files),
      settings_(settings),
      language_(language),
      log_(log),
      clock_(clock),
      decoder_(decoder),
      gammaRamp_(RenderDevice::IdentityRamp()) {
    textures_.reserve(kMaxTextures);
    names_.reserve(kMaxTextures);
}

Graphics::Graphics(CoreServices& core, ImageDecoder& decoder)
    : Graphics(core.files, core.settings, core.language, core.log, core.clock, decoder) {}

Graphics::~Graphics() = default;

void Graphics::AttachDevice(RenderDevice& device) {
    device_ = &device;
}

PixelSize Graphics::GetClientSize() const {
    if (device_ == nullptr)
        return {};
    return {device_->BackBufferWidth(), device_->BackBufferHeight()};
}

PixelSize Graphics::GetTextureSize(TextureHandle texture) {
    if (texture == nullptr)
        return {};
    return {texture->Width(), texture->Height()};
}

void Graphics::LogFailedOnce(const std::string& path) {
    if (!failedNames_.insert(path).second)
        return;
    log_.WriteLog("Bitmap loading: '" + path + "' ... FAILED", LOG_TIME);
}

void Graphics::LoadTexture(std::string_view folder, std::string_view fileName) {
    std::string path = std::string(folder) + std::string(fileName);
    if (path.empty())
        return;
    if (textures_.size() >= kMaxTextures) {
        // Reported once per name: a full table stays full for the rest of the run.
        if (failedNames_.insert(path).second)
            log_.WriteLog("Overflow error: maximum textures count", 0);
        return;
    }
    // A name that does not fit the name field could never be found again.
    if (path.size() > kMaxNameLength || device_ == nullptr) {
        LogFailedOnce(path);
        return;
    }
    bool use32Bit = device_->BackBufferIs32Bit() || force32Bit != 0;
    std::string bytes;
    Image image;
    std::unique_ptr<Texture> texture;
    if (files_.ReadFile(path, bytes) && decoder_.Decode(bytes, path, image) && image.width > 0 &&
        image.height > 0 && image.rgba.size() == static_cast<size_t>(image.width) * image.height * 4) {
        if (!use32Bit)
            QuantiseTo4Bits(image.rgba);
        texture = device_->CreateTexture(image.width, image.height, image.rgba.data());
    }
    if (!texture) {
        LogFailedOnce(path);
        return;
    }
    textures_.push_back(std::move(texture));
    names_.push_back(path);
    log_.WriteLog("Bitmap loading: '" + path + "' ... OK (" + std::to_string(textures_.size()) +
                      " loaded) (" + (use32Bit ? "32 bit" : "16 bit") + ")",
                  LOG_TIME);
}

TextureHandle Graphics::FindTexture(std::string_view fileName) {
    if (fileName.empty())
        return nullptr;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == fileName)
            return textures_[i].get();
    }
    // A picture that could not be loaded is not tried again every frame.
    if (failedNames_.count(std::string(fileName)) != 0)
        return nullptr;
    LoadTexture("", fileName);
    if (!names_.empty() && names_.back() == fileName)
        return textures_.back().get();
    return nullptr;
}

void Graphics::LoadAllTexturesMIPMAP(std::string_view folder) {
    log_.WriteLog("LoadAllTexturesMIPMAP start", LOG_TIME);
    float configured = 0.5f;
    if (settings_.ReadConfigFloat("VIDEO", "Brightness", &configured) != 0) {
        SetBrightness(configured);
    } else {
        settings_.WriteConfigFloat("VIDEO", "Brightness", brightness_);
    }
    for (const char* pattern : {"*.png", "*.jpg", "*.tga", "*.bmp"}) {
        for (const std::string& name : files_.ListFolder(folder, pattern)) {
            FindTexture(std::string(folder) + name);
        }
    }
}

int32_t Graphics::DeleteAllTexturesMIPMAP() {
    if (device_ != nullptr) {
        RenderState& state = device_->State();
        for (const auto& texture : textures_) {
            if (state.texture == texture.get())
                state.texture = nullptr;
        }
    }
    fontTexture_ = nullptr;
    textures_.clear();
    names_.clear();
    failedNames_.clear();
    log_.WriteLog("DeleteAllTexturesMIPMAP()", 0);
    return 0;
}

void Graphics::SetBrightness(float value) {
    double offset = (static_cast<double>(value) - 0.5) * 32767.5;
    if (std::isnan(offset))
        offset = 0.0;
    for (int i = 0; i < 256; ++i) {
        double entry = i * 256.0 + offset;
        if (entry < 0.0)
            entry = 0.0;
        if (entry > 65535.0)
            entry = 65535.0;
        gammaRamp_[i] = static_cast<uint16_t>(entry);
    }
    if (device_ != nullptr)
        device_->SetGammaRamp(gammaRamp_);
    brightness_ = value;
}

}  // namespace tamblor
