#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace tamblor {
namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::vector<std::string> SplitLogical(std::string_view logical) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : logical) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> DirectoryEntries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

// The entry of dir named component: exactly, else the first (in byte order) that differs only in case.
std::optional<std::string> MatchComponent(const std::string& dir, const std::string& component) {
    if (component == "." || component == "..") return std::nullopt;
    std::string exact = dir + "/" + component;
    if (PathExists(exact)) return component;
    for (const std::string& name : DirectoryEntries(dir)) {
        if (EqualsNoCase(name, component)) return name;
    }
    return std::nullopt;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty() || IsDirectory(path)) return true;
    auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) return false;
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view data) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

bool LessNoCase(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char x = FoldCase(a[i]), y = FoldCase(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;  // names equal but for case: a fixed order all the same
}

bool WildcardMatchNoCase(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

FileSystem::FileSystem(std::string userDir, std::string dataDir)
    : userDir_(std::move(userDir)), dataDir_(std::move(dataDir)) {}

std::optional<std::string> FileSystem::ResolveIn(const std::string& root, std::string_view logicalName) const {
    if (root.empty()) return std::nullopt;
    std::vector<std::string> parts = SplitLogical(logicalName);
    if (parts.empty()) return std::nullopt;
    std::string path = root;
    for (const std::string& part : parts) {
        auto match = MatchComponent(path, part);
        if (!match) return std::nullopt;
        path += "/" + *match;
    }
    return path;
}

std::optional<std::string> FileSystem::Resolve(std::string_view logicalName) const {
    CountDiskOperation();
    bool missingInUser = false;
    if (rememberMisses_) {
        std::lock_guard<std::mutex> lock(missesMutex_);
        missingInUser = userMisses_.find(logicalName) != userMisses_.end();
    }
    if (!missingInUser) {
        auto path = ResolveIn(userDir_, logicalName);
        if (path && IsRegularFile(*path))
            return path;
    }
    auto path = ResolveIn(dataDir_, logicalName);
    if (!path || !IsRegularFile(*path))
        return std::nullopt;
    // Found in the data folder only: the user folder is not searched for it again. A name found in
    // neither is not remembered, so a file that appears later is found.
    if (rememberMisses_ && !missingInUser) {
        std::lock_guard<std::mutex> lock(missesMutex_);
        userMisses_.emplace(logicalName);
    }
    return path;
}

void FileSystem::ForgetMisses() const {
    std::lock_guard<std::mutex> lock(missesMutex_);
    userMisses_.clear();
}

void FileSystem::ForgetMiss(std::string_view writtenName) const {
    // Names are matched without regard to letter case or slashes, so every remembered miss with the
    // same file name may now be there.
    auto fileName = [](std::string_view name) {
        size_t slash = name.find_last_of("\\/");
        return slash == std::string_view::npos ? name : name.substr(slash + 1);
    };
    std::string_view written = fileName(writtenName);
    std::lock_guard<std::mutex> lock(missesMutex_);
    for (auto it = userMisses_.begin(); it != userMisses_.end();) {
        it = EqualsNoCase(fileName(*it), written) ? userMisses_.erase(it) : std::next(it);
    }
}

FileSystem::ReadResult FileSystem::Read(std::string_view logicalName, std::string& contents,
                                        size_t maxBytes) const {
    contents.clear();
    auto path = Resolve(logicalName);
    if (!path) return ReadResult::Missing;
    CountDiskOperation();
    if (faults_.read && faults_.read(*path)) return ReadResult::Failed;
    int fd = ::open(path->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return ReadResult::Failed;
    }
    contents.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    bool failed = false;
    while (got < contents.size()) {
        ssize_t n = ::read(fd, contents.data() + got, contents.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed = true;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    contents.resize(failed ? 0 : got);  // a file that shrank meanwhile gives what it still holds
    return failed ? ReadResult::Failed : ReadResult::Ok;
}

std::optional<std::pair<int64_t, int64_t>> FileSystem::Stamp(std::string_view logicalName) const {
    auto path = Resolve(logicalName);
    if (!path)
        return std::nullopt;
    return StampOfPath(*path);
}

std::optional<std::pair<int64_t, int64_t>> FileSystem::StampOfPath(const std::string& path) const {
    CountDiskOperation();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    int64_t ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return std::make_pair(ns, static_cast<int64_t>(st.st_size));
}

std::string FileSystem::WritePath(std::string_view logicalName) const {
    CountDiskOperation();
    std::vector<std::string> parts = SplitLogical(logicalName);
    std::string path = userDir_;
    for (const std::string& part : parts) {
        auto match = (part == "." || part == "..") ? std::nullopt : MatchComponent(path, part);
        path += "/" + (match ? *match : part);
    }
    return path;
}

bool FileSystem::WriteFileAtomic(std::string_view logicalName, std::string_view contents,
                                 const WriteHooks* hooks) const {
    for (const std::string& part : SplitLogical(logicalName)) {
        if (part == "." || part == "..") return false;
    }
    std::string target = WritePath(logicalName);
    auto slash = target.find_last_of('/');
    std::string folder = target.substr(0, slash);
    if (!MakeDirectories(folder) || IsDirectory(target)) return false;

    std::string temp = target + kTempSuffix + "XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool full = faults_.write && faults_.write(target);
    bool ok = !full && WriteAll(fd, contents) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ::chmod(temp.c_str(), 0644);
    if (ok && hooks && hooks->beforeRename) hooks->beforeRename();
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    ForgetMiss(logicalName);
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool FileSystem::AppendFile(std::string_view logicalName, std::string_view contents) const {
    std::string target = WritePath(logicalName);
    CountDiskOperation();
    if (IsDirectory(target)) return false;
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_APPEND, 0644);
    if (fd < 0) return false;
    bool ok = !(faults_.write && faults_.write(target)) && WriteAll(fd, contents);
    ::close(fd);
    ForgetMiss(logicalName);
    return ok;
}

std::vector<std::string> FileSystem::RemoveWriteLeftovers(std::string_view logicalFolder,
                                                          std::string_view namePattern) const {
    std::vector<std::string> removed;
    std::optional<std::string> dir = SplitLogical(logicalFolder).empty()
                                         ? std::optional<std::string>(userDir_)
                                         : ResolveIn(userDir_, logicalFolder);
    if (userDir_.empty() || !dir || !IsDirectory(*dir)) return removed;
    const size_t suffixSize = std::strlen(kTempSuffix) + 6;
    const time_t now = ::time(nullptr);
    for (const std::string& name : DirectoryEntries(*dir)) {
        if (name.size() <= suffixSize) continue;
        size_t cut = name.size() - suffixSize;
        std::string_view target = std::string_view(name).substr(0, cut);
        std::string_view suffix = std::string_view(name).substr(cut);
        bool tempName = suffix.substr(0, suffixSize - 6) == kTempSuffix &&
                        std::all_of(suffix.end() - 6, suffix.end(),
                                    [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
        std::string path = *dir + "/" + name;
        struct stat st {};
        if (tempName && WildcardMatchNoCase(namePattern, target) && ::stat(path.c_str(), &st) == 0 &&
            S_ISREG(st.st_mode) && now - st.st_mtime >= kLeftoverAgeSeconds && ::unlink(path.c_str()) == 0)
            removed.push_back(name);
    }
    return removed;
}

std::vector<std::string> FileSystem::ListFolder(std::string_view logicalFolder,
                                                std::string_view pattern) const {
    CountDiskOperation();
    std::vector<std::string> names;
    for (const std::string* root : {&userDir_, &dataDir_}) {
        if (root->empty()) continue;
        std::optional<std::string> dir =
            SplitLogical(logicalFolder).empty() ? std::optional<std::string>(*root) : ResolveIn(*root, logicalFolder);
        if (!dir || !IsDirectory(*dir)) continue;
        for (const std::string& name : DirectoryEntries(*dir)) {
            if (!WildcardMatchNoCase(pattern, name) || !IsRegularFile(*dir + "/" + name)) continue;
            bool seen = std::any_of(names.begin(), names.end(),
                                    [&](const std::string& n) { return EqualsNoCase(n, name); });
            if (!seen) names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
    return names;
}

}  // namespace tamblor
