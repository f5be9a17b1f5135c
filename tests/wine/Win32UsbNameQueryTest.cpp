// The USB name query's overlapped I/O, with a named pipe standing in for the printer's interface:
// the query is written, the answer read, and a printer that never answers costs one wait, after
// which the read is cancelled rather than left writing into a freed buffer.
#include "platform/win32/Win32DeviceTree.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

namespace {
namespace winerr = ports::winerr;
using ports::Status;

const std::vector<std::uint8_t> kRequest = {0x10, 0xFF, 0x30, 0x11};

// One pipe instance that reads the four request bytes and then answers `reply`, or nothing at all.
class FakePrinter {
public:
    explicit FakePrinter(std::optional<std::string> reply) : reply_(std::move(reply)) {
        name_ = L"\\\\.\\pipe\\orvello-usb-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64());
        pipe_ = CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096,
                                 0, nullptr);
        server_ = std::thread([this] { serve(); });
    }
    ~FakePrinter() {
        server_.join();
        CloseHandle(pipe_);
    }
    const std::wstring& path() const { return name_; }
    std::vector<std::uint8_t> received;

private:
    void serve() {
        if (!ConnectNamedPipe(pipe_, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED)
            return;
        std::uint8_t buf[16] = {};
        DWORD got = 0;
        if (ReadFile(pipe_, buf, sizeof buf, &got, nullptr))
            received.assign(buf, buf + got);
        if (reply_) {
            DWORD written = 0;
            WriteFile(pipe_, reply_->data(), static_cast<DWORD>(reply_->size()), &written, nullptr);
        }
        // Until the client has gone.
        while (ReadFile(pipe_, buf, sizeof buf, &got, nullptr)) {
        }
    }
    std::optional<std::string> reply_;
    std::wstring name_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    std::thread server_;
};

ports::UsbNameQuery query() {
    ports::UsbNameQuery q;
    q.request = kRequest;
    q.writeTimeoutMs = 1000;
    q.pauseMs = 100;
    q.readTimeoutMs = 300;
    q.maxReply = 255;
    return q;
}

TEST(Win32UsbNameQuery, WritesTheRequestAndReadsTheAnswer) {
    std::vector<std::uint8_t> reply;
    {
        FakePrinter printer(std::string("CX-420T BT\0\xAA", 12));
        win32::Win32DeviceTree tree;
        ASSERT_EQ(tree.queryUsbPrinterName(printer.path(), query(), reply), winerr::Success);
        EXPECT_EQ(printer.received, kRequest);
    }
    EXPECT_EQ(reply, (std::vector<std::uint8_t>{'C', 'X', '-', '4', '2', '0', 'T', ' ', 'B', 'T', 0, 0xAA}));
}

TEST(Win32UsbNameQuery, APrinterThatNeverAnswersCostsOneReadWait) {
    FakePrinter printer(std::nullopt);
    win32::Win32DeviceTree tree;
    std::vector<std::uint8_t> reply{1, 2, 3};
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(tree.queryUsbPrinterName(printer.path(), query(), reply), static_cast<Status>(WAIT_TIMEOUT));
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_TRUE(reply.empty());
    EXPECT_GE(elapsed, 350u); // the pause and the read wait
    EXPECT_LT(elapsed, 5000u);
}

TEST(Win32UsbNameQuery, ADeviceThatCannotBeOpenedGivesTheOpenError) {
    win32::Win32DeviceTree tree;
    std::vector<std::uint8_t> reply;
    EXPECT_EQ(tree.queryUsbPrinterName(L"\\\\.\\pipe\\orvello-no-such-printer", query(), reply),
              static_cast<Status>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(reply.empty());
}

} // namespace
