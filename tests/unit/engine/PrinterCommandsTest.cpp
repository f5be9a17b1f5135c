// The end page's printer commands on the simulated machine: what reaches the spooler and the shell,
// and that a printer which cannot be opened makes each do nothing.
#include "engine/BackgroundCommands.h"
#include "engine/install/PrinterQueue.h"
#include "engine/printers/PrinterCommands.h"
#include "unit/engine/InstallFixture.h"

namespace {

namespace winerr = ports::winerr;

class PrinterCommands : public engine_test::InstallFixture {
protected:
    PrinterCommands() {
        addChosenDriver();
        session.chosen.portName = L"LPT1:";
        EXPECT_TRUE(engine::AddPrinterQueue(ctx));
        log.clear();
    }
    sim::Json shellCommands() {
        sim::Json out = sim::Json::array();
        machine.machine().read([&](const sim::Json& s) {
            if (s.contains("printerCommands"))
                out = s["printerCommands"];
        });
        return out;
    }
    std::vector<std::wstring> debugLines() { return machine.platform().simSystem().debugLines(); }
};

TEST_F(PrinterCommands, PropertiesGoToTheShellWithTheComputersPrinterPath) {
    machine.machine().write([](sim::Json& s) { s["system"]["computerName"] = "COUNTER-7"; });
    showPrinterProperties(app, 0x1234, L"JN-2264T (shop)");
    const auto commands = shellCommands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0]["action"], 1);
    EXPECT_EQ(commands[0]["printer"], "\\\\COUNTER-7\\JN-2264T (shop)");

    showPrinterProperties(app, 0x1234, L"No such printer");
    EXPECT_EQ(shellCommands().size(), 1u);
}

TEST_F(PrinterCommands, PreferencesAreStoredOnlyWhenTheDialogSaysOk) {
    // A failing SetPrinterW shows whether the settings were written, on the debugger output.
    failNext("SetPrinterW", winerr::AccessDenied);
    machine.machine().write([](sim::Json& s) { s["spooler"]["devModeDialog"] = "cancel"; });
    showPrintingPreferences(app, 0, L"JN-2264T (shop)");
    EXPECT_EQ(faultsLeft(), 1u);

    machine.machine().write([](sim::Json& s) { s["spooler"]["devModeDialog"] = "ok"; });
    showPrintingPreferences(app, 0, L"JN-2264T (shop)");
    EXPECT_EQ(faultsLeft(), 0u);
    const auto lines = debugLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), L"SetPrinter level = 2, error = 5, " + errorText(5));
}

TEST_F(PrinterCommands, TestPageRunsPrintUiInTheBackground) {
    app.debugMode = 1;
    BackgroundCommands commands(std::chrono::milliseconds(2000));
    printTestPage(app, commands, L"JN-2264T (shop)");
    printTestPage(app, commands, L"No such printer");
    commands.stop();
    const auto messages = log.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0].text, L"rundll32 printui.dll,PrintUIEntry /k /q /n \"JN-2264T (shop)\"");
    for (const auto& m : messages)
        EXPECT_EQ(m.text.find(L"No such printer"), std::wstring::npos);
}

} // namespace
