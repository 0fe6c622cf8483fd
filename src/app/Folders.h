#pragma once
#include <string>
#include <vector>

namespace tamblor {

struct CommandLine;
class FileSystem;
class Settings;

// The two folders of a run: the data folder (may be read-only) and the user folder (writable), which
// becomes the current directory and receives config.ini, saved.ini, scores.ini, app.log and edited
// level files. A file missing from the user folder is read from the data folder.
struct Folders {
    std::string dataDir;
    std::string userDir;
    std::string error;  // non-empty when the run cannot go on; a sentence for the player
};

// Where the folders would be, without touching anything: --datadir or the game folder beside the
// program (the build tree's, then the installed one); --userdir or $XDG_DATA_HOME/tamblor (default
// ~/.local/share/tamblor).
Folders ChooseFolders(const CommandLine& line);

// Creates the user folder when needed and makes it the current directory. False (with folders.error
// set) when it is not a writable folder.
bool PrepareUserFolder(Folders& folders);

// On a first start (no config.ini of the user's own yet) writes the defaults that keep the video setup
// dialog from blocking: VIDEO/Mode "800 x 600 - 32 bit" unless the data folder's config.ini gives one.
// Returns true when this was a first start.
bool WriteFirstStartDefaults(const FileSystem& files, Settings& settings);

// Removes the temporary files that writes killed before their rename left in the user folder: those
// of the settings files, the log and edited levels. Returns their logical names.
std::vector<std::string> RemoveInterruptedWrites(const FileSystem& files);

inline constexpr const char* kDefaultVideoMode = "800 x 600 - 32 bit";

}  // namespace tamblor
