#include "platform/win32/Win32Resources.h"

#include <string>

namespace win32 {

std::optional<std::span<const std::uint8_t>> Win32Resources::find(std::wstring_view type,
                                                                  std::uint16_t id) noexcept {
    HMODULE module = module_ ? module_ : GetModuleHandleW(nullptr);
    const std::wstring t(type);
    HRSRC res = FindResourceExW(module, t.c_str(), MAKEINTRESOURCEW(id),
                                MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    if (!res)
        res = FindResourceW(module, MAKEINTRESOURCEW(id), t.c_str());
    if (!res)
        return std::nullopt;
    HGLOBAL global = LoadResource(module, res); // resources are never freed: valid for the process
    const DWORD size = SizeofResource(module, res);
    const void* data = global ? LockResource(global) : nullptr;
    if (!data) // found but not loadable: the caller reports that apart from "not found"
        return std::span<const std::uint8_t>();
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size);
}

} // namespace win32
