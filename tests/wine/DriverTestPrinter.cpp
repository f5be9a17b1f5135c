#include "DriverTestPrinter.h"

#include "base/Utf.h"

#include <winspool.h>

#include <filesystem>
#include <fstream>

namespace wine_tests {
namespace {

std::string failure(const char* what) {
    return std::string(what) + " failed: " + std::to_string(GetLastError());
}

} // namespace

std::wstring driverDllPath(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    for (int i = 0; i < 2; ++i)
        path.resize(path.rfind(L'\\'));
    return path + L"\\driver\\" + name;
}

driver::ModelData sampleModel() {
    driver::ModelData m;
    m.model = "Orvello Test LP-1";
    m.language = driver::CommandLanguage::Tspl;
    m.dpi = 203;
    m.printableWidth = 5600;
    m.darknessRange = driver::DarknessRange{0, 15};
    m.darkness = 8;
    m.speeds = {2, 3, 4, 5};
    m.speed = 3;
    m.gap = 300;
    m.papers = {{"57mm x 150mm", 5700, 15000}, {"4\" x 6\", wide", 10160, 15240}};
    m.defaultPaper = "57mm x 150mm";
    return m;
}

DriverTestPrinter::DriverTestPrinter(const driver::ModelData& model)
    : DriverTestPrinter(model.model, driver::writeModelData(model)) {}

DriverTestPrinter::DriverTestPrinter(const std::string& driverName, const std::string& dataText)
    : driverName_(text::fromUtf8(driverName)), printerName_(L"Orvello Driver Test " + driverName_) {
    remove();
    // The files go where the installation puts them, the spooler's driver folder, and the driver
    // record names them there.
    wchar_t folder[MAX_PATH];
    DWORD size = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder,
                                    &size)) {
        error_ = failure("GetPrinterDriverDirectoryW");
        return;
    }
    folder_ = folder;
    std::wstring dataFile = driverName_ + L".dat";
    std::ofstream(std::filesystem::path(folder_ + L"\\" + dataFile), std::ios::binary) << dataText;
    std::wstring uiDll = L"CorvaneExUiNew.dll", renderDll = L"CorvaneExUniNew.dll";
    for (const std::wstring& dll : {uiDll, renderDll})
        if (!CopyFileW(driverDllPath(dll.c_str()).c_str(), (folder_ + L"\\" + dll).c_str(), FALSE)) {
            error_ = failure("CopyFileW");
            return;
        }
    std::wstring dataType = L"RAW";
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = driverName_.data();
    info.pDriverPath = renderDll.data();
    info.pConfigFile = uiDll.data();
    info.pDataFile = dataFile.data();
    info.pDefaultDataType = dataType.data();
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&info))) {
        error_ = failure("AddPrinterDriverW");
        return;
    }
    std::wstring port = L"FILE:", processor = L"winprint";
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = printerName_.data();
    printer.pPortName = port.data();
    printer.pDriverName = driverName_.data();
    printer.pPrintProcessor = processor.data();
    printer.pDatatype = dataType.data();
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    handle_ = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!handle_)
        error_ = failure("AddPrinterW");
}

DriverTestPrinter::~DriverTestPrinter() {
    remove();
    if (folder_.empty())
        return;
    for (const std::wstring& file :
         {driverName_ + L".dat", std::wstring(L"CorvaneExUiNew.dll"), std::wstring(L"CorvaneExUniNew.dll")})
        DeleteFileW((folder_ + L"\\" + file).c_str());
}

void DriverTestPrinter::remove() {
    if (handle_) {
        DeletePrinter(handle_);
        ClosePrinter(handle_);
        handle_ = nullptr;
    } else {
        HANDLE old = nullptr;
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterW(printerName_.data(), &old, &all)) {
            DeletePrinter(old);
            ClosePrinter(old);
        }
    }
    DeletePrinterDriverExW(nullptr, nullptr, driverName_.data(), 0, 0);
}

} // namespace wine_tests
