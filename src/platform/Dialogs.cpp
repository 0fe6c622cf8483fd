#include "platform/Dialogs.h"

#include <cstdio>

namespace tamblor {

void StderrDialogs::ShowMessage(MessageKind kind, const std::string& title, const std::string& text) {
    const char* prefix = kind == MessageKind::Error     ? "error: "
                         : kind == MessageKind::Warning ? "warning: "
                                                        : "";
    std::fprintf(stderr, "[%s] %s%s\n", title.c_str(), prefix, text.c_str());
}

}  // namespace tamblor
