// The content generator: draws every picture (cairo), the bitmap font sheet (FreeType), synthesises
// every sound effect and the music (Ogg Vorbis), and writes them into the game folder. The output is
// the same, byte for byte, on every run.
//
//   assetgen --out DIR                 writes the game content into DIR (which already holds data/)
//   assetgen --contact-sheet FILE.png  draws every generated picture on one page with its name
//   assetgen --icons DIR               writes the application icons into the hicolor folder DIR and stops
#include <SDL_image.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "ContactSheet.h"
#include "Output.h"
#include "FontSheet.h"
#include "Icons.h"
#include "Interface.h"
#include "Music.h"
#include "Scenes.h"
#include "Shapes.h"
#include "Sounds.h"
#include "Sprites.h"
#include "Text.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: assetgen [--out DIR] [--contact-sheet FILE.png] | --icons DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return assetgen::MakeIcons(argv[2]) ? 0 : 1;
    std::string outDir, sheet;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            outDir = argv[++i];
        } else if (std::strcmp(argv[i], "--contact-sheet") == 0 && i + 1 < argc) {
            sheet = argv[++i];
        } else {
            return Usage();
        }
    }
    if (outDir.empty() && sheet.empty()) return Usage();
    auto start = std::chrono::steady_clock::now();
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);

    assetgen::Output out(outDir);
    if (!assetgen::FontsAvailable()) {
        assetgen::ReleaseFonts();
        std::fprintf(stderr, "assetgen: the Liberation Sans fonts (fonts-liberation) are needed\n");
        return 1;
    }
    // The music takes longest; it runs on its own thread while the pictures and effects are made.
    bool musicOk = true;
    std::thread music;
    if (out.Writes()) music = std::thread([&] { musicOk = assetgen::MakeMusic(out); });
    auto joinMusic = [&] {
        if (music.joinable()) music.join();
    };

    assetgen::FontKeys font = assetgen::MakeFontSheet(out);
    if (font.symbolList.empty()) {
        joinMusic();
        return 1;
    }
    std::string language;
    if (out.Read("language.ini", language)) {
        out.Bytes("language.ini", assetgen::WithFontKeys(language, font));
    } else if (out.Writes()) {
        std::fprintf(stderr, "assetgen: no language.ini in %s to add the font keys to\n", outDir.c_str());
        joinMusic();
        return 1;
    }
    assetgen::MakeShapes(out);
    assetgen::MakeInterface(out);
    assetgen::MakeSprites(out);
    assetgen::MakeScenes(out);
    if (out.Writes()) assetgen::MakeSounds(out);
    joinMusic();

    bool ok = !out.Failed() && musicOk;
    if (!sheet.empty() && !assetgen::WriteContactSheet(out, sheet)) {
        std::fprintf(stderr, "assetgen: cannot write the contact sheet %s\n", sheet.c_str());
        ok = false;
    }
    assetgen::ReleaseFonts();
    IMG_Quit();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %zu pictures%s%s in %.1f s\n", out.Pictures().size(),
                outDir.empty() ? "" : " written into ", outDir.c_str(), seconds);
    return ok ? 0 : 1;
}
