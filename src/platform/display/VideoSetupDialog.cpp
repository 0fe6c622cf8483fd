#include "platform/display/VideoSetupDialog.h"

#include <SDL2/SDL.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

namespace tamblor {

namespace {

constexpr int kWidth = 300;
constexpr int kRowHeight = 20;
constexpr int kVisibleRows = 10;
constexpr int kListX = 20;
constexpr int kListY = 40;
constexpr int kListWidth = kWidth - 2 * kListX;
constexpr int kListHeight = kRowHeight * kVisibleRows;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonY = kListY + kListHeight + 24;
constexpr int kHeight = kButtonY + kButtonHeight + 16;

const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
};

// Draws text with FreeType straight onto the renderer, one point per covered pixel.
class DialogText {
public:
    DialogText() {
        if (FT_Init_FreeType(&library_) != 0)
            return;
        for (const char* file : kFontFiles) {
            if (FT_New_Face(library_, file, 0, &face_) == 0)
                break;
            face_ = nullptr;
        }
        if (face_)
            FT_Set_Pixel_Sizes(face_, 0, 13);
    }
    ~DialogText() {
        if (face_)
            FT_Done_Face(face_);
        if (library_)
            FT_Done_FreeType(library_);
    }
    bool Usable() const { return face_ != nullptr; }

    void Draw(SDL_Renderer* renderer, int x, int baseline, const std::string& text, SDL_Color colour) {
        if (!face_)
            return;
        int penX = x;
        for (unsigned char c : text) {
            if (FT_Load_Char(face_, c, FT_LOAD_RENDER) != 0)
                continue;
            const FT_Bitmap& bitmap = face_->glyph->bitmap;
            int left = penX + face_->glyph->bitmap_left;
            int top = baseline - face_->glyph->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                for (unsigned col = 0; col < bitmap.width; ++col) {
                    uint8_t coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col];
                    if (coverage == 0)
                        continue;
                    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, coverage);
                    SDL_RenderDrawPoint(renderer, left + static_cast<int>(col), top + static_cast<int>(row));
                }
            }
            penX += static_cast<int>(face_->glyph->advance.x >> 6);
        }
    }
    int Width(const std::string& text) {
        if (!face_)
            return 0;
        int width = 0;
        for (unsigned char c : text) {
            if (FT_Load_Char(face_, c, FT_LOAD_DEFAULT) == 0)
                width += static_cast<int>(face_->glyph->advance.x >> 6);
        }
        return width;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

bool Inside(int x, int y, const SDL_Rect& r) {
    return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

void Fill(SDL_Renderer* renderer, const SDL_Rect& r, uint8_t red, uint8_t green, uint8_t blue) {
    SDL_SetRenderDrawColor(renderer, red, green, blue, 255);
    SDL_RenderFillRect(renderer, &r);
}

void Frame(SDL_Renderer* renderer, const SDL_Rect& r, uint8_t grey) {
    SDL_SetRenderDrawColor(renderer, grey, grey, grey, 255);
    SDL_RenderDrawRect(renderer, &r);
}

}  // namespace

int ShowVideoSetupDialog(const std::string& title, const std::vector<std::string>& modes, int* selected) {
    if (modes.empty())
        return 2;
    DialogText text;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          kWidth, kHeight, SDL_WINDOW_SHOWN);
    if (!window)
        return 2;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer || !text.Usable()) {
        if (renderer)
            SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
        return 2;
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);

    const int count = static_cast<int>(modes.size());
    int current = (*selected >= 0 && *selected < count) ? *selected : -1;
    int top = std::max(0, std::min(current - kVisibleRows / 2, count - kVisibleRows));
    const SDL_Rect list{kListX, kListY, kListWidth, kListHeight};
    const SDL_Rect okButton{kWidth / 2 - kButtonWidth - 8, kButtonY, kButtonWidth, kButtonHeight};
    const SDL_Rect cancelButton{kWidth / 2 + 8, kButtonY, kButtonWidth, kButtonHeight};
    auto keepVisible = [&] {
        if (current < 0)
            return;
        if (current < top)
            top = current;
        if (current >= top + kVisibleRows)
            top = current - kVisibleRows + 1;
    };
    int result = 0;
    uint32_t windowId = SDL_GetWindowID(window);
    while (result == 0) {
        SDL_Event event;
        while (result == 0 && SDL_PollEvent(&event)) {
            switch (event.type) {
                case SDL_QUIT:
                    result = 2;
                    break;
                case SDL_WINDOWEVENT:
                    if (event.window.windowID == windowId && event.window.event == SDL_WINDOWEVENT_CLOSE)
                        result = 2;
                    break;
                case SDL_KEYDOWN:
                    if (event.key.windowID != windowId)
                        break;
                    switch (event.key.keysym.sym) {
                        case SDLK_ESCAPE:
                            result = 2;
                            break;
                        case SDLK_RETURN:
                        case SDLK_KP_ENTER:
                            if (current >= 0)
                                result = 1;
                            break;
                        case SDLK_UP:
                            current = std::max(0, current - 1);
                            break;
                        case SDLK_DOWN:
                            current = std::min(count - 1, current + 1);
                            break;
                        case SDLK_HOME:
                            current = 0;
                            break;
                        case SDLK_END:
                            current = count - 1;
                            break;
                        default:
                            break;
                    }
                    keepVisible();
                    break;
                case SDL_MOUSEWHEEL:
                    if (event.wheel.windowID != windowId)
                        break;
                    top = std::clamp(top - event.wheel.y, 0, std::max(0, count - kVisibleRows));
                    break;
                case SDL_MOUSEBUTTONDOWN: {
                    if (event.button.windowID != windowId || event.button.button != SDL_BUTTON_LEFT)
                        break;
                    int x = event.button.x, y = event.button.y;
                    if (Inside(x, y, list)) {
                        int row = top + (y - kListY) / kRowHeight;
                        if (row < count) {
                            current = row;
                            if (event.button.clicks >= 2)
                                result = 1;
                        }
                    } else if (Inside(x, y, okButton) && current >= 0) {
                        result = 1;
                    } else if (Inside(x, y, cancelButton)) {
                        result = 2;
                    }
                    break;
                }
                default:
                    break;
            }
        }
        if (result != 0)
            break;

        const SDL_Color black{0, 0, 0, 255};
        const SDL_Color white{255, 255, 255, 255};
        Fill(renderer, {0, 0, kWidth, kHeight}, 236, 236, 236);
        Frame(renderer, {10, 18, kWidth - 20, kListHeight + 36}, 160);
        Fill(renderer, {18, 10, text.Width("Video Mode") + 8, 16}, 236, 236, 236);
        text.Draw(renderer, 22, 22, "Video Mode", black);
        Fill(renderer, list, 255, 255, 255);
        Frame(renderer, list, 120);
        for (int i = 0; i < kVisibleRows && top + i < count; ++i) {
            SDL_Rect row{kListX + 1, kListY + i * kRowHeight, kListWidth - 2, kRowHeight};
            bool chosen = top + i == current;
            if (chosen)
                Fill(renderer, row, 0, 84, 166);
            text.Draw(renderer, row.x + 6, row.y + 15, modes[static_cast<size_t>(top + i)],
                      chosen ? white : black);
        }
        for (const auto& [rect, label] : {std::pair{okButton, "OK"}, std::pair{cancelButton, "Cancel"}}) {
            Fill(renderer, rect, 225, 225, 225);
            Frame(renderer, rect, 110);
            text.Draw(renderer, rect.x + (rect.w - text.Width(label)) / 2, rect.y + 18, label, black);
        }
        SDL_RenderPresent(renderer);
        SDL_Delay(10);
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    if (result == 1)
        *selected = current;
    return result;
}

}  // namespace tamblor
