#pragma once
// A printer queue on Wine's spooler that uses this build's driver DLLs and a model data file
// written by the test, for the tests that call the driver's entry points as the spooler would.
#include "driver/core/ModelData.h"

#include <windows.h>

#include <string>

namespace wine_tests {

// build\<preset>\tests\orvello_tests.exe -> build\<preset>\driver\<name>
std::wstring driverDllPath(const wchar_t* name);

// A label printer model with two papers (the second the default is not), darkness and speeds.
driver::ModelData sampleModel();

class DriverTestPrinter {
public:
    // Writes `model`'s data file and copies this build's driver DLLs into the spooler's driver
    // folder, adds the driver and a queue on FILE:. ok() says whether that worked and, when not,
    // error() why. The destructor removes all of it.
    explicit DriverTestPrinter(const driver::ModelData& model);
    // The same with a data file of the given text, for a driver called `driverName`.
    DriverTestPrinter(const std::string& driverName, const std::string& dataText);
    ~DriverTestPrinter();
    DriverTestPrinter(const DriverTestPrinter&) = delete;
    DriverTestPrinter& operator=(const DriverTestPrinter&) = delete;

    bool ok() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }
    HANDLE handle() const { return handle_; }
    const wchar_t* name() const { return printerName_.c_str(); }

private:
    void remove();

    std::wstring folder_;
    std::wstring driverName_;
    std::wstring printerName_;
    HANDLE handle_ = nullptr;
    std::string error_;
};

} // namespace wine_tests
