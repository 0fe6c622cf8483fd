#include "platform/Directories.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tamblor {

namespace fs = std::filesystem;

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return {};
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool EnsureWritableDirectory(const std::string& path, std::string* why) {
    std::error_code ec;
    if (path.empty()) {
        *why = "no folder given";
        return false;
    }
    fs::file_status status = fs::status(path, ec);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) {
            *why = "'" + path + "' exists but is not a folder";
            return false;
        }
    } else {
        fs::create_directories(path, ec);
        if (ec) {
            *why = "cannot create the folder '" + path + "': " + ec.message();
            return false;
        }
    }
    if (::access(path.c_str(), W_OK | X_OK) != 0) {
        *why = "cannot write into the folder '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool ChangeDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return path;
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace tamblor
