#include "platform/win32/Win32ProfileStore.h"

#include "platform/win32/UniqueHandle.h"

#include <vector>

namespace win32 {

Win32ProfileStore::Win32ProfileStore(std::wstring company, std::wstring application)
    : company_(std::move(company)), application_(std::move(application)) {}

void Win32ProfileStore::setApplicationKey(std::wstring_view company, std::wstring_view application) noexcept {
    company_ = company;
    application_ = application;
}

std::wstring Win32ProfileStore::keyPath(std::wstring_view section) const {
    return L"software\\" + company_ + L"\\" + application_ + L"\\" + std::wstring(section);
}

std::int32_t Win32ProfileStore::readInt(std::wstring_view section, std::wstring_view name,
                                        std::int32_t def) noexcept {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(section).c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS)
        return def;
    DWORD type = 0, value = 0, size = sizeof value;
    const std::wstring n(name);
    if (RegQueryValueExW(key.get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return def;
    return static_cast<std::int32_t>(value);
}

std::wstring Win32ProfileStore::readString(std::wstring_view section, std::wstring_view name,
                                           std::wstring_view def) noexcept {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(section).c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS)
        return std::wstring(def);
    const std::wstring n(name);
    DWORD type = 0, size = 0;
    LSTATUS rc = RegQueryValueExW(key.get(), n.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring(def);
    std::vector<wchar_t> buf;
    do { // the value may grow between the two calls
        buf.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        rc = RegQueryValueExW(key.get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                              &bytes);
        size = bytes;
    } while (rc == ERROR_MORE_DATA);
    if (rc != ERROR_SUCCESS)
        return std::wstring(def);
    std::wstring out(buf.data(), size / sizeof(wchar_t));
    while (!out.empty() && out.back() == L'\0') // stored with or without its terminator
        out.pop_back();
    return out;
}

ports::Status Win32ProfileStore::writeInt(std::wstring_view section, std::wstring_view name,
                                          std::int32_t value) noexcept {
    UniqueRegKey key;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.out(), nullptr);
    if (rc != ERROR_SUCCESS)
        return static_cast<ports::Status>(rc);
    const DWORD v = static_cast<DWORD>(value);
    const std::wstring n(name);
    return static_cast<ports::Status>(
        RegSetValueExW(key.get(), n.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v));
}

ports::Status Win32ProfileStore::writeString(std::wstring_view section, std::wstring_view name,
                                             std::optional<std::wstring_view> text) noexcept {
    UniqueRegKey key;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.out(), nullptr);
    if (rc != ERROR_SUCCESS)
        return static_cast<ports::Status>(rc);
    const std::wstring n(name);
    if (!text) {
        rc = RegDeleteValueW(key.get(), n.c_str());
        return rc == ERROR_FILE_NOT_FOUND ? ports::winerr::Success : static_cast<ports::Status>(rc);
    }
    const std::wstring v(*text);
    return static_cast<ports::Status>(RegSetValueExW(key.get(), n.c_str(), 0, REG_SZ,
                                                     reinterpret_cast<const BYTE*>(v.c_str()),
                                                     static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t))));
}

} // namespace win32
