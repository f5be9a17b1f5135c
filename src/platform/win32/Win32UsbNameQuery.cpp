// The name query over a USB printer interface: overlapped write and read, each with its own wait.
#include "platform/win32/Win32DeviceTree.h"

#include "platform/win32/SizedBuffer.h"

#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

// Starts one overlapped transfer and waits for it at most `timeoutMs`. A transfer that outlives its
// wait is cancelled, and its cancellation awaited, before the caller's buffer goes away.
template <typename Start>
Status transfer(HANDLE device, HANDLE event, std::uint32_t timeoutMs, DWORD& done, Start start) {
    done = 0;
    OVERLAPPED ov{};
    ov.hEvent = event;
    ResetEvent(event);
    if (!start(&ov)) {
        const Status s = lastError();
        if (s != ERROR_IO_PENDING)
            return s;
        if (WaitForSingleObject(event, timeoutMs) != WAIT_OBJECT_0) {
            CancelIo(device); // issued by this thread, so CancelIo reaches it on every system
            GetOverlappedResult(device, &ov, &done, TRUE);
            done = 0;
            return WAIT_TIMEOUT;
        }
    }
    return GetOverlappedResult(device, &ov, &done, FALSE) ? winerr::Success : lastError();
}

} // namespace

Status Win32DeviceTree::queryUsbPrinterName(std::wstring_view devicePath, const ports::UsbNameQuery& query,
                                            std::vector<std::uint8_t>& reply) noexcept {
    reply.clear();
    const std::wstring path(devicePath);
    UniqueFile device(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OVERLAPPED, nullptr));
    if (!device)
        return lastError();
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event)
        return lastError();

    std::vector<std::uint8_t> request = query.request;
    DWORD done = 0;
    if (Status s = transfer(device.get(), event.get(), query.writeTimeoutMs, done, [&](OVERLAPPED* ov) {
            return WriteFile(device.get(), request.data(), static_cast<DWORD>(request.size()), nullptr, ov);
        }))
        return s;
    Sleep(query.pauseMs);

    std::vector<std::uint8_t> buffer(query.maxReply, 0);
    if (Status s = transfer(device.get(), event.get(), query.readTimeoutMs, done, [&](OVERLAPPED* ov) {
            return ReadFile(device.get(), buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, ov);
        }))
        return s;
    buffer.resize(done);
    reply = std::move(buffer);
    return winerr::Success;
}

} // namespace win32
