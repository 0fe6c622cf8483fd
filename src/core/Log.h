#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace tamblor {

class FileSystem;

// Flag bits of WriteLog.
enum LogFlags : int {
    LOG_NEW = 1,         // empty the log before this message
    LOG_TIME = 2,        // "HH:MM:SS : " before the message
    LOG_FRAME = 4,       // a line of asterisks before and after
    LOG_NO_NEWLINE = 8,  // the next message continues this line
    LOG_WARNING = 16,    // "===> Warning: " before the message
};

// app.log. Its folder is fixed by the first message of the run (the user folder of that moment); the
// message is written as data, never used as a format.
class Log {
public:
    explicit Log(const FileSystem& files);
    void WriteLog(std::string_view message, int flags);
    const std::string& LogDirectory() const { return logDirectory_; }
    // The time prefix source; defaults to the local time of day as "HH:MM:SS".
    std::function<std::string()> timeOfDay;

private:
    const FileSystem& files_;
    std::string logDirectory_;
};

}  // namespace tamblor
