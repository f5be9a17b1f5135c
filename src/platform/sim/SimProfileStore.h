#pragma once
// The persisted choices kept in the simulated machine's per-user section: state "profile", one
// object per key path ("software\ZEVR\Orvello\SetupMode"), values as {"type": "REG_DWORD"|"REG_SZ",
// "value": ...}. Key paths and value names ignore case, as the registry does.
#include "platform/ports/ProfileStore.h"
#include "platform/sim/SimMachine.h"

namespace sim {

class SimProfileStore final : public ports::ProfileStore {
public:
    SimProfileStore(SimMachine& machine, std::wstring company, std::wstring application);

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
    std::string keyPath(std::wstring_view section) const;

    SimMachine& machine_;
    std::wstring company_;
    std::wstring application_;
};

} // namespace sim
