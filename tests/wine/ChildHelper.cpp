#include "ChildHelper.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string_view>
#include <vector>

namespace wine_tests {
namespace {

constexpr std::wstring_view kSwitch = L"--orvello-child=";

[[noreturn]] void writeAndExit(std::size_t bytes, UINT code) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::vector<unsigned char> chunk;
    std::size_t done = 0;
    while (done < bytes) {
        // Odd-sized chunks, so that the reader's 4095-byte reads never line up with the writes.
        chunk.resize(std::min<std::size_t>(bytes - done, 7001));
        for (std::size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = childByte(done + i);
        DWORD written = 0;
        if (!WriteFile(out, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr))
            ExitProcess(250);
        done += written;
    }
    ExitProcess(code);
}

// Runs before main: a child never reaches the test runner.
struct ChildMode {
    ChildMode() {
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        if (!argv)
            return;
        std::wstring mode;
        for (int i = 1; i < argc; ++i) {
            const std::wstring_view a = argv[i];
            if (a.starts_with(kSwitch))
                mode = a.substr(kSwitch.size());
        }
        LocalFree(argv);
        if (mode.empty())
            return;
        const std::size_t first = mode.find(L':'), second = mode.find(L':', first + 1);
        const std::wstring verb = mode.substr(0, first);
        const unsigned long amount = std::wcstoul(mode.c_str() + first + 1, nullptr, 10);
        const UINT code = static_cast<UINT>(std::wcstoul(mode.c_str() + second + 1, nullptr, 10));
        if (verb == L"write")
            writeAndExit(amount, code);
        if (verb == L"sleep") {
            Sleep(amount);
            ExitProcess(code);
        }
        ExitProcess(251);
    }
} childMode;

} // namespace

std::wstring childCommandLine(const std::wstring& mode) {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD n = 0;
    while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) >= path.size() - 1)
        path.resize(path.size() * 2);
    return L"\"" + std::wstring(path.data(), n) + L"\" " + std::wstring(kSwitch) + mode;
}

} // namespace wine_tests
