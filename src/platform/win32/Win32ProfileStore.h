#pragma once
// Persisted choices in HKEY_CURRENT_USER\software\<company>\<application>\<section>.
#include "platform/ports/ProfileStore.h"

#include <string>

namespace win32 {

class Win32ProfileStore final : public ports::ProfileStore {
public:
    Win32ProfileStore(std::wstring company, std::wstring application);

    void setApplicationKey(std::wstring_view company, std::wstring_view application) noexcept override;
    std::int32_t readInt(std::wstring_view section, std::wstring_view name,
                         std::int32_t def) noexcept override;
    std::wstring readString(std::wstring_view section, std::wstring_view name,
                            std::wstring_view def) noexcept override;
    ports::Status writeInt(std::wstring_view section, std::wstring_view name,
                           std::int32_t value) noexcept override;
    ports::Status writeString(std::wstring_view section, std::wstring_view name,
                              std::optional<std::wstring_view> text) noexcept override;

private:
    std::wstring keyPath(std::wstring_view section) const;
    std::wstring company_;
    std::wstring application_;
};

} // namespace win32
