// The texture table: loading pictures by name, folder scans, brightness and sizes.
#include <algorithm>
#include <cmath>

#include "core/CoreServices.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "graphics/Graphics.h"
#include "graphics/TextureAtlas.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/ImageDecoder.h"
#include "platform/Memory.h"
#include "platform/TextureFont.h"

namespace tamblor {
namespace {

// The A4R4G4B4 rule: every channel keeps its top four bits.
void QuantiseTo4Bits(std::vector<uint8_t>& rgba) {
    for (uint8_t& c : rgba) c = static_cast<uint8_t>((c >> 4) * 17);
}

// Pages are at most this size; every OpenGL 3.3 device takes textures twice this size.
constexpr int kPageSize = 2048;
// Pictures up to this many pixels (and no side over half a page) are packed; larger ones (backgrounds,
// full-screen panels) are drawn alone and gain nothing from sharing.
constexpr int kMaxPackedPixels = 256 * 1024;

bool SmallEnoughToPack(int width, int height) {
    return static_cast<int64_t>(width) * height <= kMaxPackedPixels && width <= kPageSize / 2 &&
           height <= kPageSize / 2;
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

void Graphics::LogTableFullOnce(const std::string& path) {
    // Reported once per name: a full table stays full for the rest of the run.
    if (failedNames_.insert(path).second)
        log_.WriteLog("Overflow error: maximum textures count", 0);
}

void Graphics::LogFailedOnce(const std::string& path) {
    if (!failedNames_.insert(path).second)
        return;
    log_.WriteLog("Bitmap loading: '" + path + "' ... FAILED", LOG_TIME);
}

struct Graphics::Picture {
    std::string path;
    std::string bytes;  // the file as read
    Image image;
    bool packed = false;
    bool large = false;  // too large to share a page: drawn alone, its pixels not kept
    AtlasPlacement place;
    Texture* loaded = nullptr;  // the table's texture when the picture was loaded before the scan
};

bool Graphics::DecodeBytes(const std::string& bytes, const std::string& path, bool use32Bit, Image& image) {
    if (!decoder_.Decode(bytes, path, image) || image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        return false;
    }
    if (!use32Bit)
        QuantiseTo4Bits(image.rgba);
    return true;
}

bool Graphics::DecodePicture(const std::string& path, bool use32Bit, Picture& picture) {
    if (!files_.ReadFile(path, picture.bytes) || !DecodeBytes(picture.bytes, path, use32Bit, picture.image))
        return false;
    picture.path = path;
    return true;
}

bool Graphics::IsLarge(const std::string& path, const Image& image) const {
    return !wrapped_.count(path) && !SmallEnoughToPack(image.width, image.height);
}

std::unique_ptr<Texture> Graphics::MakeLargePicture(Picture& picture, bool use32Bit, bool upload) {
    const Image& image = picture.image;
    auto handle = std::make_unique<Texture>(image.width, image.height);
    LargePicture large;
    large.picture = handle.get();
    large.path = picture.path;
    large.bytes = std::move(picture.bytes);
    large.use32Bit = use32Bit;
    if (upload) {
        large.storage = device_->CreateTexture(image.width, image.height, image.rgba.data());
        if (!large.storage)
            return nullptr;
        handle->MoveToPage(*large.storage, 0, 0);
        large.lastDrawnMs = clock_.TimeGetTime();
    }
    large_.push_back(std::move(large));
    return handle;
}

bool Graphics::PrepareToDraw(TextureHandle texture) {
    for (LargePicture& large : large_) {
        if (large.picture != texture)
            continue;
        large.lastDrawnMs = clock_.TimeGetTime();
        if (large.storage)
            return true;
        // Decoded again from the bytes read at load: the file may have changed or gone since.
        Image image;
        if (!large.failed && DecodeBytes(large.bytes, large.path, large.use32Bit, image) &&
            image.width == texture->Width() && image.height == texture->Height()) {
            large.storage = device_->CreateTexture(image.width, image.height, image.rgba.data());
        }
        if (!large.storage) {
            large.failed = true;  // not tried again every frame
            LogFailedOnce(large.path);
            return false;
        }
        large.picture->MoveToPage(*large.storage, 0, 0);
        return true;
    }
    return true;
}

void Graphics::ReleaseRestingPictures() {
    if (device_ == nullptr)
        return;
    uint32_t now = clock_.TimeGetTime();
    if (trimPending_) {
        // The driver frees a texture's storage once no draw still refers to it, which is by the next
        // frame: only then are the freed pages there to hand back.
        ReleaseFreedMemory();
        trimPending_ = false;
    }
    bool released = false;
    for (LargePicture& large : large_) {
        if (!large.storage || now - large.lastDrawnMs < kLargePictureRestMs)
            continue;
        if (!released)
            device_->Flush();  // the open batch may still draw from it
        released = true;
        RenderState& state = device_->State();
        if (state.texture == large.picture)
            state.texture = nullptr;
        large.picture->MoveToPage(*large.picture, 0, 0);
        large.storage.reset();
    }
    if (released)
        trimPending_ = true;
}

size_t Graphics::LargePicturesOnDevice() const {
    return static_cast<size_t>(std::count_if(
        large_.begin(), large_.end(), [](const LargePicture& large) { return large.storage != nullptr; }));
}

void Graphics::AddTexture(std::string path, std::unique_ptr<Texture> texture, bool use32Bit) {
    textures_.push_back(std::move(texture));
    names_.push_back(std::move(path));
    names32Bit_.push_back(use32Bit);
    log_.WriteLog("Bitmap loading: '" + names_.back() + "' ... OK (" + std::to_string(textures_.size()) +
                      " loaded) (" + (use32Bit ? "32 bit" : "16 bit") + ")",
                  LOG_TIME);
}

void Graphics::LoadTexture(std::string_view folder, std::string_view fileName) {
    std::string path = std::string(folder) + std::string(fileName);
    if (path.empty())
        return;
    if (textures_.size() >= kMaxTextures) {
        LogTableFullOnce(path);
        return;
    }
    // A name that does not fit the name field could never be found again.
    if (path.size() > kMaxNameLength || device_ == nullptr) {
        LogFailedOnce(path);
        return;
    }
    bool use32Bit = device_->BackBufferIs32Bit() || force32Bit != 0;
    Picture picture;
    if (!DecodePicture(path, use32Bit, picture)) {
        LogFailedOnce(path);
        return;
    }
    const Image& image = picture.image;
    // Loaded by name to be drawn now: on the device at once, even when it is large.
    std::unique_ptr<Texture> texture =
        IsLarge(path, image) ? MakeLargePicture(picture, use32Bit, true)
                             : device_->CreateTexture(image.width, image.height, image.rgba.data());
    if (!texture) {
        LogFailedOnce(path);
        return;
    }
    AddTexture(std::move(path), std::move(texture), use32Bit);
}

TextureHandle Graphics::FindTexture(std::string_view fileName) {
    if (fileName.empty())
        return nullptr;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == fileName)
            return textures_[i].get();
    }
    // A picture that could not be loaded is not tried again every frame.
    if (failedNames_.count(fileName) != 0)
        return nullptr;
    LoadTexture("", fileName);
    if (!names_.empty() && names_.back() == fileName)
        return textures_.back().get();
    return nullptr;
}

void Graphics::KeepWrapping(std::string_view fileName) {
    wrapped_.emplace(fileName);
}

void Graphics::LoadAllTexturesMIPMAP(std::string_view folder) {
    log_.WriteLog("LoadAllTexturesMIPMAP start", LOG_TIME);
    float configured = 0.5f;
    if (settings_.ReadConfigFloat("VIDEO", "Brightness", &configured) != 0) {
        SetBrightness(configured);
    } else {
        settings_.WriteConfigFloat("VIDEO", "Brightness", brightness_);
    }
    // Every new picture of the folder is decoded first, so the small ones can be packed together; the
    // table then gains them in the order of the listing, as single loads would have added them.
    bool use32Bit = device_ != nullptr && (device_->BackBufferIs32Bit() || force32Bit != 0);
    std::vector<Picture> pictures;
    size_t newPictures = 0;
    for (const char* pattern : {"*.png", "*.jpg", "*.tga", "*.bmp"}) {
        for (const std::string& name : files_.ListFolder(folder, pattern)) {
            std::string path = std::string(folder) + name;
            auto known = std::find(names_.begin(), names_.end(), path);
            if (known != names_.end()) {
                // Loaded before the scan (the font sheet for the intro): it may still join a page,
                // keeping its handle, if it was made with the same depth.
                size_t index = static_cast<size_t>(known - names_.begin());
                Texture* texture = textures_[index].get();
                Picture picture;
                bool packable =
                    SmallEnoughToPack(texture->Width(), texture->Height()) || wrapped_.count(path);
                if (texture->Page() == texture && packable && names32Bit_[index] == use32Bit &&
                    DecodePicture(path, use32Bit, picture) && picture.image.width == texture->Width() &&
                    picture.image.height == texture->Height()) {
                    picture.loaded = texture;
                    pictures.push_back(std::move(picture));
                }
                continue;
            }
            if (failedNames_.count(path) != 0)
                continue;
            // The pictures of this scan not yet in the table count too: a full table takes no more.
            if (textures_.size() + newPictures >= kMaxTextures) {
                LogTableFullOnce(path);
                continue;
            }
            if (device_ == nullptr || path.size() > kMaxNameLength) {
                LogFailedOnce(path);
                continue;
            }
            Picture picture;
            if (!DecodePicture(path, use32Bit, picture)) {
                LogFailedOnce(path);
                continue;
            }
            if (IsLarge(path, picture.image)) {
                // Drawn alone: its pixels go to the device when it is first drawn.
                picture.large = true;
                picture.image = Image{picture.image.width, picture.image.height, {}};
            } else {
                picture.bytes.clear();
                picture.bytes.shrink_to_fit();
            }
            pictures.push_back(std::move(picture));
            ++newPictures;
        }
    }
    PackIntoPages(pictures, false);
    PackIntoPages(pictures, true);
    for (Picture& picture : pictures) {
        const Image& image = picture.image;
        if (picture.loaded != nullptr) {
            if (picture.packed)
                picture.loaded->MoveToPage(*pages_[static_cast<size_t>(picture.place.page)], picture.place.x,
                                           picture.place.y);
            continue;
        }
        std::unique_ptr<Texture> texture;
        if (picture.packed) {
            Texture& page = *pages_[static_cast<size_t>(picture.place.page)];
            texture =
                std::make_unique<Texture>(image.width, image.height, page, picture.place.x, picture.place.y);
        } else if (picture.large) {
            texture = MakeLargePicture(picture, use32Bit, false);
        } else if (!image.rgba.empty()) {
            texture = device_->CreateTexture(image.width, image.height, image.rgba.data());
        }
        if (!texture) {
            LogFailedOnce(picture.path);
            continue;
        }
        AddTexture(std::move(picture.path), std::move(texture), use32Bit);
    }
}

void Graphics::PackIntoPages(std::vector<Picture>& pictures, bool wrapping) {
    std::vector<Picture*> chosen;
    std::vector<PixelSize> sizes;
    for (Picture& picture : pictures) {
        const Image& image = picture.image;
        bool wraps = wrapped_.count(picture.path) != 0;
        if (wraps != wrapping || (!wrapping && !SmallEnoughToPack(image.width, image.height)))
            continue;
        chosen.push_back(&picture);
        sizes.push_back({image.width, image.height});
    }
    if (wrapping) {
        // Strips of one height go side by side; the order of the listing keeps equal heights together
        // only by chance, so they are grouped first.
        std::vector<size_t> order(chosen.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return sizes[a].height < sizes[b].height; });
        std::vector<Picture*> sortedPictures;
        std::vector<PixelSize> sortedSizes;
        for (size_t i : order) {
            sortedPictures.push_back(chosen[i]);
            sortedSizes.push_back(sizes[i]);
        }
        chosen.swap(sortedPictures);
        sizes.swap(sortedSizes);
    }
    // The font sheet, sampled cell by cell without filtering, takes the first page's corner.
    int corner = -1;
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (fontTexture_ != nullptr && chosen[i]->loaded == fontTexture_)
            corner = static_cast<int>(i);
    }
    AtlasLayout layout = wrapping ? PackStrip(sizes, kPageSize) : PackPictures(sizes, kPageSize, corner);
    // A page holding a single picture saves nothing: that picture keeps a texture of its own.
    std::vector<int> perPage(layout.pages.size(), 0);
    for (const AtlasPlacement& place : layout.placements) {
        if (place.page >= 0)
            ++perPage[static_cast<size_t>(place.page)];
    }
    for (size_t p = 0; p < layout.pages.size(); ++p) {
        if (perPage[p] < 2)
            continue;
        PixelSize size = layout.pages[p];
        std::vector<uint8_t> pixels(static_cast<size_t>(size.width) * size.height * 4, 0);
        for (size_t i = 0; i < chosen.size(); ++i) {
            const AtlasPlacement& place = layout.placements[i];
            if (place.page == static_cast<int>(p))
                CopyIntoPage(pixels, size, chosen[i]->image, place.x, place.y, wrapping);
        }
        std::unique_ptr<Texture> page = device_->CreateTexture(size.width, size.height, pixels.data());
        if (!page)
            continue;  // its pictures get textures of their own
        for (size_t i = 0; i < chosen.size(); ++i) {
            AtlasPlacement place = layout.placements[i];
            if (place.page != static_cast<int>(p))
                continue;
            place.page = static_cast<int>(pages_.size());
            chosen[i]->place = place;
            chosen[i]->packed = true;
        }
        pages_.push_back(std::move(page));
    }
}

int32_t Graphics::DeleteAllTexturesMIPMAP() {
    if (device_ != nullptr) {
        device_->Flush();  // draws still waiting may use the textures
        RenderState& state = device_->State();
        for (const auto& texture : textures_) {
            if (state.texture == texture.get())
                state.texture = nullptr;
        }
    }
    fontTexture_ = nullptr;
    large_.clear();
    textures_.clear();
    pages_.clear();
    names_.clear();
    names32Bit_.clear();
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
