#pragma once
// Reading an INF the way SetupAPI gives it (SetupOpenInfFileW, SetupEnumInfSectionsW,
// SetupGetLineCountW, SetupGetLineByIndexW, SetupGetFieldCount, SetupGetStringFieldW): sections in
// the order the system enumerates them, each line's key and fields without quotes, continuations and
// comments, and %strkey% replaced from [Strings]. The port owns the size queries.
#include "platform/ports/Handle.h"
#include "platform/ports/Status.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ports {

// An open INF; closing it is SetupCloseInfFile.
using InfHandle = Handle<struct InfHandleTag>;

class InfFiles {
public:
    virtual ~InfFiles() = default;

    // SetupOpenInfFileW(path, infClass, INF_STYLE_WIN4). The error is GetLastError's: a missing file
    // ERROR_FILE_NOT_FOUND, another class ERROR_CLASS_MISMATCH, no Windows NT signature
    // ERROR_WRONG_INF_STYLE.
    [[nodiscard]] virtual Status openInf(std::wstring_view path, std::wstring_view infClass,
                                         InfHandle& out) noexcept = 0;
    // SetupEnumInfSectionsW: the name of the section at `index`; ERROR_NO_MORE_ITEMS past the last.
    [[nodiscard]] virtual Status sectionName(InfHandle& inf, std::uint32_t index,
                                             std::wstring& out) noexcept = 0;
    // SetupGetLineCountW; ERROR_SECTION_NOT_FOUND for a section the INF lacks.
    [[nodiscard]] virtual Status lineCount(InfHandle& inf, std::wstring_view section,
                                           std::uint32_t& out) noexcept = 0;
    // SetupGetLineByIndexW, then the fields 0 to SetupGetFieldCount with SetupGetStringFieldW. A
    // field that cannot be fetched (field 0 of a line without a key) is left empty and `hasKey` says
    // whether field 0 came.
    [[nodiscard]] virtual Status lineFields(InfHandle& inf, std::wstring_view section, std::uint32_t index,
                                            bool& hasKey, std::vector<std::wstring>& fields) noexcept = 0;
};

} // namespace ports
