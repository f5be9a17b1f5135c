#include "driver/win32/PrinterModel.h"

#include <winspool.h>

#include <memory>
#include <vector>

namespace driver::win32 {
namespace {

// A data file is a few kilobytes; anything larger is not one.
constexpr DWORD kMaxDataFile = 1 << 20;

struct FileCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
struct PrinterCloser {
    void operator()(HANDLE h) const noexcept { ClosePrinter(h); }
};

} // namespace

std::optional<ModelData> modelOfFile(const std::wstring& path) noexcept {
    const HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::unique_ptr<void, FileCloser> file(raw);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxDataFile) {
        SetLastError(ERROR_INVALID_DATA);
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
        return std::nullopt;
    text.resize(read);
    ModelDataResult result = readModelData(text);
    if (!result.data)
        SetLastError(ERROR_INVALID_DATA);
    return std::move(result.data);
}

std::optional<ModelData> modelOfPrinter(HANDLE printer) noexcept {
    DWORD needed = 0;
    (void)GetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_2W))
        return std::nullopt;
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterDriverW(printer, nullptr, 2, buffer.data(), needed, &needed))
        return std::nullopt;
    const auto* info = reinterpret_cast<const DRIVER_INFO_2W*>(buffer.data());
    if (!info->pDataFile) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    return modelOfFile(info->pDataFile);
}

std::optional<ModelData> modelOfPrinterName(const wchar_t* printerName) noexcept {
    HANDLE raw = nullptr;
    if (!printerName || !OpenPrinterW(const_cast<wchar_t*>(printerName), &raw, nullptr))
        return std::nullopt;
    const std::unique_ptr<void, PrinterCloser> printer(raw);
    return modelOfPrinter(printer.get());
}

} // namespace driver::win32
