#pragma once
// The service control manager of this machine (the "Spooler" service).
#include "platform/ports/ServiceControl.h"
#include "platform/common/HandleTable.h"
#include "platform/win32/HeldHandle.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <winsvc.h>

namespace win32 {

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::CloseServiceHandle(h); }
};
using UniqueService = UniqueHandle<ServiceHandleTraits>;

class Win32ServiceControl final : public ports::ServiceControl, public ports::HandleCloser {
public:
    ports::Status openManager(std::uint32_t access, ports::ServiceManagerHandle& out) noexcept override;
    ports::Status openService(ports::ServiceManagerHandle& manager, std::wstring_view name,
                              std::uint32_t access, ports::ServiceHandle& out) noexcept override;
    ports::Status queryStatus(ports::ServiceHandle& service, ports::ServiceStatus& out) noexcept override;
    ports::Status start(ports::ServiceHandle& service) noexcept override;
    ports::Status control(ports::ServiceHandle& service, std::uint32_t code,
                          ports::ServiceStatus& out) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { handles_.remove(id); }

private:
    // Manager and service handles share one table: both are SC_HANDLEs closed the same way, and the
    // handle types of the port keep them apart.
    template <typename Tag> HeldHandle<UniqueService> handleOf(const ports::Handle<Tag>& h) const noexcept {
        return HeldHandle<UniqueService>(handles_.find(h, this));
    }
    platform::HandleTable<UniqueService> handles_;
};

} // namespace win32
