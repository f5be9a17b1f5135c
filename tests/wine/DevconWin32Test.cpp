// The device-console tool (devcon32.exe, or devcon64.exe in the 64-bit build) on the real Win32 side, run as
// a child process under Wine (or Windows): its usage errors, its INF check and its rescan, whose result is
// what the system's Configuration Manager allows (Wine's CM_Locate_DevNodeW is a stub that fails, so there
// the rescan answers 2).
#include "platform/win32/EntryPoints.h"
#include "platform/win32/UniqueHandle.h"
#include "wine/ThisBuild.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using win32::UniqueKernelHandle;

using wine_tests::devconPath;
using wine_tests::kNativeDevcon;

std::wstring tempFolder() {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, buf);
    std::wstring folder(buf, n);
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

struct Run {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs the tool hidden with its standard output and error in a pipe, as the wizard does.
Run runDevcon(const std::wstring& arguments, const wchar_t* currentFolder = nullptr) {
    Run run;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    UniqueKernelHandle readEnd, writeEnd;
    EXPECT_TRUE(CreatePipe(readEnd.out(), writeEnd.out(), &sa, 0));
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdOutput = si.hStdError = writeEnd.get();
    std::wstring commandLine = L"\"" + devconPath() + L"\"" + arguments;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, currentFolder, &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start the device-console tool: error " << GetLastError();
        return run;
    }
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buf, sizeof buf, &got, nullptr) && got)
        run.output.append(buf, got);
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &run.exitCode);
    return run;
}

TEST(DevconWin32, WrongUsageAnswersThree) {
    for (const auto* args :
         {L"", L" bogus", L" update \"C:\\x.inf\"", L" remove \"ROOT\\X\\0000\"", L" rescan now"}) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto r = runDevcon(args);
        EXPECT_EQ(r.exitCode, 3u);
        EXPECT_EQ(r.output.rfind("Usage:", 0), 0u) << r.output;
    }
}

TEST(DevconWin32, UpdateNeedsAnExistingInfAndMakesItsPathAbsolute) {
    const auto absent = runDevcon(L" /r update \"C:\\no-such-folder\\CorvaneExNew.inf\" \"USBPRINT\\X\"");
    EXPECT_EQ(absent.exitCode, 2u);
    EXPECT_NE(absent.output.find("C:\\no-such-folder\\CorvaneExNew.inf"), std::string::npos) << absent.output;

    // A relative path is taken from the tool's current folder.
    const std::wstring temp = tempFolder();
    const auto relative = runDevcon(L" update orvello-no-such.inf \"USBPRINT\\X\"", temp.c_str());
    EXPECT_EQ(relative.exitCode, 2u);
    const std::string expected(temp.begin(), temp.end()); // the temporary folder's name is ASCII here
    EXPECT_NE(relative.output.find(expected + "\\orvello-no-such.inf"), std::string::npos) << relative.output;
}

TEST(DevconWin32, RescanAnswersWhatTheConfigurationManagerAllows) {
    using Locate = DWORD(WINAPI*)(DWORD*, const wchar_t*, ULONG);
    win32::UniqueModule cfgmgr(LoadLibraryW(L"cfgmgr32.dll"));
    ASSERT_TRUE(cfgmgr);
    const auto locate = win32::entryPoint<Locate>(cfgmgr.get(), "CM_Locate_DevNodeW");
    ASSERT_NE(locate, nullptr);
    DWORD root = 0;
    const bool locatable = locate(&root, nullptr, 0) == 0;

    const auto r = runDevcon(L" rescan");
    EXPECT_EQ(r.exitCode, locatable ? 0u : 2u) << r.output;
    if (!locatable) {
        EXPECT_NE(r.output.find("failed"), std::string::npos) << r.output;
    }
}

} // namespace
