#pragma once
// The size-query-then-buffer convention of the spooler, SetupAPI and registry calls, in one place:
// callers pass the call as a lambda and get a buffer that holds the whole answer.
#include "platform/ports/Status.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace win32 {

// The last error of a call that reported failure; a failing call that left no error is still a
// failure (ERROR_GEN_FAILURE), never success.
inline ports::Status lastError() noexcept {
    const DWORD e = GetLastError();
    return e ? e : ERROR_GEN_FAILURE;
}

// A byte buffer aligned for any record the calls place in it.
using RecordBuffer = std::vector<std::max_align_t>;

inline BYTE* bytes(RecordBuffer& buf) noexcept {
    return buf.empty() ? nullptr : reinterpret_cast<BYTE*>(buf.data());
}
inline DWORD byteSize(const RecordBuffer& buf) noexcept {
    return static_cast<DWORD>(buf.size() * sizeof(std::max_align_t));
}
inline void resizeBytes(RecordBuffer& buf, std::size_t n) {
    buf.assign((n + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t), std::max_align_t{});
}

// `call(BYTE* buffer, DWORD size, DWORD* needed)` returns BOOL and fails with
// ERROR_INSUFFICIENT_BUFFER (or ERROR_MORE_DATA) and the needed size when the buffer is too small.
// Repeated because the object may grow between the size query and the read.
template <typename Call> ports::Status fillRecordBuffer(RecordBuffer& buf, Call call) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD needed = 0;
        if (call(bytes(buf), byteSize(buf), &needed))
            return ports::winerr::Success;
        const DWORD e = GetLastError();
        if (e != ERROR_INSUFFICIENT_BUFFER && e != ERROR_MORE_DATA)
            return e ? e : ERROR_GEN_FAILURE;
        resizeBytes(buf, std::max<std::size_t>(needed, byteSize(buf) * 2 + 64));
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

} // namespace win32
