#pragma once
#include <string>

namespace tamblor {

// The icon a message box shows: none (a plain notice), a warning, or an error.
enum class MessageKind { None, Warning, Error };

// Message boxes. With a display the platform shows a real dialog; headless runs and tests print the
// text to stderr (or record it) and never block.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) = 0;
};

class StderrDialogs final : public Dialogs {
public:
    void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) override;
};

}  // namespace tamblor
