#include "platform/display/DisplayErrors.h"

namespace tamblor {

std::string ErrorMessageText(int32_t code, ErrorKind kind) {
    std::string text;
    switch (code) {
        case D3DAPPERR_NODIRECT3D:
            text =
                "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
                "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
                "was compiled with header files that match\nthe installed DirectX DLLs.";
            break;
        case D3DAPPERR_NOCOMPATIBLEDEVICES:
            text = "Could not find any compatible Direct3D\ndevices.";
            break;
        case D3DAPPERR_NOWINDOWABLEDEVICES:
            text =
                "This sample cannot run in a desktop\nwindow with the current display settings.\n"
                "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\n"
                "sample.";
            break;
        case D3DAPPERR_NOHARDWAREDEVICE:
            text = "No hardware-accelerated Direct3D devices\nwere found.";
            break;
        case D3DAPPERR_HALNOTCOMPATIBLE:
            text =
                "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
                "accelerator.";
            break;
        case D3DAPPERR_NOWINDOWEDHAL:
            text =
                "Your Direct3D hardware accelerator cannot\nrender into a window.\n"
                "Press F2 while the app is running to see a\nlist of available devices and modes.";
            break;
        case D3DAPPERR_NODESKTOPHAL:
            text =
                "Your Direct3D hardware accelerator cannot\nrender into a window with the current\n"
                "desktop display settings.\nPress F2 while the app is running to see a\n"
                "list of available devices and modes.";
            break;
        case D3DAPPERR_NOHALTHISMODE:
            text =
                "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
                "accelerator with the current desktop display\nsettings.\n"
                "Press F2 while the app is running to see a\nlist of available devices and modes.";
            break;
        case D3DAPPERR_NONZEROREFCOUNT:
            text =
                "A D3D object has a non-zero reference\ncount (meaning things were not properly\n"
                "cleaned up).";
            break;
        case D3DAPPERR_MEDIANOTFOUND:
            text = "Could not load required media.";
            break;
        case D3DAPPERR_RESIZEFAILED:
            text = "Could not reset the Direct3D device.";
            break;
        case DISPLAY_E_OUTOFMEMORY:
            text = "Not enough memory.";
            break;
        case DISPLAY_E_OUTOFVIDEOMEMORY:
            text = "Not enough video memory.";
            break;
        default:
            text = "Generic application error. Enable\ndebug output for detailed information.";
            break;
    }
    if (kind == ErrorKind::Exit) {
        text += "\n\nThis sample will now exit.";
    } else {
        text +=
            "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
            "Direct3D feature set, but runs very slowly.";
    }
    return text;
}

}  // namespace tamblor
