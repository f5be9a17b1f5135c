// The device-console tool's commands: argument parsing, exit codes and what each command asks of
// the device tree, against a small device tree double and a simulated machine's disk.
#include "engine/devcon/DeviceConsole.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

namespace winerr = ports::winerr;
namespace cr = ports::cr;
using devcon::Command;
using devcon::Invocation;

// A device tree with a list of nodes, present or not. Only the calls the tool makes are served.
class FakeDeviceTree final : public ports::DeviceTree, public ports::HandleCloser {
public:
    struct Node {
        std::wstring instanceId;
        bool present = true;
    };
    std::vector<Node> nodes;

    // update
    ports::Status updateStatus = winerr::Success;
    bool updateNeedsReboot = false;
    struct UpdateCall {
        std::wstring hardwareId, infPath;
        std::uint32_t flags;
    };
    std::vector<UpdateCall> updates;
    // remove
    ports::Status classDevsStatus = winerr::Success;
    ports::Status removeStatus = winerr::Success;
    bool removeNeedsRestart = false;
    std::uint32_t classDevsFlags = 0;
    std::vector<std::wstring> removed;
    // rescan
    ports::ConfigRet locateResult = cr::Success;
    ports::ConfigRet reenumerateResult = cr::Success;
    std::vector<std::wstring> located;
    std::vector<ports::DevInst> reenumerated;

    void closeHandle(std::uint64_t) noexcept override {}

    ports::Status getClassDevs(const std::optional<ports::Guid>&, std::wstring_view enumerator,
                               std::uint32_t flags, ports::DeviceInfoSet& out) noexcept override {
        classDevsFlags = flags;
        if (classDevsStatus != winerr::Success)
            return classDevsStatus;
        if (!enumerator.empty())
            return winerr::InvalidParameter;
        members_.clear();
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].present || !(flags & ports::digcf::Present))
                members_.push_back(i);
        out = ports::DeviceInfoSet(*this, 1);
        return winerr::Success;
    }
    ports::Status enumDeviceInfo(ports::DeviceInfoSet&, std::uint32_t index,
                                 ports::DeviceInfoData& out) noexcept override {
        if (index >= members_.size())
            return winerr::NoMoreItems;
        out.devInst = static_cast<ports::DevInst>(members_[index] + 100);
        return winerr::Success;
    }
    ports::Status getDeviceInstanceId(ports::DeviceInfoSet&, const ports::DeviceInfoData& device,
                                      std::wstring& out) noexcept override {
        out = nodes.at(device.devInst - 100).instanceId;
        return winerr::Success;
    }
    ports::Status removeDevice(ports::DeviceInfoSet&, const ports::DeviceInfoData& device,
                               bool& restartNeeded) noexcept override {
        if (removeStatus != winerr::Success)
            return removeStatus;
        removed.push_back(nodes.at(device.devInst - 100).instanceId);
        restartNeeded = removeNeedsRestart;
        return winerr::Success;
    }
    ports::Status updateDriverForPlugAndPlayDevices(ports::WindowId, std::wstring_view hardwareId,
                                                    std::wstring_view infPath, std::uint32_t installFlags,
                                                    bool& rebootRequired) noexcept override {
        updates.push_back({std::wstring(hardwareId), std::wstring(infPath), installFlags});
        rebootRequired = updateNeedsReboot;
        return updateStatus;
    }
    ports::ConfigRet locateDevNode(std::wstring_view instanceId, std::uint32_t,
                                   ports::DevInst& out) noexcept override {
        located.emplace_back(instanceId);
        out = 1;
        return locateResult;
    }
    ports::ConfigRet reenumerateDevNode(ports::DevInst node, std::uint32_t) noexcept override {
        reenumerated.push_back(node);
        return reenumerateResult;
    }

    // Not used by the tool.
    ports::Status enumDeviceInterfaces(ports::DeviceInfoSet&, const ports::Guid&, std::uint32_t,
                                       ports::DeviceInterfaceData&) noexcept override {
        return kNo;
    }
    ports::Status getDeviceInterfaceDetail(ports::DeviceInfoSet&, const ports::DeviceInterfaceData&,
                                           std::wstring&, ports::DeviceInfoData&) noexcept override {
        return kNo;
    }
    ports::Status getDeviceRegistryProperty(ports::DeviceInfoSet&, const ports::DeviceInfoData&,
                                            std::uint32_t, ports::RegValue&) noexcept override {
        return kNo;
    }
    ports::Status readDeviceRegistryValue(ports::DeviceInfoSet&, const ports::DeviceInfoData&, std::uint32_t,
                                          std::uint32_t, std::wstring_view,
                                          ports::RegValue&) noexcept override {
        return kNo;
    }
    ports::ConfigRet getParent(ports::DevInst, ports::DevInst&) noexcept override { return kNoCr; }
    ports::ConfigRet getChild(ports::DevInst, ports::DevInst&) noexcept override { return kNoCr; }
    ports::ConfigRet getSibling(ports::DevInst, ports::DevInst&) noexcept override { return kNoCr; }
    ports::ConfigRet getDeviceId(ports::DevInst, std::wstring&) noexcept override { return kNoCr; }
    ports::ConfigRet getDevNodeStatus(ports::DevInst, std::uint32_t&, std::uint32_t&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet getDevNodeRegistryProperty(ports::DevInst, std::uint32_t,
                                                ports::RegValue&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet getClassRegistryProperty(const ports::Guid&, std::uint32_t,
                                              ports::RegValue&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet getDeviceIdList(std::wstring_view, std::uint32_t,
                                     std::vector<std::wstring>&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet getDeviceInterfaceList(const ports::Guid&, std::wstring_view, std::uint32_t,
                                            std::vector<std::wstring>&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet enumerateEnumerators(std::uint32_t, std::wstring&) noexcept override { return kNoCr; }
    ports::ConfigRet enumerateClasses(std::uint32_t, std::uint32_t, ports::Guid&) noexcept override {
        return kNoCr;
    }
    bool devNodePropertiesAvailable() noexcept override { return false; }
    bool classPropertiesAvailable() noexcept override { return false; }
    bool interfacePropertiesAvailable() noexcept override { return false; }
    ports::ConfigRet getDevNodeProperty(ports::DevInst, const ports::DevPropKey&,
                                        ports::DevProperty&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet getClassProperty(const ports::Guid&, const ports::DevPropKey&,
                                      ports::DevProperty&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet getDeviceInterfaceProperty(std::wstring_view, const ports::DevPropKey&,
                                                ports::DevProperty&) noexcept override {
        return kNoCr;
    }
    ports::ConfigRet describe(ports::DevInst, ports::DevNode&) noexcept override { return kNoCr; }
    ports::Status queryUsbPrinterName(std::wstring_view, const ports::UsbNameQuery&,
                                      std::vector<std::uint8_t>&) noexcept override {
        return kNo;
    }

private:
    static constexpr ports::Status kNo = winerr::CallNotImplemented;
    static constexpr ports::ConfigRet kNoCr = cr::CallNotImplemented;
    std::vector<std::size_t> members_;
};

std::vector<std::wstring> words(std::initializer_list<const wchar_t*> list) {
    return {list.begin(), list.end()};
}

TEST(DevconArguments, AcceptedForms) {
    struct Case {
        std::vector<std::wstring> args;
        Invocation expected;
    };
    const Case cases[] = {
        {words({L"/r", L"update", L"C:\\drv\\CorvaneExNew.inf", L"USBPRINT\\CorvaneExCX-420T6B1F"}),
         {Command::Update, true, L"C:\\drv\\CorvaneExNew.inf", L"USBPRINT\\CorvaneExCX-420T6B1F", L""}},
        {words({L"update", L"x.inf", L"HWID"}), {Command::Update, false, L"x.inf", L"HWID", L""}},
        {words({L"-R", L"UPDATE", L"x.inf", L"HWID"}), {Command::Update, true, L"x.inf", L"HWID", L""}},
        {words({L"/r", L"remove", L"@USB\\VID_2E3C&PID_0101\\5&2F3A1C&0&1"}),
         {Command::Remove, true, L"", L"", L"USB\\VID_2E3C&PID_0101\\5&2F3A1C&0&1"}},
        {words({L"rescan"}), {Command::Rescan, false, L"", L"", L""}},
        {words({L"/r", L"/r", L"Rescan"}), {Command::Rescan, true, L"", L"", L""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args.size()));
        const auto got = devcon::parseArguments(c.args);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, c.expected);
    }
}

TEST(DevconArguments, WrongUsageIsRefused) {
    const std::vector<std::wstring> cases[] = {
        {},
        words({L"/r"}),
        words({L"install", L"x.inf", L"HWID"}),
        words({L"update", L"x.inf"}),
        words({L"update", L"x.inf", L"HWID", L"more"}),
        words({L"update", L"", L"HWID"}),
        words({L"remove"}),
        words({L"remove", L"USB\\VID_2E3C&PID_0101\\5&2F3A1C&0&1"}), // the "@" is required
        words({L"remove", L"@"}),
        words({L"remove", L"@A", L"@B"}),
        words({L"rescan", L"now"}),
        words({L"/x", L"rescan"}),
        words({L"rescan", L"/r"}),
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size());
        EXPECT_FALSE(devcon::parseArguments(args).has_value());
    }
}

class Devcon : public ::testing::Test {
protected:
    int run(std::initializer_list<const wchar_t*> args) {
        const auto list = words(args);
        return devcon::runDeviceConsole(list, env);
    }
    void writeFile(std::wstring_view path) {
        auto& files = machine.platform().files();
        ASSERT_EQ(files.createDirectories(path.substr(0, path.rfind(L'\\'))), winerr::Success);
        const std::vector<std::uint8_t> bytes{'[', 'V', 'e', 'r', 's', 'i', 'o', 'n', ']'};
        ASSERT_EQ(files.writeFile(path, bytes), winerr::Success);
    }

    testing_support::TestMachine machine;
    FakeDeviceTree tree;
    std::vector<std::wstring> lines;
    devcon::ToolEnvironment env{tree, machine.platform().files(),
                                [](std::wstring_view p) {
                                    return devcon::absoluteWindowsPath(
                                        p, L"C:\\Program Files\\LabelPrinterDriver");
                                },
                                [this](std::wstring_view line) { lines.emplace_back(line); }};
};

TEST_F(Devcon, WrongUsageAnswersThreeAndShowsTheUsage) {
    EXPECT_EQ(run({L"remove", L"USB\\VID_1"}), devcon::kExitUsage);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.front().starts_with(L"Usage:"));
    EXPECT_TRUE(tree.updates.empty());
    EXPECT_TRUE(tree.removed.empty());
}

TEST_F(Devcon, UpdateInstallsFromTheAbsoluteInfPathWithForce) {
    writeFile(L"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf");
    EXPECT_EQ(run({L"/r", L"update", L"CorvaneExNew.inf", L"USBPRINT\\CorvaneExCX-420T6B1F"}),
              devcon::kExitDone);
    ASSERT_EQ(tree.updates.size(), 1u);
    EXPECT_EQ(tree.updates[0].infPath, L"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf");
    EXPECT_EQ(tree.updates[0].hardwareId, L"USBPRINT\\CorvaneExCX-420T6B1F");
    EXPECT_EQ(tree.updates[0].flags, ports::InstallFlagForce);
}

TEST_F(Devcon, UpdateExitCodes) {
    writeFile(L"C:\\drv\\CorvaneExNew.inf");
    struct Case {
        const char* name;
        ports::Status status;
        bool reboot;
        int exitCode;
    };
    const Case cases[] = {
        {"installed", winerr::Success, false, devcon::kExitDone},
        {"installed, restart needed", winerr::Success, true, devcon::kExitRestartNeeded},
        {"no present device with the ID", winerr::NoSuchDevinst, false, devcon::kExitFailed},
        {"refused", winerr::AccessDenied, false, devcon::kExitFailed},
        {"not implemented", winerr::CallNotImplemented, false, devcon::kExitFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tree.updateStatus = c.status;
        tree.updateNeedsReboot = c.reboot;
        EXPECT_EQ(run({L"/r", L"update", L"C:\\drv\\CorvaneExNew.inf", L"USBPRINT\\X"}), c.exitCode);
    }
}

TEST_F(Devcon, UpdateWithAMissingInfFailsWithoutTouchingTheDevices) {
    writeFile(L"C:\\drv\\CorvaneExNew.inf");
    EXPECT_EQ(run({L"update", L"C:\\drv\\Other.inf", L"USBPRINT\\X"}), devcon::kExitFailed);
    EXPECT_EQ(run({L"update", L"C:\\drv", L"USBPRINT\\X"}), devcon::kExitFailed); // a folder is no INF
    EXPECT_TRUE(tree.updates.empty());
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find(L"C:\\drv\\Other.inf"), std::wstring::npos);
}

TEST_F(Devcon, RemoveTakesOutExactlyThatNodePresentOrNot) {
    tree.nodes = {{L"USB\\VID_2E3C&PID_0101\\5&2F3A1C&0&1", true},
                  {L"USBPRINT\\CORVANEEXCX-420T\\6&1B2C&0&USB001", false},
                  {L"USBPRINT\\CORVANEEXCX-420T\\6&1B2C&0&USB0012", false}};
    EXPECT_EQ(run({L"/r", L"remove", L"@usbprint\\CorvaneExCX-420T\\6&1B2C&0&USB001"}), devcon::kExitDone);
    EXPECT_EQ(tree.removed, std::vector<std::wstring>{L"USBPRINT\\CORVANEEXCX-420T\\6&1B2C&0&USB001"});
    EXPECT_EQ(tree.classDevsFlags & ports::digcf::Present, 0u); // non-present nodes are listed too
    EXPECT_EQ(tree.classDevsFlags & ports::digcf::AllClasses, ports::digcf::AllClasses);
}

TEST_F(Devcon, RemoveExitCodes) {
    struct Case {
        const char* name;
        const wchar_t* id;
        ports::Status classDevs;
        ports::Status remove;
        bool restart;
        int exitCode;
    };
    const Case cases[] = {
        {"removed", L"@ROOT\\A\\0000", winerr::Success, winerr::Success, false, devcon::kExitDone},
        {"removed, restart needed", L"@ROOT\\A\\0000", winerr::Success, winerr::Success, true,
         devcon::kExitRestartNeeded},
        {"removal refused", L"@ROOT\\A\\0000", winerr::Success, winerr::AccessDenied, false,
         devcon::kExitFailed},
        {"device list unavailable", L"@ROOT\\A\\0000", winerr::AccessDenied, winerr::Success, false,
         devcon::kExitFailed},
        {"no such node: nothing to do", L"@ROOT\\B\\0000", winerr::Success, winerr::Success, false,
         devcon::kExitDone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tree.nodes = {{L"ROOT\\A\\0000", true}};
        tree.removed.clear();
        tree.classDevsStatus = c.classDevs;
        tree.removeStatus = c.remove;
        tree.removeNeedsRestart = c.restart;
        EXPECT_EQ(run({L"/r", L"remove", c.id}), c.exitCode);
    }
}

TEST_F(Devcon, RescanReenumeratesTheRoot) {
    EXPECT_EQ(run({L"rescan"}), devcon::kExitDone);
    EXPECT_EQ(tree.located, std::vector<std::wstring>{L""});
    EXPECT_EQ(tree.reenumerated, std::vector<ports::DevInst>{1});

    // As under Wine, whose Configuration Manager calls are stubs.
    tree.locateResult = cr::Failure;
    EXPECT_EQ(run({L"rescan"}), devcon::kExitFailed);
    tree.locateResult = cr::Success;
    tree.reenumerateResult = cr::AccessDenied;
    EXPECT_EQ(run({L"rescan"}), devcon::kExitFailed);
}

TEST(DevconPaths, AbsoluteWindowsPathAsGetFullPathNameMakesIt) {
    struct Case {
        const wchar_t* path;
        const wchar_t* current;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\drv\\a.inf", L"D:\\x", L"C:\\drv\\a.inf"},
        {L"a.inf", L"C:\\Program Files\\LabelPrinterDriver", L"C:\\Program Files\\LabelPrinterDriver\\a.inf"},
        {L"a.inf", L"C:\\Program Files\\LabelPrinterDriver\\",
         L"C:\\Program Files\\LabelPrinterDriver\\a.inf"},
        {L"..\\drv\\.\\a.inf", L"C:\\Program Files\\x", L"C:\\Program Files\\drv\\a.inf"},
        {L"..\\..\\..\\a.inf", L"C:\\x", L"C:\\a.inf"},
        {L"\\drv\\a.inf", L"D:\\x\\y", L"D:\\drv\\a.inf"},
        {L"C:/drv//a.inf", L"D:\\", L"C:\\drv\\a.inf"},
        {L"c:a.inf", L"C:\\x", L"C:\\x\\a.inf"},
        {L"E:a.inf", L"C:\\x", L"E:\\a.inf"},
        {L"\\\\server\\share\\drv\\..\\a.inf", L"C:\\", L"\\\\server\\share\\a.inf"},
        {L"\\\\?\\C:\\drv\\..\\a.inf", L"C:\\", L"\\\\?\\C:\\drv\\..\\a.inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(devcon::absoluteWindowsPath(c.path, c.current), c.expected)
            << testing::PrintToString(c.path);
}

} // namespace
