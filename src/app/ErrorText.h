#pragma once
// Error codes as text for the user's messages: the system's own message, and the names of the
// result codes of the driver-package calls.
#include "platform/ports/SystemInfo.h"

#include <cstdint>
#include <string>

namespace app {

// Pass as the code to ask for the calling thread's last error.
inline constexpr std::int64_t kLastError = -1;

// The system's message for `code` (for the last error when `code` is negative), as the system gives
// it, line end included; "" when it has none. HRESULTs are passed as their unsigned value.
std::wstring systemErrorText(ports::SystemInfo& system, std::int64_t code);

// "0x80004005 - E_FAIL" for a code of the table of names (S_OK, S_FALSE, E_PENDING, E_NOTIMPL,
// E_NOINTERFACE, E_POINTER, E_ABORT, E_FAIL, E_UNEXPECTED, E_ACCESSDENIED, E_HANDLE, E_OUTOFMEMORY,
// E_INVALIDARG), otherwise "0x%x : " and the system's message for it.
std::wstring errorCodeName(ports::SystemInfo& system, std::uint32_t code);

} // namespace app
