#pragma once
// Everything a screen needs, in a temporary user folder.
#include "TestSupport.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "screens/FakeScreenCanvas.h"
#include "screens/Screen.h"

namespace tamblor::test {

struct ScreenRig {
    TempDir dir;
    FileSystem files{dir.Path(), ""};
    Log log{files};
    Settings settings{files, log};
    InputState input;
    FakeScreenCanvas canvas;
    RecordingSoundFiles sounds;
    ScreenEnvironment env{settings, log, input, canvas, sounds};

    std::string ConfigValue(const std::string& key) const {
        return settings.ReadString("config.ini", "OPTIONS", key, "<none>");
    }
    std::string LogText() const { return dir.Read("app.log"); }
};

}  // namespace tamblor::test
