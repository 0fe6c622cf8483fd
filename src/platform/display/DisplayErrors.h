#pragma once
#include <cstdint>
#include <string>

namespace tamblor {

// Result codes of the display framework (32-bit, negative = failure) and the texts shown for them.
inline constexpr int32_t DISPLAY_E_FAIL = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t DISPLAY_E_OUTOFMEMORY = static_cast<int32_t>(0x8007000Eu);
inline constexpr int32_t D3DAPPERR_NODIRECT3D = static_cast<int32_t>(0x82000001u);
inline constexpr int32_t D3DAPPERR_NOCOMPATIBLEDEVICES = static_cast<int32_t>(0x82000003u);
inline constexpr int32_t D3DAPPERR_NOWINDOWABLEDEVICES = static_cast<int32_t>(0x82000004u);
inline constexpr int32_t D3DAPPERR_NOHARDWAREDEVICE = static_cast<int32_t>(0x82000005u);
inline constexpr int32_t D3DAPPERR_HALNOTCOMPATIBLE = static_cast<int32_t>(0x82000006u);
inline constexpr int32_t D3DAPPERR_NOWINDOWEDHAL = static_cast<int32_t>(0x82000007u);
inline constexpr int32_t D3DAPPERR_NODESKTOPHAL = static_cast<int32_t>(0x82000008u);
inline constexpr int32_t D3DAPPERR_NOHALTHISMODE = static_cast<int32_t>(0x82000009u);
inline constexpr int32_t D3DAPPERR_NONZEROREFCOUNT = static_cast<int32_t>(0x8200000Au);
inline constexpr int32_t D3DAPPERR_MEDIANOTFOUND = static_cast<int32_t>(0x8200000Bu);
inline constexpr int32_t D3DAPPERR_RESIZEFAILED = static_cast<int32_t>(0x8200000Cu);
inline constexpr int32_t DISPLAY_E_OUTOFVIDEOMEMORY = static_cast<int32_t>(0x8876017Cu);

enum class ErrorKind { Exit, Warning };

// The message for a code, followed by the exit notice or the software-renderer notice.
std::string ErrorMessageText(int32_t code, ErrorKind kind);

}  // namespace tamblor
