// The language monitor (CorvaneExLM.dll) stacked, as the spooler stacks it, on a port monitor that
// the test fakes: every call of a job must reach the port monitor below with its own port handle,
// the bytes unchanged, and what it answers must come back.
#include "DriverTestPrinter.h"

#include <winspool.h>
#include <winsplp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using InitializeFn = LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE);

// The port monitor below; one instance per test, reached through the handles it gives out.
struct FakePortMonitor {
    static FakePortMonitor* current;
    static constexpr ULONG_PTR kPortHandle = 0x5150;

    std::vector<std::string> calls;
    std::string written;
    std::wstring openedPort;
    HANDLE openedWith = nullptr;
    DWORD openError = 0;
    MONITOR2 table{};

    FakePortMonitor() {
        current = this;
        table.cbSize = sizeof table;
        table.pfnOpenPort = openPort;
        table.pfnStartDocPort = startDocPort;
        table.pfnWritePort = writePort;
        table.pfnReadPort = readPort;
        table.pfnEndDocPort = endDocPort;
        table.pfnClosePort = closePort;
    }
    // Functions rather than lambdas: the table's calling convention is WINAPI on 32-bit Windows.
    static BOOL WINAPI openPort(HANDLE monitor, LPWSTR name, PHANDLE port) {
        current->calls.push_back("OpenPort");
        current->openedWith = monitor;
        current->openedPort = name;
        if (current->openError) {
            SetLastError(current->openError);
            return FALSE;
        }
        *port = reinterpret_cast<HANDLE>(kPortHandle);
        return TRUE;
    }
    static BOOL WINAPI startDocPort(HANDLE port, LPWSTR printer, DWORD job, DWORD level, LPBYTE) {
        current->record("StartDocPort", port);
        std::string& call = current->calls.back();
        for (const std::string& part :
             {std::to_string(job), std::to_string(level), std::string(printer, printer + wcslen(printer))})
            call.append(1, ' ').append(part);
        return TRUE;
    }
    static BOOL WINAPI writePort(HANDLE port, LPBYTE bytes, DWORD size, LPDWORD written) {
        current->record("WritePort", port);
        current->written.append(reinterpret_cast<const char*>(bytes), size);
        *written = size;
        return TRUE;
    }
    static BOOL WINAPI readPort(HANDLE port, LPBYTE bytes, DWORD size, LPDWORD read) {
        current->record("ReadPort", port);
        const std::string answer = "OK";
        *read = static_cast<DWORD>(std::min<std::size_t>(size, answer.size()));
        memcpy(bytes, answer.data(), *read);
        return TRUE;
    }
    static BOOL WINAPI endDocPort(HANDLE port) {
        current->record("EndDocPort", port);
        return TRUE;
    }
    static BOOL WINAPI closePort(HANDLE port) {
        current->record("ClosePort", port);
        return TRUE;
    }
    ~FakePortMonitor() { current = nullptr; }
    void record(const char* call, HANDLE port) {
        calls.push_back(call);
        if (port != reinterpret_cast<HANDLE>(kPortHandle))
            calls.back() += " (wrong port handle)";
    }
};
FakePortMonitor* FakePortMonitor::current = nullptr;

class DriverLanguageMonitor : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(wine_tests::driverDllPath(L"CorvaneExLM.dll").c_str());
        ASSERT_NE(module_, nullptr) << "CorvaneExLM.dll did not load: " << GetLastError();
        const auto init = reinterpret_cast<InitializeFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "InitializePrintMonitor2")));
        ASSERT_NE(init, nullptr);
        MONITORINIT info{};
        info.cbSize = sizeof info;
        info.bLocal = TRUE;
        table_ = init(&info, &monitor_);
        ASSERT_NE(table_, nullptr);
        ASSERT_GE(table_->cbSize, offsetof(MONITOR2, pfnShutdown) + sizeof(void*));
    }
    void TearDown() override {
        if (table_)
            table_->pfnShutdown(monitor_);
        if (module_)
            FreeLibrary(module_);
    }

    HANDLE open(FakePortMonitor& below) {
        HANDLE port = nullptr;
        const auto belowMonitor = reinterpret_cast<HANDLE>(ULONG_PTR{0xB0B});
        EXPECT_TRUE(table_->pfnOpenPortEx(monitor_, belowMonitor, const_cast<LPWSTR>(L"USB001"),
                                          const_cast<LPWSTR>(L"Label printer"), &port, &below.table));
        EXPECT_EQ(below.openedWith, belowMonitor);
        EXPECT_EQ(below.openedPort, L"USB001");
        return port;
    }

    HMODULE module_ = nullptr;
    LPMONITOR2 table_ = nullptr;
    HANDLE monitor_ = nullptr;
};

TEST_F(DriverLanguageMonitor, AJobPassesToThePortMonitorBelowUnchanged) {
    FakePortMonitor below;
    const HANDLE port = open(below);
    ASSERT_NE(port, nullptr);

    DOC_INFO_1W doc{const_cast<LPWSTR>(L"label"), nullptr, const_cast<LPWSTR>(L"RAW")};
    ASSERT_TRUE(table_->pfnStartDocPort(port, const_cast<LPWSTR>(L"Label printer"), 42, 1,
                                        reinterpret_cast<LPBYTE>(&doc)));
    const std::string job = std::string("SIZE 57 mm,150 mm\r\nBITMAP 0,0,1,1,0,\x00\xFF\r\nPRINT 1\r\n", 44);
    DWORD written = 0;
    ASSERT_TRUE(table_->pfnWritePort(port, reinterpret_cast<LPBYTE>(const_cast<char*>(job.data())),
                                     static_cast<DWORD>(job.size()), &written));
    EXPECT_EQ(written, job.size());
    char answer[8] = {};
    DWORD read = 0;
    ASSERT_TRUE(table_->pfnReadPort(port, reinterpret_cast<LPBYTE>(answer), sizeof answer, &read));
    EXPECT_EQ(std::string(answer, read), "OK");
    ASSERT_TRUE(table_->pfnEndDocPort(port));
    ASSERT_TRUE(table_->pfnClosePort(port));

    EXPECT_EQ(below.written, job);
    const std::vector<std::string> expected = {
        "OpenPort", "StartDocPort 42 1 Label printer", "WritePort", "ReadPort", "EndDocPort", "ClosePort"};
    EXPECT_EQ(below.calls, expected);
}

TEST_F(DriverLanguageMonitor, APortMonitorThatCannotOpenThePortFailsTheOpen) {
    FakePortMonitor below;
    below.openError = ERROR_ACCESS_DENIED;
    HANDLE port = nullptr;
    EXPECT_FALSE(table_->pfnOpenPortEx(monitor_, nullptr, const_cast<LPWSTR>(L"USB002"), nullptr, &port,
                                       &below.table));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(DriverLanguageMonitor, WhatThePortMonitorCannotDoIsNotSupported) {
    FakePortMonitor below;
    below.table.pfnReadPort = nullptr;
    const HANDLE port = open(below);
    ASSERT_NE(port, nullptr);
    char buffer[4];
    DWORD read = 0;
    EXPECT_FALSE(table_->pfnReadPort(port, reinterpret_cast<LPBYTE>(buffer), sizeof buffer, &read));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    DWORD returned = 0;
    EXPECT_FALSE(table_->pfnGetPrinterDataFromPort(port, 0, const_cast<LPWSTR>(L"Status"), nullptr, 0,
                                                   nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_TRUE(table_->pfnClosePort(port));
}

} // namespace
