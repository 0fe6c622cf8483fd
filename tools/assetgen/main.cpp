// Content generator entry point (the pictures, font sheet, sounds and music are added by their own files).
//   assetgen --icons DIR   writes the application icons into the hicolor folder DIR and stops
#include <cstdio>
#include <cstring>
#include <string>

#include "Icons.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return assetgen::MakeIcons(argv[2]) ? 0 : 1;
    std::string out = ".";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    }
    std::printf("assetgen: writing into %s\n", out.c_str());
    return 0;
}
