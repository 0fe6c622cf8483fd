#include "core/Settings.h"

#include "core/IniText.h"
#include "core/Log.h"
#include "platform/FileSystem.h"

namespace tamblor {

std::string FormatFloat(float value) {
    return FormatDecimal(static_cast<double>(value));
}

std::string Settings::ReadRaw(std::string_view file, std::string_view section, std::string_view key,
                              bool* found) const {
    std::string text;
    *found = false;
    FileSystem::ReadResult read = files_.Read(file, text);
    if (read == FileSystem::ReadResult::Failed && unreadableLogged_.emplace(file).second)
        log_.WriteLog("Settings file '" + std::string(file) + "' cannot be read: its defaults are used", LOG_TIME);
    if (read != FileSystem::ReadResult::Ok) return {};
    auto value = IniGet(text, section, key);
    if (!value) return {};
    *found = true;
    return *value;
}

std::string Settings::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    bool found = false;
    std::string value = ReadRaw(file, section, key, &found);
    if (!found) value = std::string(defaultValue);
    if (value.size() > kValueCapacity - 1) value.resize(kValueCapacity - 1);
    return value;
}

bool Settings::WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) {
    std::string text;
    if (files_.Read(file, text) == FileSystem::ReadResult::Failed) {  // a missing file starts empty
        log_.WriteLog("Settings file '" + std::string(file) + "' cannot be read: [" + std::string(section) +
                          "] " + std::string(key) + " not written",
                      LOG_TIME);
        return false;
    }
    if (!IniSet(text, section, key, value)) return false;
    return files_.WriteFileAtomic(file, text);
}

int Settings::ReadConfigString(std::string_view section, std::string_view key, std::string& out) const {
    out = ReadString(kConfigFile, section, key, "");
    return out.empty() ? 0 : 1;
}

int Settings::WriteConfigString(std::string_view section, std::string_view key, std::string_view value) {
    return WriteString(kConfigFile, section, key, value) ? 1 : 0;
}

int Settings::ReadConfigInt(std::string_view section, std::string_view key, int* value) const {
    std::string text;
    if (!ReadConfigString(section, key, text)) return 0;
    *value = ParseIntTruncated(text);
    return 1;
}

int Settings::ReadConfigFloat(std::string_view section, std::string_view key, float* value) const {
    std::string text;
    if (!ReadConfigString(section, key, text)) return 0;
    *value = static_cast<float>(ParseDecimalPrefix(text));
    return 1;
}

int Settings::WriteConfigInt(std::string_view section, std::string_view key, int value) {
    return WriteConfigString(section, key, std::to_string(value));
}

int Settings::WriteConfigFloat(std::string_view section, std::string_view key, float value) {
    return WriteConfigString(section, key, FormatFloat(value));
}

int Settings::ReadProfileStruct(std::string_view section, std::string_view key, void* buffer, size_t size,
                                std::string_view file) const {
    bool found = false;
    std::string text = ReadRaw(file, section, key, &found);
    return (found && DecodeStructText(text, buffer, size)) ? 1 : 0;
}

int Settings::WriteProfileStruct(std::string_view section, std::string_view key, const void* buffer, size_t size,
                                 std::string_view file) {
    return WriteString(file, section, key, EncodeStructText(buffer, size)) ? 1 : 0;
}

}  // namespace tamblor
