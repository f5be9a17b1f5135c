// The real device port against the device tree Wine offers: SetupAPI and the Configuration
// Manager must tell the same story about every node, interface details must come out whole, a
// node is removed through the class installer, and the optional functions read as not available.
#include "platform/win32/Win32DeviceTree.h"

#include "base/Utf.h"
#include "platform/win32/EntryPoints.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <algorithm>

namespace {
namespace winerr = ports::winerr;
namespace cr = ports::cr;
namespace digcf = ports::digcf;
using ports::Status;

// GUID_DEVINTERFACE_HID {4D1E55B2-F16F-11CF-88CB-001111000030}: Wine's own HID devices expose it.
constexpr ports::Guid kHidInterface{
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
// DEVPKEY_Device_InstanceId {78C34FC8-104A-4ACA-9EA4-524D52996E57}, 256.
constexpr ports::DevPropKey kInstanceIdKey{
    {0x78C34FC8, 0x104A, 0x4ACA, {0x9E, 0xA4, 0x52, 0x4D, 0x52, 0x99, 0x6E, 0x57}}, 256};

struct Member {
    ports::DeviceInfoData data;
    std::wstring id;
};

std::vector<Member> members(win32::Win32DeviceTree& tree, ports::DeviceInfoSet& set) {
    std::vector<Member> out;
    for (std::uint32_t i = 0;; ++i) {
        Member m;
        const Status s = tree.enumDeviceInfo(set, i, m.data);
        if (s == ERROR_NO_MORE_ITEMS)
            break;
        EXPECT_EQ(s, winerr::Success);
        if (s != winerr::Success)
            break;
        EXPECT_EQ(tree.getDeviceInstanceId(set, m.data, m.id), winerr::Success);
        out.push_back(std::move(m));
    }
    return out;
}

// Every node of the tree, with the set it came from (Wine hands out DEVINSTs only while a set
// holds the node).
class Win32DeviceNodes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(tree.getClassDevs(std::nullopt, L"", digcf::AllClasses, set), winerr::Success);
        all = members(tree, set);
        if (all.empty())
            GTEST_SKIP() << "this machine has no device nodes";
    }
    win32::Win32DeviceTree tree;
    ports::DeviceInfoSet set;
    std::vector<Member> all;
};

TEST_F(Win32DeviceNodes, SetupApiAndTheConfigurationManagerGiveTheSameInstanceIds) {
    for (const Member& m : all) {
        SCOPED_TRACE(text::toUtf8(m.id));
        std::wstring cmId;
        ASSERT_EQ(tree.getDeviceId(m.data.devInst, cmId), cr::Success);
        EXPECT_EQ(cmId, m.id);
        ports::DevNode node;
        ASSERT_EQ(tree.describe(m.data.devInst, node), cr::Success);
        EXPECT_EQ(node.instanceId, m.id);
        EXPECT_EQ(node.devInst, m.data.devInst);
    }
}

TEST_F(Win32DeviceNodes, RegistryPropertiesAgreeBetweenSetupApiAndTheConfigurationManager) {
    for (const Member& m : all) {
        SCOPED_TRACE(text::toUtf8(m.id));
        ports::RegValue viaSetupApi, viaCm;
        const Status a = tree.getDeviceRegistryProperty(set, m.data, ports::spdrp::HardwareId, viaSetupApi);
        const ports::ConfigRet b =
            tree.getDevNodeRegistryProperty(m.data.devInst, ports::cmDrp(ports::spdrp::HardwareId), viaCm);
        if (a == winerr::Success && b == cr::Failure && win32::runningOnWine())
            GTEST_SKIP() << "Wine does not implement CM_Get_DevNode_Registry_PropertyW";
        ASSERT_EQ(a == winerr::Success, b == cr::Success) << a << " " << b;
        if (a != winerr::Success)
            continue;
        EXPECT_EQ(viaSetupApi.type, ports::regtype::MultiSz);
        EXPECT_EQ(viaSetupApi.bytes, viaCm.bytes);
        ports::DevNode node;
        ASSERT_EQ(tree.describe(m.data.devInst, node), cr::Success);
        EXPECT_EQ(node.hardwareIds, viaSetupApi.asMultiString());
    }
}

TEST_F(Win32DeviceNodes, TheDeviceIdListHoldsEveryNode) {
    std::vector<std::wstring> listed;
    ASSERT_EQ(tree.getDeviceIdList(L"", 0, listed), cr::Success);
    if (listed.empty() && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement CM_Get_Device_ID_ListW (it lists no device)";
    for (const Member& m : all)
        EXPECT_NE(std::find(listed.begin(), listed.end(), m.id), listed.end()) << text::toUtf8(m.id);
}

TEST_F(Win32DeviceNodes, TheUnifiedInstanceIdPropertyIsTheInstanceId) {
    if (!tree.devNodePropertiesAvailable())
        GTEST_SKIP() << "CM_Get_DevNode_PropertyW is not available";
    for (const Member& m : all) {
        SCOPED_TRACE(text::toUtf8(m.id));
        ports::DevProperty id;
        const ports::ConfigRet r = tree.getDevNodeProperty(m.data.devInst, kInstanceIdKey, id);
        if (r == cr::NoSuchValue && win32::runningOnWine())
            GTEST_SKIP() << "Wine does not implement DEVPKEY_Device_InstanceId in CM_Get_DevNode_PropertyW";
        ASSERT_EQ(r, cr::Success);
        EXPECT_EQ(id.type, ports::devprop::String);
        EXPECT_EQ(ports::textFromUtf16le(id.bytes), m.id);
    }
}

TEST(Win32DeviceTree, InterfaceDetailsGiveThePathAndTheDeviceBehindIt) {
    win32::Win32DeviceTree tree;
    ports::DeviceInfoSet set;
    ASSERT_EQ(tree.getClassDevs(kHidInterface, L"", digcf::Present | digcf::DeviceInterface, set),
              winerr::Success);
    std::uint32_t found = 0;
    for (std::uint32_t i = 0;; ++i) {
        ports::DeviceInterfaceData iface;
        const Status s = tree.enumDeviceInterfaces(set, kHidInterface, i, iface);
        if (s == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(s, winerr::Success);
        EXPECT_EQ(iface.interfaceClassGuid, kHidInterface);
        std::wstring path;
        ports::DeviceInfoData device;
        ASSERT_EQ(tree.getDeviceInterfaceDetail(set, iface, path, device), winerr::Success);
        EXPECT_TRUE(path.starts_with(L"\\\\?\\")) << text::toUtf8(path);
        std::wstring id;
        ASSERT_EQ(tree.getDeviceInstanceId(set, device, id), winerr::Success);
        EXPECT_FALSE(id.empty());
        ++found;
    }
    if (found == 0)
        GTEST_SKIP() << "this machine has no HID interfaces";
}

TEST(Win32DeviceTree, UnknownMembersTokensAndForeignSetsAreRefused) {
    win32::Win32DeviceTree tree, other;
    ports::DeviceInfoSet set;
    ASSERT_EQ(tree.getClassDevs(std::nullopt, L"", digcf::AllClasses, set), winerr::Success);
    std::wstring id;
    ports::DeviceInfoData nowhere{{}, 0x7FFF0000};
    EXPECT_EQ(tree.getDeviceInstanceId(set, nowhere, id), static_cast<Status>(ERROR_NO_SUCH_DEVINST));
    ports::DeviceInterfaceData made{kHidInterface, 0, 42};
    ports::DeviceInfoData device;
    EXPECT_EQ(tree.getDeviceInterfaceDetail(set, made, id, device),
              static_cast<Status>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(other.enumDeviceInfo(set, 0, device), static_cast<Status>(ERROR_INVALID_HANDLE));
    ports::DeviceInfoSet none;
    EXPECT_EQ(tree.enumDeviceInfo(none, 0, device), static_cast<Status>(ERROR_INVALID_HANDLE));
}

// A root-enumerated node made for the test, then removed through the port as the device-console
// tool removes a stale USB printer.
TEST(Win32DeviceTree, ANodeIsRemovedThroughTheClassInstaller) {
    // A class of its own, so that no class installer of the system takes part.
    static const GUID kTestClass = {
        0x6F1E2C3A, 0x0B5D, 0x4E41, {0x9A, 0x2B, 0x4F, 0x52, 0x56, 0x45, 0x4C, 0x4F}};
    win32::Win32DeviceTree tree;
    {
        // Nodes an interrupted run left behind.
        ports::DeviceInfoSet set;
        ASSERT_EQ(tree.getClassDevs(std::nullopt, L"ROOT", digcf::AllClasses, set), winerr::Success);
        for (const Member& m : members(tree, set)) {
            bool restart = false;
            if (m.id.starts_with(L"ROOT\\ORVELLOWINETEST\\")) {
                EXPECT_EQ(tree.removeDevice(set, m.data, restart), winerr::Success);
            }
        }
    }
    HDEVINFO raw = SetupDiCreateDeviceInfoList(&kTestClass, nullptr);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    SP_DEVINFO_DATA made{};
    made.cbSize = sizeof made;
    ASSERT_TRUE(SetupDiCreateDeviceInfoW(raw, L"ORVELLOWINETEST", &kTestClass, L"Orvello test node", nullptr,
                                         DICD_GENERATE_ID, &made));
    ASSERT_TRUE(SetupDiCallClassInstaller(DIF_REGISTERDEVICE, raw, &made));
    wchar_t madeId[MAX_DEVICE_ID_LEN] = {};
    ASSERT_TRUE(SetupDiGetDeviceInstanceIdW(raw, &made, madeId, MAX_DEVICE_ID_LEN, nullptr));
    SetupDiDestroyDeviceInfoList(raw);

    auto findMade = [&](ports::DeviceInfoSet& set) -> std::optional<ports::DeviceInfoData> {
        for (const Member& m : members(tree, set)) {
            if (m.id == madeId)
                return m.data;
        }
        return std::nullopt;
    };
    ports::DeviceInfoSet set;
    ASSERT_EQ(tree.getClassDevs(std::nullopt, L"ROOT", digcf::AllClasses, set), winerr::Success);
    const auto node = findMade(set);
    ASSERT_TRUE(node.has_value()) << text::toUtf8(madeId);
    bool restart = true;
    ASSERT_EQ(tree.removeDevice(set, *node, restart), winerr::Success);
    EXPECT_FALSE(restart);
    set.reset();
    ASSERT_EQ(tree.getClassDevs(std::nullopt, L"ROOT", digcf::AllClasses, set), winerr::Success);
    EXPECT_FALSE(findMade(set).has_value());
}

TEST(Win32DeviceTree, TheRootOfTheTree) {
    win32::Win32DeviceTree tree;
    ports::DevInst root = 0;
    const ports::ConfigRet r = tree.locateDevNode(L"", ports::cmflag::LocateNormal, root);
    if (r == cr::Failure && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement CM_Locate_DevNodeW";
    ASSERT_EQ(r, cr::Success);
    std::wstring id;
    ASSERT_EQ(tree.getDeviceId(root, id), cr::Success);
    EXPECT_EQ(id, L"HTREE\\ROOT\\0");
    EXPECT_EQ(tree.reenumerateDevNode(root, ports::cmflag::ReenumerateNormal), cr::Success);
}

// Wine has these functions only as placeholders that end the process when called: the port must
// read them as not available instead of calling them.
TEST(Win32DeviceTree, FunctionsWineLacksReadAsNotAvailable) {
    if (!win32::runningOnWine())
        GTEST_SKIP() << "only Wine lacks these functions";
    win32::Win32DeviceTree tree;
    std::wstring enumerator;
    EXPECT_EQ(tree.enumerateEnumerators(0, enumerator), cr::CallNotImplemented);
    std::vector<std::wstring> interfaces;
    EXPECT_EQ(
        tree.getDeviceInterfaceList(kHidInterface, L"", ports::cmflag::InterfaceListPresent, interfaces),
        cr::CallNotImplemented);
    EXPECT_FALSE(tree.classPropertiesAvailable());
    EXPECT_FALSE(tree.interfacePropertiesAvailable());
    ports::DevProperty p;
    EXPECT_EQ(tree.getClassProperty(ports::guids::DevClassPrinter, kInstanceIdKey, p),
              cr::CallNotImplemented);
    EXPECT_EQ(tree.getDeviceInterfaceProperty(L"\\\\?\\nothing", kInstanceIdKey, p), cr::CallNotImplemented);
}

} // namespace
