#pragma once
// DrvDeviceCapabilities for one model: what DeviceCapabilitiesW returns for each DC_ index. With
// no output buffer the count of items is returned, so a caller can size the buffer first.
#include "driver/core/ModelData.h"

#include <windows.h>

namespace driver::win32 {

// GDI_ERROR for an index this driver does not answer.
[[nodiscard]] DWORD deviceCapability(const ModelData& model, WORD index, void* output) noexcept;

} // namespace driver::win32
