#pragma once
// ports::Guid and the system's GUID have the same fields in the same order.
#include "platform/ports/Guid.h"

#include <windows.h>

#include <algorithm>

namespace win32 {

inline GUID toGuid(const ports::Guid& g) {
    GUID out{g.data1, g.data2, g.data3, {}};
    std::copy(g.data4.begin(), g.data4.end(), out.Data4);
    return out;
}

inline ports::Guid fromGuid(const GUID& g) {
    ports::Guid out{g.Data1, g.Data2, g.Data3, {}};
    std::copy(std::begin(g.Data4), std::end(g.Data4), out.data4.begin());
    return out;
}

} // namespace win32
