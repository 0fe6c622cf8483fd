#include "app/Folders.h"

#include <string_view>

#include "app/CommandLine.h"
#include "core/Settings.h"
#include "platform/Directories.h"
#include "platform/FileSystem.h"
#include "BuildPaths.h"

namespace tamblor {

namespace {

std::string DefaultDataDir() {
    std::string exeDir = ExecutableDir();
    if (!exeDir.empty()) {
        if (IsDirectory(exeDir + "game"))
            return AbsolutePath(exeDir + "game");
        if (IsDirectory(exeDir + TAMBLOR_DATA_FROM_BIN))
            return AbsolutePath(exeDir + TAMBLOR_DATA_FROM_BIN);
    }
    if (IsDirectory(TAMBLOR_BUILD_GAME_DIR))
        return TAMBLOR_BUILD_GAME_DIR;
    return TAMBLOR_INSTALL_DATA_DIR;
}

std::string DefaultUserDir() {
    std::string xdg = EnvironmentValue("XDG_DATA_HOME");
    if (!xdg.empty() && xdg[0] == '/')
        return xdg + "/tamblor";
    std::string home = EnvironmentValue("HOME");
    if (!home.empty())
        return home + "/.local/share/tamblor";
    return {};
}

}  // namespace

Folders ChooseFolders(const CommandLine& line) {
    Folders folders;
    if (!line.dataDir.empty()) {
        folders.dataDir = AbsolutePath(line.dataDir);
        if (!IsDirectory(folders.dataDir)) {
            folders.error = "the data folder '" + line.dataDir + "' is not a folder";
            return folders;
        }
    } else {
        folders.dataDir = DefaultDataDir();
        if (!IsDirectory(folders.dataDir)) {
            folders.error =
                "the game data was not found (looked for '" + folders.dataDir + "'); use --datadir DIR";
            return folders;
        }
    }
    folders.userDir = line.userDir.empty() ? DefaultUserDir() : AbsolutePath(line.userDir);
    if (folders.userDir.empty()) {
        folders.error = "no user folder: neither XDG_DATA_HOME nor HOME is set; use --userdir DIR";
    }
    return folders;
}

bool PrepareUserFolder(Folders& folders) {
    if (!folders.error.empty())
        return false;
    std::string why;
    if (!EnsureWritableDirectory(folders.userDir, &why)) {
        folders.error = "the user folder cannot be used: " + why;
        return false;
    }
    if (!ChangeDirectory(folders.userDir)) {
        folders.error = "cannot enter the user folder '" + folders.userDir + "'";
        return false;
    }
    return true;
}

bool WriteFirstStartDefaults(const FileSystem& files, Settings& settings) {
    auto config = files.Resolve(Settings::kConfigFile);
    std::string_view userDir = files.UserDir();
    bool ownConfig = config && config->size() > userDir.size() &&
                     config->compare(0, userDir.size(), userDir) == 0 && (*config)[userDir.size()] == '/';
    if (ownConfig)
        return false;
    std::string mode;
    if (!settings.ReadConfigString("VIDEO", "Mode", mode)) {
        settings.WriteConfigString("VIDEO", "Mode", kDefaultVideoMode);
    }
    return true;
}

std::vector<std::string> RemoveInterruptedWrites(const FileSystem& files) {
    struct Written {
        const char* folder;
        const char* names;
    };
    std::vector<std::string> removed;
    for (const Written& w : {Written{"", "*.ini"}, Written{"", "app.log"}, Written{"Levels", "*.xml"}}) {
        for (const std::string& name : files.RemoveWriteLeftovers(w.folder, w.names)) {
            removed.push_back(w.folder[0] ? std::string(w.folder) + "\\" + name : name);
        }
    }
    return removed;
}

}  // namespace tamblor
