#pragma once
// Helpers shared by the tests: a temporary folder that cleans up after itself, and whole-file I/O.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tamblor::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamblor-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    void Write(const std::string& relative, const std::string& contents) const {
        std::filesystem::path p = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << contents;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool Has(const std::string& relative) const {
        return std::filesystem::exists(std::filesystem::path(path_) / relative);
    }
    // Sets the file's modification time back by the given number of seconds, as if written then.
    void Backdate(const std::string& relative, int seconds) const {
        std::filesystem::path p = std::filesystem::path(path_) / relative;
        std::filesystem::last_write_time(p, std::filesystem::last_write_time(p) - std::chrono::seconds(seconds));
    }

private:
    std::string path_;
};

}  // namespace tamblor::test
