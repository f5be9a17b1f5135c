#pragma once
// The per-user store of the persisted choices: the registry key
// HKEY_CURRENT_USER\software\<company>\<application>\<section> on Windows, the per-user section of the
// simulated machine otherwise. Integers are REG_DWORD values, texts REG_SZ values.
#include "platform/ports/Status.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ports {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The company and application keys below "software": the application sets its own at start-up,
    // before its first read (the platforms know no application). Not meant to change while other
    // threads use the store.
    virtual void setApplicationKey(std::wstring_view company, std::wstring_view application) noexcept = 0;

    // The default when the key or the value is missing or holds another type.
    [[nodiscard]] virtual std::int32_t readInt(std::wstring_view section, std::wstring_view name,
                                               std::int32_t def) noexcept = 0;
    [[nodiscard]] virtual std::wstring readString(std::wstring_view section, std::wstring_view name,
                                                  std::wstring_view def) noexcept = 0;

    // Creates the keys on the way when they are missing.
    [[nodiscard]] virtual Status writeInt(std::wstring_view section, std::wstring_view name,
                                          std::int32_t value) noexcept = 0;
    // No text deletes the value (a missing value is not an error).
    [[nodiscard]] virtual Status writeString(std::wstring_view section, std::wstring_view name,
                                             std::optional<std::wstring_view> text) noexcept = 0;
};

} // namespace ports
