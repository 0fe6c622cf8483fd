#pragma once
#include <string>

namespace tamblor {

// Hands a web address to the desktop's opener (xdg-open), started directly without a shell, in the
// background; the game does not wait for it. False when it could not be started.
bool OpenWithDesktop(const std::string& url);

}  // namespace tamblor
