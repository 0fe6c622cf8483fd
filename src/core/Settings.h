#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace tamblor {

class FileSystem;
class Log;

// INI settings files (config.ini, saved.ini, scores.ini, ...) read and written at the moment of use
// through the file resolver: reads see the user folder first, then the data folder; writes go to the
// user folder, atomically. Every call opens the file anew, so a change is seen by the next read.
class Settings {
public:
    Settings(FileSystem& files, Log& log) : files_(files), log_(log) {}

    static constexpr const char* kConfigFile = "config.ini";
    static constexpr size_t kValueCapacity = 255;  // values are cut to 254 characters, as the buffers were

    // Profile-function access to any settings file. ReadString gives the default for a missing file,
    // section or key, and for a file that exists but cannot be read (logged once per file).
    std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view defaultValue = "") const;
    // A file that exists but cannot be read is left as it is (false, with a log line): writing the new
    // key into an empty text would erase everything else it holds.
    bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value);

    // config.ini helpers. Reads return 1 when the value has at least one character, else 0; the
    // number readers leave the target untouched then. Numbers are decimal, truncated toward zero.
    int ReadConfigString(std::string_view section, std::string_view key, std::string& out) const;
    int WriteConfigString(std::string_view section, std::string_view key, std::string_view value);
    int ReadConfigInt(std::string_view section, std::string_view key, int* value) const;
    int ReadConfigFloat(std::string_view section, std::string_view key, float* value) const;
    int WriteConfigInt(std::string_view section, std::string_view key, int value);
    // Writes a float as "%f" (six decimals), as every float setting is stored.
    int WriteConfigFloat(std::string_view section, std::string_view key, float value);

    // A block of bytes under one key in the struct text format; 1 only when the length and the
    // checksum match (the buffer is left untouched otherwise).
    int ReadProfileStruct(std::string_view section, std::string_view key, void* buffer, size_t size,
                          std::string_view file) const;
    int WriteProfileStruct(std::string_view section, std::string_view key, const void* buffer, size_t size,
                           std::string_view file);

    FileSystem& Files() const { return files_; }

private:
    std::string ReadRaw(std::string_view file, std::string_view section, std::string_view key, bool* found) const;
    FileSystem& files_;
    Log& log_;
    // Files whose failed read has been logged: a read that fails once fails at every look-up.
    mutable std::set<std::string, std::less<>> unreadableLogged_;
};

// "%f" formatting, independent of the locale.
std::string FormatFloat(float value);

}  // namespace tamblor
