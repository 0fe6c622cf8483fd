#include "platform/Dialogs.h"

#include <cstdio>

namespace tamblor {

void StderrDialogs::ShowMessage(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
}

}  // namespace tamblor
