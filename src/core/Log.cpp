#include "core/Log.h"

#include <ctime>

#include "platform/FileSystem.h"

namespace tamblor {
namespace {

constexpr const char* kLogFile = "app.log";
constexpr std::string_view kAsterisks =
    "**************************************************************************";

std::string LocalTimeOfDay() {
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

}  // namespace

Log::Log(const FileSystem& files) : timeOfDay(LocalTimeOfDay), files_(files) {}

void Log::WriteLog(std::string_view message, int flags) {
    if (logDirectory_.empty()) logDirectory_ = files_.UserDir();
    std::string text;
    if (flags & LOG_FRAME) text.append(kAsterisks).append("\n");
    if (flags & LOG_TIME) text.append(timeOfDay()).append(" : ");
    if (flags & LOG_WARNING) text.append("===> Warning: ");
    text.append(message);
    if (!(flags & LOG_NO_NEWLINE)) text.append("\n");
    if (flags & LOG_FRAME) text.append(kAsterisks).append("\n");
    // The log lives where the first message put it, whatever the user folder is now.
    FileSystem logFolder(files_);
    logFolder.SetUserDir(logDirectory_);
    // A new log replaces the old one whole: when the new text cannot be written (a full disk), the
    // previous run's log stays rather than being emptied.
    if (flags & LOG_NEW) {
        logFolder.WriteFileAtomic(kLogFile, text);
    } else {
        logFolder.AppendFile(kLogFile, text);
    }
}

}  // namespace tamblor
