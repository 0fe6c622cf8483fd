// Tamblor 2.0: the program entry. Everything else lives in the tamblor_core library.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Tamblor %s\n", TAMBLOR_VERSION);
        return 0;
    }
    std::printf("Tamblor %s\ndata folder: %s\n", TAMBLOR_VERSION, TAMBLOR_BUILD_GAME_DIR);
    return 0;
}
