#include "platform/display/DisplayErrors.h"

namespace tamblor {

std::string ErrorMessageText(int32_t code, ErrorKind kind) {
    std::string text;
    switch (code) {
        case D3DAPPERR_NODIRECT3D:
            text =
                "Could not open the game's window with OpenGL 3.3.\nCheck that a display is available "
                "and that the\ngraphics driver supports OpenGL 3.3.";
            break;
        case D3DAPPERR_NOCOMPATIBLEDEVICES:
            text = "Could not find a display that offers\nOpenGL 3.3.";
            break;
        case D3DAPPERR_NOWINDOWABLEDEVICES:
            text =
                "The game cannot run in a window with the\ncurrent display settings. Please change the\n"
                "display to a 16- or 32-bit colour mode and\nstart the game again.";
            break;
        case D3DAPPERR_NOHARDWAREDEVICE:
            text = "No hardware-accelerated OpenGL 3.3 driver\nwas found.";
            break;
        case D3DAPPERR_HALNOTCOMPATIBLE:
            text = "The game needs OpenGL 3.3, which the graphics\ndriver of this display does not offer.";
            break;
        case D3DAPPERR_NOWINDOWEDHAL:
            text = "The graphics driver cannot draw OpenGL 3.3\ninto a window.";
            break;
        case D3DAPPERR_NODESKTOPHAL:
            text =
                "The graphics driver cannot draw OpenGL 3.3\ninto a window with the current display\n"
                "settings.";
            break;
        case D3DAPPERR_NOHALTHISMODE:
            text =
                "The game needs OpenGL 3.3, which the graphics\ndriver does not offer with the current "
                "display\nsettings.";
            break;
        case D3DAPPERR_NONZEROREFCOUNT:
            text = "An OpenGL object was still in use at the end\n(it was not properly cleaned up).";
            break;
        case D3DAPPERR_MEDIANOTFOUND:
            text = "Could not load required media.";
            break;
        case D3DAPPERR_RESIZEFAILED:
            text = "Could not set up the OpenGL 3.3 display again\nafter the window changed.";
            break;
        case DISPLAY_E_OUTOFMEMORY:
            text = "Not enough memory.";
            break;
        case DISPLAY_E_OUTOFVIDEOMEMORY:
            text = "Not enough video memory.";
            break;
        default:
            text = "The game could not start its display.\nThe file app.log may tell more.";
            break;
    }
    if (kind == ErrorKind::Exit) {
        text += "\n\nTamblor will now exit.";
    } else {
        text += "\n\nSwitching to software drawing, which shows\neverything but runs very slowly.";
    }
    return text;
}

}  // namespace tamblor
