#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BuildPaths.h"

namespace tamblor::fuzz {

void Fail(const char* where, const std::string& what) {
    std::fprintf(stderr, "fuzz invariant broken (%s): %s\n", where, what.c_str());
    std::fflush(stderr);
    std::abort();
}

ScratchFolder::ScratchFolder() {
    // Files of every input are written and read again: keep them in memory when the system can.
    std::string base = std::filesystem::is_directory("/dev/shm")
                           ? std::string("/dev/shm")
                           : std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/tamblor-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void ScratchFolder::Empty() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ec)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(entry.path(), ec);
    }
}

void ScratchFolder::Write(const std::string& relative, std::string_view contents) const {
    std::filesystem::path p = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string ScratchFolder::Read(const std::string& relative) const {
    std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

ScratchFolder& Scratch() {
    static ScratchFolder folder;
    return folder;
}

const char* GameFolder() {
    return TAMBLOR_BUILD_GAME_DIR;
}

}  // namespace tamblor::fuzz
