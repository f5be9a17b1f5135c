#pragma once
// What differs between the 32-bit test executable (the product's width) and the 64-bit one that
// stands in for it where the machine runs no 32-bit programs.
#include <windows.h>

#include <string>

namespace wine_tests {

inline constexpr bool kIs64Bit = sizeof(void*) == 8;

// The device-console tool this build makes beside the tests.
inline constexpr const wchar_t* kNativeDevcon = kIs64Bit ? L"devcon64.exe" : L"devcon32.exe";

// The spooler environment of drivers for a program of this width.
inline constexpr const wchar_t* kDriverEnvironment = kIs64Bit ? L"Windows x64" : L"Windows NT x86";

// build\<preset>\tests\orvello_tests.exe -> build\<preset>\tools\devcon\<kNativeDevcon>
inline std::wstring devconPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    for (int i = 0; i < 2; ++i)
        path.resize(path.rfind(L'\\'));
    return path + L"\\tools\\devcon\\" + kNativeDevcon;
}

} // namespace wine_tests
