// Runs saved fuzz inputs through their targets once, without fuzzing.
//   tamblor_fuzz_replay FUZZ_DIR             every file of FUZZ_DIR/corpus/T and FUZZ_DIR/regressions/T
//   tamblor_fuzz_replay --target T FILE...   the given files through target T
// A broken invariant or a memory fault aborts the program; otherwise it prints what it ran.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define TAMBLOR_FUZZ_TARGET(name) extern "C" int TamblorFuzz_##name(const uint8_t* data, size_t size);
#include "FuzzTargetList.h"
#undef TAMBLOR_FUZZ_TARGET

namespace {

struct Target {
    const char* name;
    int (*run)(const uint8_t*, size_t);
};

const Target kTargets[] = {
#define TAMBLOR_FUZZ_TARGET(name) {#name, TamblorFuzz_##name},
#include "FuzzTargetList.h"
#undef TAMBLOR_FUZZ_TARGET
};

bool RunFile(const Target& target, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Named first, so a file that aborts the program is the last one printed.
    std::printf("%s %s\n", target.name, file.c_str());
    std::fflush(stdout);
    target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

// The regular files of a folder in name order (none when it does not exist).
std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

const Target* FindTarget(const char* name) {
    for (const Target& t : kTargets) {
        if (std::strcmp(t.name, name) == 0)
            return &t;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--target") == 0) {
        const Target* target = FindTarget(argv[2]);
        if (!target) {
            std::fprintf(stderr, "no fuzz target named %s\n", argv[2]);
            return 2;
        }
        for (int i = 3; i < argc; ++i) {
            if (!RunFile(*target, argv[i]))
                return 1;
        }
        std::printf("%s: %d files\n", target->name, argc - 3);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FUZZ_DIR | --target NAME FILE...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    int failures = 0;
    for (const Target& target : kTargets) {
        const auto corpus = FilesOf(root / "corpus" / target.name);
        const auto regressions = FilesOf(root / "regressions" / target.name);
        // A target without seeds would silently test nothing.
        if (corpus.empty()) {
            std::fprintf(stderr, "%s: no seed corpus in %s\n", target.name,
                         (root / "corpus" / target.name).c_str());
            ++failures;
            continue;
        }
        for (const auto* files : {&corpus, &regressions}) {
            for (const auto& file : *files) failures += RunFile(target, file) ? 0 : 1;
        }
        std::printf("%-13s %3zu corpus files, %3zu regressions\n", target.name, corpus.size(),
                    regressions.size());
    }
    return failures == 0 ? 0 : 1;
}
