// The queue of an installation on the simulated spooler: its record, the name it is known by
// afterwards, the failures the spooler gives, the rename of a system-made queue and the default.
#include "engine/install/PrinterQueue.h"
#include "unit/engine/InstallFixture.h"

namespace {

using namespace engine;

using msglog::LogMessage;
namespace winerr = ports::winerr;

constexpr std::wstring_view kAddFailed = L"添加打印机: %s. 失败. 错误码: %d. 错误描述: %s.";

class PrinterQueue : public engine_test::InstallFixture {
protected:
    PrinterQueue() {
        addChosenDriver();
        addTcpIpPort("IP_192.168.1.200");
        session.chosen.portName = L"IP_192.168.1.200";
    }
};

TEST_F(PrinterQueue, NewQueueCarriesTheChosenNamePortModelAndInheritedComment) {
    ASSERT_TRUE(AddPrinterQueue(ctx));
    const auto p = printer(L"JN-2264T (shop)");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->portName, L"IP_192.168.1.200");
    EXPECT_EQ(p->driverName, L"JN-2264T");
    const auto comment = catalogue::DriverComment(session.chosen.driverNode);
    EXPECT_EQ(comment, L"热敏标签打印机"); // the model has none of its own: it comes from its parent
    EXPECT_EQ(p->comment, comment);
    EXPECT_EQ(p->location, std::wstring());
    EXPECT_EQ(p->printProcessor, L"WinPrint");
    EXPECT_EQ(p->datatype, L"RAW");
    EXPECT_FALSE(p->shareName);
    EXPECT_FALSE(p->devMode && p->devMode->raw.empty());
    EXPECT_EQ(session.chosen.modelName, L"JN-2264T (shop)");
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{{L"添加打印机成功: JN-2264T (shop). ", msglog::kBlue}}));

    const auto record = NewQueueRecord(ctx);
    EXPECT_EQ(record.attributes, 0x40u);
    EXPECT_FALSE(record.serverName);
    EXPECT_FALSE(record.sepFile);
    EXPECT_FALSE(record.parameters);
    EXPECT_FALSE(record.devMode);
    EXPECT_TRUE(record.securityDescriptor.empty());
    EXPECT_EQ(record.priority + record.defaultPriority + record.startTime + record.untilTime, 0u);
}

TEST_F(PrinterQueue, RefusedQueueIsReportedWithTheSpoolersReasonAndKeepsTheModelName) {
    struct Case {
        const char* what;
        std::wstring printerName;
        std::wstring portName;
        std::string fault;
        std::uint32_t code;
    };
    const std::vector<Case> cases = {
        {"name in use", L"Microsoft Print to PDF", L"IP_192.168.1.200", "", winerr::PrinterAlreadyExists},
        {"empty name", L"", L"IP_192.168.1.200", "", winerr::InvalidPrinterName},
        {"name with a backslash", L"shop\\label", L"IP_192.168.1.200", "", winerr::InvalidPrinterName},
        {"no such port", L"JN-2264T (shop)", L"IP_10.9.9.9", "", winerr::UnknownPort},
        {"spooler not running", L"JN-2264T (shop)", L"IP_192.168.1.200", "AddPrinterW",
         winerr::RpcServerUnavailable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        session.chosen.modelName = L"JN-2264T";
        session.chosen.printerName = c.printerName;
        session.chosen.portName = c.portName;
        if (!c.fault.empty())
            failNext(c.fault, c.code);
        EXPECT_FALSE(AddPrinterQueue(ctx));
        EXPECT_EQ(session.chosen.modelName, L"JN-2264T");
        EXPECT_EQ(log.messages(),
                  (std::vector<LogMessage>{{failure(kAddFailed, c.printerName, c.code), msglog::kRed}}));
        EXPECT_FALSE(errorText(c.code).empty());
    }
}

TEST_F(PrinterQueue, DriverValuesAreStoredWithoutTheTerminatingNul) {
    ASSERT_TRUE(AddPrinterQueue(ctx));
    PrinterHandle h;
    ASSERT_TRUE(openPrinter(app, h, L"JN-2264T (shop)"));
    EXPECT_TRUE(SetPrinterDriverValue(app, h, L"DeviceType", L"Bluetooth"));
    ports::RegValue value;
    ASSERT_EQ(machine.platform().spooler().getPrinterData(h, kPrinterDriverDataKey, L"DeviceType", value),
              0u);
    EXPECT_EQ(value.type, ports::regtype::Sz);
    EXPECT_EQ(value.bytes, ports::utf16leBytes(L"Bluetooth"));
    EXPECT_EQ(value.bytes.size(), 18u);

    failNext("SetPrinterDataExW", winerr::AccessDenied);
    EXPECT_FALSE(SetPrinterDriverValue(app, h, L"BluetoothAddress", L"00112233AABB"));
}

// A USB installation: the print system made the queue under the model's name.
class FinishedQueue : public PrinterQueue {
protected:
    FinishedQueue() {
        session.chosen.printerName = L"JN-2264T";
        EXPECT_TRUE(AddPrinterQueue(ctx));
        session.chosen.printerName = L"Counter label printer";
        log.clear();
    }
};

TEST_F(FinishedQueue, SystemMadeQueueIsRenamedAndMadeDefault) {
    FinishInstalledPrinter(ctx, true);
    EXPECT_FALSE(printer(L"JN-2264T"));
    EXPECT_TRUE(printer(L"Counter label printer"));
    std::wstring defaultPrinter;
    ASSERT_EQ(machine.platform().spooler().getDefaultPrinter(defaultPrinter), 0u);
    EXPECT_EQ(defaultPrinter, L"Counter label printer");
    EXPECT_EQ(log.messages(), (std::vector<LogMessage>{{L"已设置为默认打印机.", msglog::kBlue}}));
}

TEST_F(FinishedQueue, WithoutTheDefaultFlagNothingIsReported) {
    FinishInstalledPrinter(ctx, false);
    EXPECT_TRUE(printer(L"Counter label printer"));
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(FinishedQueue, FailedDefaultIsRedAndTheRenameStays) {
    failNext("SetDefaultPrinterW", winerr::AccessDenied);
    FinishInstalledPrinter(ctx, true);
    EXPECT_TRUE(printer(L"Counter label printer"));
    EXPECT_EQ(log.messages(), (std::vector<LogMessage>{{L"设置默认打印机失败.", msglog::kRed}}));
}

TEST_F(FinishedQueue, QueueWithTheChosenNameIsNotWrittenAgain) {
    session.chosen.printerName = L"JN-2264T";
    failNext("SetPrinterW", winerr::AccessDenied);
    FinishInstalledPrinter(ctx, false);
    EXPECT_EQ(faultsLeft(), 1u); // SetPrinterW was never called
    EXPECT_TRUE(printer(L"JN-2264T"));
}

TEST_F(FinishedQueue, QueueThatCannotBeOpenedIsLeftAloneSilently) {
    failNext("OpenPrinterW", winerr::AccessDenied, 2);
    FinishInstalledPrinter(ctx, true);
    EXPECT_TRUE(printer(L"JN-2264T"));
    EXPECT_TRUE(log.messages().empty());
    const auto& debug = machine.platform().simSystem().debugLines();
    ASSERT_FALSE(debug.empty());
    EXPECT_EQ(debug.back(), L"OpenPrinter(JN-2264T) error = 5, " + errorText(5));
}

TEST_F(FinishedQueue, RenameFailureIsNotReportedAndLeavesTheSystemsName) {
    failNext("SetPrinterW", winerr::AccessDenied);
    FinishInstalledPrinter(ctx, false);
    EXPECT_TRUE(printer(L"JN-2264T"));
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(FinishedQueue, PrinterOpensWithUseAccessWhenAdministeringIsRefused) {
    failNext("OpenPrinterW", winerr::AccessDenied, 1);
    PrinterHandle h;
    EXPECT_TRUE(openPrinter(app, h, L"JN-2264T"));
    ports::PrinterInfo2 info;
    EXPECT_TRUE(getPrinterInfo2(app, h, info));
    EXPECT_EQ(info.printerName, L"JN-2264T");
}

} // namespace
