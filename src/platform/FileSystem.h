#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tamblor {

// The one place the game opens files. Logical names are kept exactly as the game writes them
// ("Graphics\font01.png"); only here are backslashes turned into slashes and each path component
// matched, first exactly, then without regard to letter case. Reads look in the user folder first and
// then in the data folder; writes go to the user folder and are atomic. A name found only in the data
// folder is remembered as missing from the user folder, so looking it up again scans no user folder: a
// write made here forgets the misses it may answer, but a file put into the user folder by someone else
// while the game runs is found only once the user folder is set again (or never, with RememberMisses
// off).
class FileSystem {
public:
    FileSystem(std::string userDir, std::string dataDir);
    // A copy looks at the same folders with the same injected faults and the same RememberMisses
    // setting; it keeps its own count of disk operations and remembers no misses yet.
    FileSystem(const FileSystem& other)
        : userDir_(other.userDir_),
          dataDir_(other.dataDir_),
          faults_(other.faults_),
          rememberMisses_(other.rememberMisses_) {}
    FileSystem& operator=(const FileSystem&) = delete;

    const std::string& UserDir() const { return userDir_; }
    const std::string& DataDir() const { return dataDir_; }
    // The user folder plays the part of the current directory: settings follow it when it changes.
    void SetUserDir(std::string dir) {
        userDir_ = std::move(dir);
        ForgetMisses();
    }

    // On (the default): names found in the data folder only are remembered as missing from the user
    // folder. Off: every resolution scans the user folder again, as the game did before it kept them
    // (the frame benchmark's "before"); turning it off forgets what was remembered. Set it before
    // other threads use this object.
    void RememberMisses(bool remember) {
        rememberMisses_ = remember;
        if (!remember)
            ForgetMisses();
    }

    // The real path of an existing regular file for a logical name, user folder first.
    std::optional<std::string> Resolve(std::string_view logicalName) const;
    bool Exists(std::string_view logicalName) const { return Resolve(logicalName).has_value(); }

    // Reads a whole regular file. Files larger than maxBytes are refused (false).
    bool ReadFile(std::string_view logicalName, std::string& contents,
                  size_t maxBytes = kDefaultMaxRead) const {
        return Read(logicalName, contents, maxBytes) == ReadResult::Ok;
    }
    // The same, telling a missing file apart from one that exists but cannot be read (no permission,
    // an I/O error, larger than maxBytes); contents is empty unless the read succeeded.
    enum class ReadResult { Ok, Missing, Failed };
    ReadResult Read(std::string_view logicalName, std::string& contents,
                    size_t maxBytes = kDefaultMaxRead) const;
    // Modification stamp (time and size) of the file a logical name resolves to; nullopt if none.
    std::optional<std::pair<int64_t, int64_t>> Stamp(std::string_view logicalName) const;
    // The same for a real path (as Resolve returned it): one stat, no name resolution.
    std::optional<std::pair<int64_t, int64_t>> StampOfPath(const std::string& path) const;

    // The path a write of this logical name goes to: in the user folder, reusing an existing file or
    // folder whose name differs only in letter case.
    std::string WritePath(std::string_view logicalName) const;

    // Hooks a test can use to stop a writer at a chosen moment.
    struct WriteHooks {
        std::function<void()> beforeRename;
    };
    // Writes through a temporary file in the same folder, fsync and rename, so an interrupted write
    // leaves the old file whole. Creates missing folders. False on any failure.
    bool WriteFileAtomic(std::string_view logicalName, std::string_view contents,
                         const WriteHooks* hooks = nullptr) const;

    // Appends to a file in the user folder (the log); false when it cannot be opened or written.
    bool AppendFile(std::string_view logicalName, std::string_view contents) const;

    // Removes what interrupted writes left in a logical folder of the user folder: the temporary files
    // "NAME.tmp-XXXXXX" of targets whose NAME matches the wildcard pattern, once they are at least
    // kLeftoverAgeSeconds old; a younger one may be the write of another copy of the game running on
    // the same folder. Returns the names removed.
    std::vector<std::string> RemoveWriteLeftovers(std::string_view logicalFolder,
                                                  std::string_view namePattern) const;

    // Failures a test injects, each asked with the real path of the file: a read that fails as an I/O
    // error would, or a write whose data does not fit (as on a full disk).
    struct Faults {
        std::function<bool(const std::string& path)> read;
        std::function<bool(const std::string& path)> write;
    };
    void InjectFaults(Faults faults) { faults_ = std::move(faults); }

    // File names (not paths) of the regular files of a logical folder of either the user or the data
    // folder matching a wildcard pattern ("*.png") without regard to letter case, sorted without regard
    // to case; a name present in both folders is listed once.
    std::vector<std::string> ListFolder(std::string_view logicalFolder, std::string_view pattern) const;

    // How many times this object went to the disk (a resolution, read, stat, listing or write).
    uint64_t DiskOperations() const { return diskOperations_.load(std::memory_order_relaxed); }

    static constexpr size_t kDefaultMaxRead = 64u * 1024u * 1024u;
    // Written after the target's name, then six random characters, to name a write's temporary file.
    static constexpr const char* kTempSuffix = ".tmp-";
    // A temporary file last written this long ago belongs to no write in progress.
    static constexpr int kLeftoverAgeSeconds = 60;

private:
    std::optional<std::string> ResolveIn(const std::string& root, std::string_view logicalName) const;

    void CountDiskOperation() const { diskOperations_.fetch_add(1, std::memory_order_relaxed); }
    void ForgetMisses() const;
    void ForgetMiss(std::string_view writtenName) const;

    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using NameSet = std::unordered_set<std::string, NameHash, std::equal_to<>>;

    std::string userDir_;
    std::string dataDir_;
    Faults faults_;
    bool rememberMisses_ = true;
    mutable std::atomic<uint64_t> diskOperations_{0};
    // Logical names found in the data folder and not in the user folder.
    mutable std::mutex missesMutex_;
    mutable NameSet userMisses_;
};

// Case-insensitive (ASCII) helpers shared by the file and settings code.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool LessNoCase(std::string_view a, std::string_view b);
// Windows-style wildcard match ('*' and '?'), ASCII case folded.
bool WildcardMatchNoCase(std::string_view pattern, std::string_view name);

}  // namespace tamblor
