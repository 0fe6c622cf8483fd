#include "platform/TextureFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace tamblor {
namespace {

constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);
constexpr int kDotsPerInch = 96;  // the usual screen setting, whatever the display says

// Integer (a x b) / c rounded to the nearest, as the Windows MulDiv.
int MulDiv(int a, int b, int c) {
    long long p = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool Printable(unsigned char c) {
    return c >= TextureFont::kFirstChar && c <= TextureFont::kLastChar;
}

struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace() {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

}  // namespace

std::string TextureFont::FontFileFor(std::string_view faceName, uint32_t flags) {
    // Liberation fonts share their metrics with the common Windows faces.
    std::string face = Lower(faceName);
    std::string family = "LiberationSans";
    if (face == "times new roman" || face == "liberation serif")
        family = "LiberationSerif";
    if (face == "courier new" || face == "liberation mono")
        family = "LiberationMono";
    const char* style = "Regular";
    if ((flags & kBold) && (flags & kItalic)) {
        style = "BoldItalic";
    } else if (flags & kBold) {
        style = "Bold";
    } else if (flags & kItalic) {
        style = "Italic";
    }
    std::vector<std::string> candidates;
    for (const char* dir :
         {"/usr/share/fonts/truetype/liberation/", "/usr/share/fonts/truetype/liberation2/"}) {
        candidates.push_back(std::string(dir) + family + "-" + style + ".ttf");
        candidates.push_back(std::string(dir) + "LiberationSans-" + style + ".ttf");
        candidates.push_back(std::string(dir) + "LiberationSans-Regular.ttf");
    }
    candidates.push_back("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec))
            return path;
    }
    return {};
}

TextureFont::TextureFont(std::string_view faceName, int height, uint32_t flags)
    : faceName_(faceName.substr(0, 80)), height_(height), flags_(flags) {}

TextureFont::~TextureFont() = default;

int32_t TextureFont::InitDeviceObjects(RenderDevice& device) {
    DeleteDeviceObjects();
    device_ = &device;
    textureWidth_ = height_ > 40 ? 1024 : height_ > 20 ? 512 : 256;
    textureHeight_ = textureWidth_;
    textScale_ = 1.0f;
    pixelHeight_ = MulDiv(height_, static_cast<int>(kDotsPerInch * textScale_), 72);

    fontFile_ = FontFileFor(faceName_, flags_);
    FreeTypeFace ft;
    if (fontFile_.empty() || pixelHeight_ <= 0 || FT_Init_FreeType(&ft.library) != 0 ||
        FT_New_Face(ft.library, fontFile_.c_str(), 0, &ft.face) != 0 ||
        FT_Set_Pixel_Sizes(ft.face, 0, static_cast<FT_UInt>(pixelHeight_)) != 0) {
        device_ = nullptr;
        return kFail;
    }
    // Scaled metrics of outline fonts are whole pixels already.
    int ascender = static_cast<int>(ft.face->size->metrics.ascender >> 6);
    int descender = static_cast<int>(ft.face->size->metrics.descender >> 6);
    int lineHeight = std::max(1, ascender - descender);

    // White text on black, kept as the top four bits of the coverage (16 levels of alpha).
    std::vector<uint8_t> coverage(static_cast<size_t>(textureWidth_) * textureHeight_, 0);
    int x = 0;
    int y = 0;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        int advance = 0;
        FT_GlyphSlot slot = nullptr;
        if (FT_Load_Char(ft.face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) == 0) {
            slot = ft.face->glyph;
            advance = static_cast<int>((slot->advance.x + 32) >> 6);
        }
        if (x + advance > textureWidth_) {
            x = 0;
            y += lineHeight + 1;
        }
        if (slot != nullptr && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const FT_Bitmap& bm = slot->bitmap;
            for (unsigned row = 0; row < bm.rows; ++row) {
                int ty = y + ascender - slot->bitmap_top + static_cast<int>(row);
                if (ty < 0 || ty >= textureHeight_ || ty >= y + lineHeight)
                    continue;
                for (unsigned col = 0; col < bm.width; ++col) {
                    int tx = x + slot->bitmap_left + static_cast<int>(col);
                    // Like a clipped text cell: ink stays inside the character's own box.
                    if (tx < x || tx >= x + advance || tx >= textureWidth_)
                        continue;
                    uint8_t value = bm.buffer[static_cast<long>(row) * bm.pitch + col];
                    uint8_t& dst = coverage[static_cast<size_t>(ty) * textureWidth_ + tx];
                    dst = std::max(dst, value);
                }
            }
        }
        CharRect& rect = rects_[c - kFirstChar];
        rect.left = static_cast<float>(x) / textureWidth_;
        rect.top = static_cast<float>(y) / textureHeight_;
        rect.right = static_cast<float>(x + advance) / textureWidth_;
        rect.bottom = static_cast<float>(y + lineHeight) / textureHeight_;
        x += advance + 1;
    }

    std::vector<uint8_t> rgba(coverage.size() * 4, 0);
    for (size_t i = 0; i < coverage.size(); ++i) {
        uint8_t nibble = coverage[i] >> 4;
        if (nibble == 0)
            continue;
        rgba[i * 4 + 0] = 255;
        rgba[i * 4 + 1] = 255;
        rgba[i * 4 + 2] = 255;
        rgba[i * 4 + 3] = static_cast<uint8_t>(nibble * 17);
    }
    texture_ = device.CreateTexture(textureWidth_, textureHeight_, rgba.data());
    if (!texture_) {
        device_ = nullptr;
        return kFail;
    }
    return 0;
}

int32_t TextureFont::RestoreDeviceObjects() {
    return 0;
}

int32_t TextureFont::InvalidateDeviceObjects() {
    return 0;
}

int32_t TextureFont::DeleteDeviceObjects() {
    if (device_ != nullptr) {
        device_->Flush();  // a draw still waiting may use the texture
        if (device_->State().texture == texture_.get())
            device_->State().texture = nullptr;
    }
    texture_.reset();
    device_ = nullptr;
    return 0;
}

PixelSize TextureFont::GetTextExtent(std::string_view text) const {
    PixelSize size;
    GetTextExtent(text, &size);
    return size;
}

int32_t TextureFont::GetTextExtent(std::string_view text, PixelSize* size) const {
    if (size == nullptr)
        return kFail;
    const CharRect& first = rects_[0];
    float rowHeight = (first.bottom - first.top) * textureHeight_ / textScale_;
    float rowWidth = 0;
    float width = 0;
    float height = rowHeight;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            rowWidth = 0;
            height += rowHeight;
            continue;
        }
        if (!Printable(c))
            continue;
        const CharRect& r = rects_[c - kFirstChar];
        rowWidth += (r.right - r.left) * textureWidth_ / textScale_;
        width = std::max(width, rowWidth);
    }
    size->width = static_cast<int>(width);
    size->height = static_cast<int>(height);
    return 0;
}

int32_t TextureFont::DrawText(float x, float y, uint32_t colour, std::string_view text, uint32_t flags) {
    if (device_ == nullptr || !texture_)
        return kFail;
    std::vector<Vertex>& vertices = vertices_;
    vertices.clear();
    float sx = x;
    float sy = y;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        const CharRect& r = rects_[(Printable(c) ? c : kFirstChar) - kFirstChar];
        float h = (r.bottom - r.top) * textureHeight_ / textScale_;
        if (c == '\n') {
            sx = x;
            sy += h;
            continue;
        }
        if (!Printable(c))
            continue;
        float w = (r.right - r.left) * textureWidth_ / textScale_;
        if (c != ' ') {
            // Half a pixel up and left, so that texels land on pixels.
            float l = sx - 0.5f, t = sy - 0.5f, rr = sx + w - 0.5f, b = sy + h - 0.5f;
            vertices.push_back({l, b, 0.9f, 1.0f, colour, 0, r.left, r.bottom});
            vertices.push_back({l, t, 0.9f, 1.0f, colour, 0, r.left, r.top});
            vertices.push_back({rr, b, 0.9f, 1.0f, colour, 0, r.right, r.bottom});
            vertices.push_back({rr, t, 0.9f, 1.0f, colour, 0, r.right, r.top});
            vertices.push_back({rr, b, 0.9f, 1.0f, colour, 0, r.right, r.bottom});
            vertices.push_back({l, t, 0.9f, 1.0f, colour, 0, r.left, r.top});
        }
        sx += w;
    }
    if (vertices.empty())
        return 0;

    RenderState& state = device_->State();
    RenderState saved = state;
    state.alphaBlendEnable = true;
    state.srcBlend = BlendFactor::SrcAlpha;
    state.destBlend = BlendFactor::InvSrcAlpha;
    state.colorOp = ColorOp::Modulate;
    TextureFilter filter = (flags & kFiltered) ? TextureFilter::Linear : TextureFilter::Point;
    state.minFilter = filter;
    state.magFilter = filter;
    state.addressU = TextureAddress::Clamp;
    state.addressV = TextureAddress::Clamp;
    state.cullMode = CullMode::CounterClockwise;
    state.texture = texture_.get();
    int32_t result = device_->DrawTriangles(vertices.data(), static_cast<int>(vertices.size()), nullptr, 0);
    state = saved;
    return result;
}

}  // namespace tamblor
