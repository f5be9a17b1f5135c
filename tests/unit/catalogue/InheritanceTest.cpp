// Attributes a model inherits along its parent chain, with the defaults of the typed readers.
#include "CatalogueFixture.h"

#include "catalogue/DriverCatalogue.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;
namespace cat = catalogue;

constexpr char kFamily[] = R"(<?xml version="1.0"?>
<Drivers>
  <Manufacturers>
    <Manufacturer mode="Native">
      <Driver name="Base" usbname="USBPRINT\Base" customname="Base Printer" comment="base" dpi="203"
              bluetoothdriver="false" btadapter="true" udp="yes" languagemonitor="1"/>
      <Driver name="Plain"/>
      <Driver name="Middle" parent="Base" parentmanufacturer="Native" dpi="300"/>
      <Driver name="Base" usbname="USBPRINT\SecondBase"/>
    </Manufacturer>
    <Manufacturer mode="Other">
      <Driver name="Base" usbname="USBPRINT\OtherBase" comment="other"/>
    </Manufacturer>
    <Manufacturer mode="CorvaneEx">
      <Driver name="Child" parent="Base"/>
      <Driver name="OwnEmpty" parent="Base" usbname="" customname="" bluetoothdriver="" udp=""/>
      <Driver name="Grandchild" parent="Middle"/>
      <Driver name="Orphan" parent="Nobody" dpi="600"/>
      <Driver name="CaseOrphan" parent="base"/>
      <Driver name="FromOther" parent="Base" parentmanufacturer="Other"/>
      <Driver name="NotInOther" parent="Middle" parentmanufacturer="Other"/>
      <Driver name="NoSuchMode" parent="Base" parentmanufacturer="Nowhere"/>
      <Driver parent="Base"/>
    </Manufacturer>
  </Manufacturers>
</Drivers>)";

class Inheritance : public CatalogueFixture {
protected:
    void SetUp() override { load(doc, kFamily); }
    DriverRef model(const wchar_t* name, const wchar_t* mode = L"CorvaneEx") {
        const DriverRef ref = cat::FindDriver(mode, name, doc);
        EXPECT_FALSE(ref.empty()) << text::toUtf8(name);
        return ref;
    }
    XmlDocument doc;
};

TEST_F(Inheritance, ParentIsFoundByExactNameInItsManufacturer) {
    struct Case {
        const wchar_t* child;
        const wchar_t* parentMode; // nullptr: no parent
    };
    const Case cases[] = {
        {L"Child", L"Native"},    {L"Grandchild", L"Native"}, {L"FromOther", L"Other"}, {L"Orphan", nullptr},
        {L"CaseOrphan", nullptr}, {L"NotInOther", nullptr},   {L"NoSuchMode", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.child));
        const DriverRef parent = cat::ParentDriver(model(c.child));
        if (!c.parentMode) {
            EXPECT_TRUE(parent.empty());
            continue;
        }
        ASSERT_FALSE(parent.empty());
        EXPECT_EQ(cat::DriverManufacturerMode(parent), c.parentMode);
    }
    // The first model of that name wins; a base model has none (the empty name is nobody's).
    EXPECT_EQ(cat::DriverUsbName(cat::ParentDriver(model(L"Child"))), L"USBPRINT\\Base");
    EXPECT_TRUE(cat::ParentDriver(model(L"Plain", L"Native")).empty());
    EXPECT_TRUE(cat::ParentDriver(DriverRef{}).empty());
}

TEST_F(Inheritance, TextAttributesComeFromTheNearestModelThatHasThem) {
    struct Case {
        const wchar_t* model;
        const wchar_t* usbName;
        const wchar_t* customName;
        const wchar_t* comment;
    };
    const Case cases[] = {
        {L"Child", L"USBPRINT\\Base", L"Base Printer", L"base"},
        // Present but empty: the empty value, not the parent's.
        {L"OwnEmpty", L"", L"", L"base"},
        {L"Grandchild", L"USBPRINT\\Base", L"Base Printer", L"base"},
        {L"FromOther", L"USBPRINT\\OtherBase", L"", L"other"},
        {L"Orphan", L"", L"", L""},
        {L"NoSuchMode", L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.model));
        const DriverRef ref = model(c.model);
        EXPECT_EQ(cat::DriverUsbName(ref), c.usbName);
        EXPECT_EQ(cat::DriverCustomName(ref), c.customName);
        EXPECT_EQ(cat::DriverComment(ref), c.comment);
    }
}

TEST_F(Inheritance, BooleansAndTheirDefaults) {
    struct Case {
        const wchar_t* model;
        const wchar_t* mode;
        bool bluetooth, adapter, udp, monitor;
    };
    const Case cases[] = {
        {L"Child", L"CorvaneEx", false, true, true, true},
        // Empty values read false, bluetoothdriver included; the others still come from the parent.
        {L"OwnEmpty", L"CorvaneEx", false, true, false, true},
        // Absent on the whole chain: the defaults.
        {L"Plain", L"Native", true, false, false, false},
        {L"Orphan", L"CorvaneEx", true, false, false, false},
        {L"FromOther", L"CorvaneEx", true, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.model));
        const DriverRef ref = model(c.model, c.mode);
        EXPECT_EQ(cat::IsBluetoothDriver(ref), c.bluetooth);
        EXPECT_EQ(cat::IsBluetoothAdapter(ref), c.adapter);
        EXPECT_EQ(cat::SupportsUdp(ref), c.udp);
        EXPECT_EQ(cat::UsesLanguageMonitor(ref), c.monitor);
    }
    const DriverRef none;
    EXPECT_TRUE(cat::IsBluetoothDriver(none));
    EXPECT_FALSE(cat::IsBluetoothAdapter(none));
    EXPECT_FALSE(cat::SupportsUdp(none));
    EXPECT_FALSE(cat::UsesLanguageMonitor(none));
    EXPECT_EQ(cat::DriverUsbName(none), L"");
    EXPECT_EQ(cat::DriverCustomName(none), L"");
    EXPECT_EQ(cat::DriverComment(none), L"");
    EXPECT_EQ(cat::DriverName(none), L"");
    EXPECT_EQ(cat::DriverManufacturerMode(none), L"");
}

TEST_F(Inheritance, BooleanSpellings) {
    struct Case {
        const char* value;
        bool expected;
    };
    const Case cases[] = {{"1", true},   {"true", true}, {"True", true},   {"TRUE", true},
                          {"yes", true}, {"Y", true},    {"0", false},     {"false", false},
                          {"no", false}, {"", false},    {" true", false}, {"2", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        XmlDocument one;
        load(one, std::string("<Drivers><Manufacturers><Manufacturer mode=\"M\"><Driver name=\"D\" udp=\"") +
                      c.value + "\" bluetoothdriver=\"" + c.value +
                      "\"/></Manufacturer></Manufacturers></Drivers>");
        const DriverRef ref = cat::FindDriver(L"M", L"D", one);
        EXPECT_EQ(cat::SupportsUdp(ref), c.expected);
        EXPECT_EQ(cat::IsBluetoothDriver(ref), c.expected);
    }
}

TEST_F(Inheritance, AnyAttributeByName) {
    EXPECT_EQ(cat::InheritedAttribute(model(L"Grandchild"), L"dpi"), L"300");
    EXPECT_EQ(cat::InheritedAttribute(model(L"Child"), L"dpi"), L"203");
    EXPECT_EQ(cat::InheritedAttribute(model(L"Orphan"), L"dpi"), L"600");
    EXPECT_EQ(cat::InheritedAttribute(model(L"OwnEmpty"), L"usbname"), L"");
    EXPECT_EQ(cat::InheritedAttribute(model(L"Child"), L"headsize"), std::nullopt);
    EXPECT_EQ(cat::InheritedAttribute(model(L"Orphan"), L"usbname"), std::nullopt);
    EXPECT_EQ(cat::InheritedAttribute(DriverRef{}, L"dpi"), std::nullopt);
    // Names are matched with their letter case.
    EXPECT_EQ(cat::InheritedAttribute(model(L"Child"), L"DPI"), std::nullopt);
}

TEST_F(Inheritance, NameAndManufacturerAreNeverInherited) {
    // The nameless model is found under the empty name; its parent's name is not its own.
    const DriverRef nameless = model(L"");
    EXPECT_EQ(cat::DriverName(nameless), L"");
    EXPECT_EQ(cat::DriverUsbName(nameless), L"USBPRINT\\Base");
    EXPECT_EQ(cat::InheritedAttribute(nameless, L"name"), std::nullopt);
    EXPECT_EQ(cat::InheritedAttribute(model(L"Grandchild"), L"parentmanufacturer"), std::nullopt);
    EXPECT_EQ(cat::InheritedAttribute(model(L"FromOther"), L"parentmanufacturer"), L"Other");
    EXPECT_EQ(cat::DriverManufacturerMode(model(L"Child")), L"CorvaneEx");
}

// A chain that comes back on itself ends at the first model it meets twice: what the models on the
// way have is found, anything else is absent. Nothing hangs.
TEST_F(Inheritance, CyclicChainsStopAtTheFirstRepeat) {
    XmlDocument looped;
    load(looped, R"(<Drivers><Manufacturers>
      <Manufacturer mode="Native">
        <Driver name="Self" parent="Self" usbname="USBPRINT\Self"/>
        <Driver name="A" parent="B" comment="from A"/>
        <Driver name="B" parent="C" usbname="USBPRINT\B"/>
        <Driver name="C" parent="A" customname="C name"/>
      </Manufacturer>
      <Manufacturer mode="X">
        <Driver name="Tail" parent="A"/>
        <Driver name="Ring" parent="Ring" parentmanufacturer="X"/>
      </Manufacturer>
    </Manufacturers></Drivers>)");
    struct Case {
        const wchar_t* mode;
        const wchar_t* model;
        const wchar_t* usbName;
        const wchar_t* customName;
        const wchar_t* comment;
    };
    const Case cases[] = {
        {L"Native", L"Self", L"USBPRINT\\Self", L"", L""},
        {L"Native", L"A", L"USBPRINT\\B", L"C name", L"from A"},
        {L"Native", L"C", L"USBPRINT\\B", L"C name", L"from A"},
        {L"X", L"Tail", L"USBPRINT\\B", L"C name", L"from A"},
        {L"X", L"Ring", L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.model));
        const DriverRef ref = cat::FindDriver(c.mode, c.model, looped);
        ASSERT_FALSE(ref.empty());
        EXPECT_EQ(cat::DriverUsbName(ref), c.usbName);
        EXPECT_EQ(cat::DriverCustomName(ref), c.customName);
        EXPECT_EQ(cat::DriverComment(ref), c.comment);
        EXPECT_TRUE(cat::IsBluetoothDriver(ref));
        EXPECT_EQ(cat::InheritedAttribute(ref, L"dpi"), std::nullopt);
    }
    // The parent links themselves are reported as written.
    const DriverRef self = cat::FindDriver(L"Native", L"Self", looped);
    EXPECT_EQ(cat::ParentDriver(self), self);
    EXPECT_EQ(cat::DriverName(cat::ParentDriver(cat::ParentDriver(cat::FindDriver(L"Native", L"A", looped)))),
              L"C");
}

} // namespace
