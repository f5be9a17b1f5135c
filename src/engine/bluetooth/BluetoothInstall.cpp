#include "engine/bluetooth/BluetoothInstall.h"

#include "app/msglog/MessageLog.h"
#include "catalogue/DriverCatalogue.h"
#include "engine/bluetooth/BluetoothPairing.h"
#include "engine/bluetooth/BluetoothSerialPort.h"
#include "engine/install/DriverInstall.h"
#include "engine/install/PrinterQueue.h"

#include <vector>

namespace winerr = ports::winerr;

namespace engine {

namespace {

// Paired by this attempt, or paired before it.
bool paired(ports::Status result, const PrinterEntry& entry) {
    return result == winerr::NoMoreItems || entry.btInfo.authenticated;
}

void reportPairingFailure(const InstallContext& ctx, const std::vector<ports::Status>& results) {
    const auto reason = [&](std::size_t i) { return ctx.app.errorText(results[i]); };
    const auto code = [&](std::size_t i) { return static_cast<int>(results[i]); };
    if (results.size() == 4)
        PrintMessageColor(msglog::kRed,
                          L"Bluetooth authentication error.\r\n Reason1(%d)=%s Reason2(%d)=%s "
                          L"Reason3(%d)=%s Reason4(%d)=%s",
                          code(0), reason(0), code(1), reason(1), code(2), reason(2), code(3), reason(3));
    else // nobody to type a PIN: the policy's three attempts
        PrintMessageColor(msglog::kRed,
                          L"Bluetooth authentication error.\r\n Reason1(%d)=%s Reason2(%d)=%s "
                          L"Reason3(%d)=%s",
                          code(0), reason(0), code(1), reason(1), code(2), reason(2));
}

void tagQueue(const InstallContext& ctx) {
    const auto& chosen = ctx.session.chosen;
    PrinterHandle printer;
    if (!openPrinter(ctx.app, printer, chosen.modelName))
        return;
    (void)SetPrinterDriverValue(ctx.app, printer, L"DeviceType", L"Bluetooth");
    (void)SetPrinterDriverValue(ctx.app, printer, L"BluetoothAddress", chosen.btAddress);
}

} // namespace

bool PairBluetoothPrinter(const InstallContext& ctx) {
    PrinterEntry& chosen = ctx.session.chosen;
    std::vector<ports::Status> results;
    for (std::wstring_view pin : kBluetoothPinPolicy) {
        chosen.btPin = std::wstring(pin);
        const ports::Status result = AuthenticateBluetooth(ctx.app, chosen);
        if (paired(result, chosen))
            return true;
        results.push_back(result);
    }
    if (!ctx.askBluetoothPin) {
        reportPairingFailure(ctx, results);
        return false;
    }
    std::wstring typed(kDefaultBluetoothPin);
    if (!ctx.askBluetoothPin(typed))
        return false;
    std::vector<std::uint8_t> bytes;
    if (!typed.empty() && !BluetoothPinBytes(ctx.app, typed, bytes)) {
        // The system's record holds 15 bytes and the NUL: a longer PIN is never cut short silently.
        PrintMessageColor(msglog::kRed, L"The Bluetooth PIN is too long: at most %d bytes.",
                          static_cast<int>(kBluetoothPinBytes - 1));
        return false;
    }
    chosen.btPin = typed;
    const ports::Status result = AuthenticateBluetooth(ctx.app, chosen);
    if (paired(result, chosen))
        return true;
    results.push_back(result);
    reportPairingFailure(ctx, results);
    return false;
}

bool InstallBluetoothPrinter(const InstallContext& ctx) {
    PrinterEntry& chosen = ctx.session.chosen;
    if (!PairBluetoothPrinter(ctx))
        return false;
    PrintMessageColor(msglog::kBlue, ctx.app.tr(L"蓝牙配对成功."));
    if (!EnableSerialService(ctx.app, chosen))
        return false;
    if (!FindBluetoothComPort(ctx.app, chosen)) {
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"未找到蓝牙设备端口."));
        return false;
    }
    chosen.portName += L':';
    const auto mode = catalogue::DriverManufacturerMode(chosen.driverNode);
    if (!InstallDriverFromPackage(ctx, mode, chosen.modelName) || !AddPrinterQueue(ctx))
        return false;
    tagQueue(ctx);
    return true;
}

} // namespace engine
