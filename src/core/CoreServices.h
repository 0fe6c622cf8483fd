#pragma once

namespace tamblor {

class Clock;
class Random;
class InputState;
class FileSystem;
class Log;
class Settings;
class Language;
class Dialogs;

// The platform seams and small services every subsystem uses, owned by the application (or a test)
// and handed down by reference. Nothing here is a global.
struct CoreServices {
    Clock& clock;
    Random& random;
    InputState& input;
    FileSystem& files;
    Log& log;
    Settings& settings;
    Language& language;
    Dialogs& dialogs;
};

}  // namespace tamblor
