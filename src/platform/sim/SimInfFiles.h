#pragma once
// The SetupAPI INF functions on the simulated disk, through the shared INF reader.
#include "base/InfText.h"
#include "platform/common/HandleTable.h"
#include "platform/ports/FileSystem.h"
#include "platform/ports/InfFiles.h"

namespace sim {

class SimMachine;

class SimInfFiles final : public ports::InfFiles, private ports::HandleCloser {
public:
    SimInfFiles(SimMachine& machine, ports::FileSystem& files) : machine_(machine), files_(files) {}

    ports::Status openInf(std::wstring_view path, std::wstring_view infClass,
                          ports::InfHandle& out) noexcept override;
    ports::Status sectionName(ports::InfHandle& inf, std::uint32_t index,
                              std::wstring& out) noexcept override;
    ports::Status lineCount(ports::InfHandle& inf, std::wstring_view section,
                            std::uint32_t& out) noexcept override;
    ports::Status lineFields(ports::InfHandle& inf, std::wstring_view section, std::uint32_t index,
                             bool& hasKey, std::vector<std::wstring>& fields) noexcept override;

private:
    struct Open {
        inf::Document document;
        std::vector<std::wstring> sections;
    };
    void closeHandle(std::uint64_t id) noexcept override { infs_.remove(id); }

    SimMachine& machine_;
    ports::FileSystem& files_;
    platform::HandleTable<Open> infs_;
};

} // namespace sim
