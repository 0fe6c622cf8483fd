#include "platform/display/DesktopOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace tamblor {

bool OpenWithDesktop(const std::string& url) {
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
    // Reaped in the background so no finished opener lingers.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

}  // namespace tamblor
