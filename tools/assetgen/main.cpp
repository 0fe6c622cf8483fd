// Content generator entry point (the pictures, font sheet, sounds and music are added by their own files).
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string out = ".";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    }
    std::printf("assetgen: writing into %s\n", out.c_str());
    return 0;
}
