#pragma once
#include <string>
#include <vector>

namespace tamblor {

// The "Video Setup" dialog: a list of the video modes in a group "Video Mode" with OK and Cancel, as a
// small window of its own. Arrow keys or the mouse choose, Enter or a double click is OK, Escape or
// closing the window is Cancel. Returns 1 (OK, *selected = the chosen entry) or 2 (Cancel). Without a
// display it cannot be shown and returns 2.
int ShowVideoSetupDialog(const std::string& title, const std::vector<std::string>& modes, int* selected);

}  // namespace tamblor
