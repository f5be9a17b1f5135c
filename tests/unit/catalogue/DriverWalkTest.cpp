// Walking the models of one mode or of the whole catalogue, and finding one model by name.
#include "CatalogueFixture.h"

#include "catalogue/DriverCatalogue.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;
namespace cat = catalogue;

constexpr char kModes[] = R"(<?xml version="1.0"?>
<Drivers>
  <Manufacturers>
    <Manufacturer mode="Native">
      <Driver name="N1"/>
      <Note name="not a model"/>
      <Driver name="N2"/>
    </Manufacturer>
    <Manufacturer mode="CorvaneEx">
      <Driver name="C1"/>
      <Driver name="C2"/>
      <Driver name="C1" comment="second of that name"/>
    </Manufacturer>
    <Manufacturer mode="Bare"/>
    <Manufacturer mode="Late">
      <Driver name="L1"/>
    </Manufacturer>
    <Manufacturer mode="CorvaneEx">
      <Driver name="Shadowed"/>
    </Manufacturer>
  </Manufacturers>
  <Manufacturers>
    <Manufacturer mode="Elsewhere"><Driver name="E1"/></Manufacturer>
  </Manufacturers>
</Drivers>)";

class DriverWalk : public CatalogueFixture {
protected:
    void SetUp() override { load(doc, kModes); }

    std::vector<std::wstring> walk(std::wstring_view mode) {
        std::vector<std::wstring> names;
        DriverRef ref;
        for (bool more = cat::FirstDriver(mode, doc, ref); more; more = cat::NextDriver(mode, ref))
            names.push_back(cat::DriverName(ref));
        return names;
    }

    XmlDocument doc;
};

using Names = std::vector<std::wstring>;

TEST_F(DriverWalk, ModesListTheirOwnModelsInDocumentOrder) {
    struct Case {
        const wchar_t* mode;
        Names names;
    };
    const Case cases[] = {
        {L"Native", {L"N1", L"N2"}},
        // Only the first manufacturer of a mode is walked.
        {L"CorvaneEx", {L"C1", L"C2", L"C1"}},
        {L"Late", {L"L1"}},
        {L"Bare", {}},
        // A real mode is compared with its letter case.
        {L"corvaneex", {}},
        {L"Corvane", {}},
        {L"", {}},
        // Only the first Manufacturers list belongs to the catalogue.
        {L"Elsewhere", {}},
        // The whole catalogue, in any letter case, up to the first manufacturer without models.
        {L"ZevrPrt", {L"N1", L"N2", L"C1", L"C2", L"C1"}},
        {L"zevrprt", {L"N1", L"N2", L"C1", L"C2", L"C1"}},
        {L"ZEVRPRT", {L"N1", L"N2", L"C1", L"C2", L"C1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.mode));
        EXPECT_EQ(walk(c.mode), c.names);
    }
}

TEST_F(DriverWalk, WholeCatalogueWalkStopsAtAnEmptySecondManufacturer) {
    XmlDocument gap;
    load(gap, R"(<Drivers><Manufacturers>
      <Manufacturer mode="Native"><Driver name="N1"/><Driver name="N2"/></Manufacturer>
      <Manufacturer mode="Empty"><Note/></Manufacturer>
      <Manufacturer mode="CorvaneEx"><Driver name="C1"/></Manufacturer>
    </Manufacturers></Drivers>)");
    DriverRef ref;
    ASSERT_TRUE(cat::FirstDriver(cat::kModeZevrPrt, gap, ref));
    ASSERT_TRUE(cat::NextDriver(cat::kModeZevrPrt, ref));
    const DriverRef last = ref;
    EXPECT_FALSE(cat::NextDriver(cat::kModeZevrPrt, ref));
    EXPECT_EQ(ref, last);
    EXPECT_EQ(cat::DriverName(ref), L"N2");
    // The later manufacturer is still there for its own mode.
    ASSERT_TRUE(cat::FirstDriver(L"CorvaneEx", gap, ref));
    EXPECT_EQ(cat::DriverName(ref), L"C1");
}

TEST_F(DriverWalk, WholeCatalogueStartsAtTheFirstManufacturerWhateverItIs) {
    XmlDocument emptyFirst;
    load(emptyFirst, R"(<Drivers><Manufacturers>
      <Manufacturer mode="Native"/>
      <Manufacturer mode="CorvaneEx"><Driver name="C1"/></Manufacturer>
    </Manufacturers></Drivers>)");
    DriverRef ref;
    EXPECT_FALSE(cat::FirstDriver(cat::kModeZevrPrt, emptyFirst, ref));
    EXPECT_TRUE(ref.empty());
}

TEST_F(DriverWalk, ARealModeWalkEndsWithItsManufacturerAndKeepsTheLastModel) {
    DriverRef ref;
    ASSERT_TRUE(cat::FirstDriver(L"Native", doc, ref));
    ASSERT_TRUE(cat::NextDriver(L"Native", ref));
    const DriverRef last = ref;
    EXPECT_FALSE(cat::NextDriver(L"Native", ref));
    EXPECT_EQ(ref, last);
    // The same model continues into the next manufacturer only in a whole-catalogue walk.
    EXPECT_TRUE(cat::NextDriver(cat::kModeZevrPrt, ref));
    EXPECT_EQ(cat::DriverName(ref), L"C1");
    EXPECT_EQ(cat::DriverManufacturerMode(ref), L"CorvaneEx");
    DriverRef none;
    EXPECT_FALSE(cat::NextDriver(cat::kModeZevrPrt, none));
}

TEST_F(DriverWalk, FindDriverMatchesModeAndNameExactly) {
    struct Case {
        const wchar_t* mode;
        const wchar_t* name;
        bool found;
    };
    const Case cases[] = {
        {L"CorvaneEx", L"C2", true},  {L"CorvaneEx", L"c2", false},
        {L"CorvaneEx", L"C", false},  {L"CorvaneEx", L"C2 ", false},
        {L"corvaneex", L"C2", false}, {L"Native", L"C2", false},
        {L"Late", L"L1", true},       {L"CorvaneEx", L"Shadowed", false},
        {L"ZevrPrt", L"N1", false},   {L"Elsewhere", L"E1", false},
        {L"Native", L"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(std::wstring(c.mode) + L"/" + c.name));
        const DriverRef ref = cat::FindDriver(c.mode, c.name, doc);
        EXPECT_EQ(!ref.empty(), c.found);
        if (c.found) {
            EXPECT_EQ(cat::DriverName(ref), c.name);
            EXPECT_EQ(cat::DriverManufacturerMode(ref), c.mode);
        }
    }
    // Of two models with one name, the first.
    EXPECT_EQ(cat::DriverComment(cat::FindDriver(L"CorvaneEx", L"C1", doc)), L"");
}

TEST_F(DriverWalk, ZevrPrtIsAnOrdinaryModeForFindDriver) {
    XmlDocument literal;
    load(literal, R"(<Drivers><Manufacturers>
      <Manufacturer mode="Native"><Driver name="N1"/></Manufacturer>
      <Manufacturer mode="ZevrPrt"><Driver name="Z1"/></Manufacturer>
    </Manufacturers></Drivers>)");
    EXPECT_TRUE(cat::FindDriver(L"ZevrPrt", L"N1", literal).empty());
    EXPECT_FALSE(cat::FindDriver(L"ZevrPrt", L"Z1", literal).empty());
    EXPECT_TRUE(cat::FindDriver(L"zevrprt", L"Z1", literal).empty());
}

} // namespace
