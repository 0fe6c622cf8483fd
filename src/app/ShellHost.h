#pragma once

namespace tamblor {

// What the menus ask of the window, the system and the music, implemented by the application.
class ShellHost {
public:
    virtual ~ShellHost() = default;
    // Asks the window to close (the program then ends).
    virtual void CloseWindow() = 0;
    // Opens the game's web page from site.url with the desktop's opener.
    virtual void OpenSiteLink() = 0;
    virtual bool IsFullScreen() const = 0;
    // Switches between window and full screen; false when the switch failed.
    virtual bool ToggleFullscreen() = 0;
    virtual void SetMusicVolume(float volume) = 0;
    virtual void SetSfxVolume(float volume) = 0;
    // Moves to the next language of language.ini and keeps it for the next start; every text drawn
    // from then on is in that language.
    virtual void ChooseNextLanguage() = 0;
};

}  // namespace tamblor
