#pragma once
#include <string>

namespace tamblor {

// Message boxes. With a display the platform shows a real dialog; headless runs and tests print the
// text to stderr (or record it) and never block.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

class StderrDialogs final : public Dialogs {
public:
    void ShowMessage(const std::string& title, const std::string& text) override;
};

}  // namespace tamblor
