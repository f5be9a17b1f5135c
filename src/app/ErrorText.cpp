#include "app/ErrorText.h"

#include "base/Format.h"

namespace app {

namespace {

struct CodeName {
    std::uint32_t code;
    const wchar_t* name;
};

constexpr CodeName kNames[] = {
    {0x00000000, L"S_OK"},           {0x00000001, L"S_FALSE"},       {0x8000000A, L"E_PENDING"},
    {0x80004001, L"E_NOTIMPL"},      {0x80004002, L"E_NOINTERFACE"}, {0x80004003, L"E_POINTER"},
    {0x80004004, L"E_ABORT"},        {0x80004005, L"E_FAIL"},        {0x8000FFFF, L"E_UNEXPECTED"},
    {0x80070005, L"E_ACCESSDENIED"}, {0x80070006, L"E_HANDLE"},      {0x8007000E, L"E_OUTOFMEMORY"},
    {0x80070057, L"E_INVALIDARG"},
};

} // namespace

std::wstring systemErrorText(ports::SystemInfo& system, std::int64_t code) {
    const std::uint32_t c = code < 0 ? system.lastError() : static_cast<std::uint32_t>(code);
    return system.systemMessage(c);
}

std::wstring errorCodeName(ports::SystemInfo& system, std::uint32_t code) {
    for (const auto& n : kNames) {
        if (n.code == code)
            return text::format(L"0x%x - %s", code, n.name);
    }
    return text::format(L"0x%x : %s", code, systemErrorText(system, code));
}

} // namespace app
