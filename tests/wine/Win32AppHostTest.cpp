// The real Win32 side of start-up: the single-instance mutex and its broadcast, Windows Sockets,
// privileges, the system libraries with their entry points, and system messages.
#include "app/ErrorText.h"
#include "app/SystemLibraries.h"
#include "platform/win32/EntryPoints.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <string>

namespace {
namespace winerr = ports::winerr;

// A top-level window standing in for the running copy's main window: counts the activation message.
class ActivationWindow {
public:
    explicit ActivationWindow(UINT message) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ActivationWindow::proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvelloCoreTestActivation";
        RegisterClassW(&wc);
        message_ = message;
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"activation", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                nullptr, nullptr, wc.hInstance, this);
    }
    ~ActivationWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }
    int received() const { return received_; }

    // Pumps this thread's messages until the window has had one, for at most two seconds.
    void pumpUntilReceived() {
        for (int i = 0; i < 200 && received_ == 0; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (received_ == 0)
                Sleep(10);
        }
    }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<ActivationWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == self->message_ && msg != 0)
            ++self->received_;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    UINT message_ = 0;
    HWND hwnd_ = nullptr;
    int received_ = 0;
};

// A name of this test run's own, so that parallel runs in one Wine prefix do not meet.
std::wstring testInstanceId(const wchar_t* test) {
    return L"orvello-core-" + std::wstring(test) + L"-" + std::to_wstring(GetCurrentProcessId());
}

TEST(Win32SingleInstance, TheClaimIsANamedMutexFreedWithItsLastHandle) {
    const std::wstring id = testInstanceId(L"mutex");
    win32::Win32AppHost host;
    auto first = host.claimSingleInstance(id);
    ASSERT_TRUE(first->first());
    ASSERT_NE(first->activationMessage(), 0u);
    EXPECT_EQ(first->activationMessage(), RegisterWindowMessageW(id.c_str()));
    HANDLE probe = OpenMutexW(SYNCHRONIZE, FALSE, id.c_str());
    EXPECT_NE(probe, nullptr);
    if (probe)
        CloseHandle(probe);

    auto second = host.claimSingleInstance(id);
    EXPECT_FALSE(second->first());
    EXPECT_EQ(second->activationMessage(), first->activationMessage());
    EXPECT_EQ(second->takeActivationRequests(), 0); // on Windows the request is the window message

    second.reset();
    EXPECT_FALSE(host.claimSingleInstance(id)->first()); // the first copy still holds it
    first.reset();
    EXPECT_TRUE(host.claimSingleInstance(id)->first());
}

TEST(Win32SingleInstance, TheRunningCopysWindowReceivesTheBroadcast) {
    const std::wstring id = testInstanceId(L"broadcast");
    win32::Win32AppHost host;
    auto first = host.claimSingleInstance(id);
    ASSERT_TRUE(first->first());
    ActivationWindow window(first->activationMessage());
    if (!window.hwnd())
        GTEST_SKIP() << "no display: a top-level window cannot be created (run under xvfb-run)";
    auto second = host.claimSingleInstance(id);
    EXPECT_FALSE(second->first());
    window.pumpUntilReceived();
    EXPECT_EQ(window.received(), 1);
}

TEST(Win32AppHost, WinsockStartsAtTwoTwoAndCleansUpOnce) {
    win32::Win32AppHost host;
    std::uint16_t reported = 0;
    ASSERT_EQ(host.startWinsock(ports::winsockVersion(2, 2), reported), winerr::Success);
    EXPECT_EQ(reported, 0x0202);
    EXPECT_EQ(host.cleanupWinsock(), winerr::Success);
    EXPECT_EQ(host.cleanupWinsock(), winerr::WsaNotInitialised);
}

TEST(Win32AppHost, PrivilegesAreLookedUpByName) {
    win32::Win32AppHost host;
    const ports::Status st = host.enablePrivilege(L"SeLoadDriverPrivilege");
    // Enabled, or not held by this token at all.
    EXPECT_TRUE(st == winerr::Success || st == ERROR_NOT_ALL_ASSIGNED) << st;
    EXPECT_EQ(host.enablePrivilege(L"SeNoSuchThingPrivilege"), winerr::NoSuchPrivilege);
}

TEST(Win32AppHost, TheFourLibrariesAndTheirEntryPointsAsTheSystemHasThem) {
    win32::Win32AppHost host;
    app::SystemLibraries libs;
    libs.load(host);
    for (auto lib :
         {app::SystemLibrary::WinSpool, app::SystemLibrary::SetupApi, app::SystemLibrary::Cfgmgr32}) {
        ASSERT_TRUE(libs.loaded(lib));
        EXPECT_NE(win32::moduleHandle(*libs.module(lib)), nullptr);
    }
    // Each entry point is available exactly when the library really exports it, a placeholder of
    // Wine's that would end the process not counting.
    for (std::size_t i = 0; i < app::kEntryPointCount; ++i) {
        const auto e = static_cast<app::EntryPoint>(i);
        const std::wstring file(app::SystemLibraries::fileName(app::SystemLibraries::libraryOf(e)));
        HMODULE m = LoadLibraryW(file.c_str());
        const FARPROC entry = m ? GetProcAddress(m, app::SystemLibraries::entryPointName(e)) : nullptr;
        const bool exported = entry && !win32::isWineStub(reinterpret_cast<const void*>(entry));
        if (m)
            FreeLibrary(m);
        EXPECT_EQ(libs.available(e), exported) << app::SystemLibraries::entryPointName(e);
    }
    libs.free();
    EXPECT_FALSE(libs.loaded(app::SystemLibrary::WinSpool));
    ports::Status st = 0;
    EXPECT_EQ(host.loadLibrary(L"no-such-library-orvello.dll", st), nullptr);
    EXPECT_EQ(st, static_cast<ports::Status>(ERROR_MOD_NOT_FOUND));
}

TEST(Win32SystemInfo, SystemMessagesAndTheLastError) {
    win32::Win32SystemInfo sys;
    const std::wstring denied = sys.systemMessage(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty());
    EXPECT_TRUE(denied.ends_with(L"\r\n")) << "kept as the system gives it";
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(app::systemErrorText(sys, app::kLastError), denied);
    EXPECT_EQ(app::errorCodeName(sys, ERROR_ACCESS_DENIED), L"0x5 : " + denied);
    EXPECT_EQ(app::errorCodeName(sys, 0x80004005), L"0x80004005 - E_FAIL");
    EXPECT_EQ(sys.systemMessage(0x2BADF00D), L"");
}

TEST(Win32FileSystem, CreateNewFileNeverReplaces) {
    win32::Win32FileSystem fs;
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring path =
        std::wstring(temp) + L"orvello-new-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    const std::vector<std::uint8_t> first = {0xFF, 0xFE}, second = {'x', 0};
    ASSERT_EQ(fs.createNewFile(path, first), winerr::Success);
    EXPECT_EQ(fs.createNewFile(path, second), winerr::FileExists);
    std::vector<std::uint8_t> out;
    ASSERT_EQ(fs.readFile(path, out), winerr::Success);
    EXPECT_EQ(out, first);
    EXPECT_EQ(fs.deleteFile(path), winerr::Success);
}

} // namespace
