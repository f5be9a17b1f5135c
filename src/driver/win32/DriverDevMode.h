#pragma once
// The DEVMODE this driver writes: the public DEVMODEW followed by a private part of its own. Every
// DEVMODE that reaches the driver is read through readDevMode, which takes from it only what lies
// inside the sizes it declares and corrects what is out of range to the model's defaults.
#include "driver/core/ModelData.h"

#include <windows.h>

#include <cstddef>
#include <string_view>

namespace driver::win32 {

// "ORVD" in memory; a private part with another signature belongs to another driver.
inline constexpr DWORD kPrivateSignature = 0x4456524F;
inline constexpr WORD kPrivateVersion = 1;
// The driver's own version in dmDriverVersion.
inline constexpr WORD kDriverVersion = 0x0100;

struct PrivateDevMode {
    DWORD signature = kPrivateSignature;
    WORD version = kPrivateVersion;
    WORD size = sizeof(PrivateDevMode);
    // The model's darkness (its own range) and speed; -1 and 0 leave the printer's setting.
    LONG darkness = -1;
    LONG speed = 0;
};

struct DriverDevMode {
    DEVMODEW pub;
    PrivateDevMode priv;
};
static_assert(offsetof(DriverDevMode, priv) == sizeof(DEVMODEW), "the private part follows dmSize bytes");

// Custom paper sizes, in tenths of a millimetre as DEVMODE holds them: 10 mm up to the widest of
// the print head and the model's papers, 10 mm up to 2 m long (continuous media).
inline constexpr short kMinExtentTenths = 100;
inline constexpr short kMaxLengthTenths = 20000;
// The length of the page of a model that lists no papers.
inline constexpr short kPaperlessLengthTenths = 1000;
inline constexpr short kMaxCopies = 9999;
// The oldest public part still read: up to dmCollate (the DEVMODE before forms had names).
inline constexpr WORD kMinPublicSize = offsetof(DEVMODEW, dmFormName);

// The model's own DEVMODE: its default paper, portrait, one copy, its resolution, darkness and
// speed. deviceName fills dmDeviceName (cut to 31 characters).
[[nodiscard]] DriverDevMode defaultDevMode(const ModelData& model, std::wstring_view deviceName) noexcept;

struct ReadDevMode {
    DriverDevMode devMode;
    // False when the input was not used at all: none, a header whose sizes are out of range.
    bool publicUsed = false;
    // False when the private part was missing, too short or another driver's (or version's).
    bool privateUsed = false;
};

// Reads `in` as its header declares it (dmSize public bytes, then dmDriverExtra private bytes) and
// corrects it against the model. Nothing past dmSize + dmDriverExtra is read, and a field whose
// dmFields bit is set but which lies past dmSize is ignored. `in` may be null.
[[nodiscard]] ReadDevMode readDevMode(const ModelData& model, const DEVMODEW* in) noexcept;

// Writes `devMode` in the layout `target` asks for: targetSize public bytes (a prefix of DEVMODEW,
// the fields past it dropped from dmFields) and targetExtra private bytes (cut or zero-filled).
// `out` must hold targetSize + targetExtra bytes.
void writeDevMode(const DriverDevMode& devMode, WORD targetSize, WORD targetExtra, void* out) noexcept;

} // namespace driver::win32
