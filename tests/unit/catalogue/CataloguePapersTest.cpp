// The paper names that mark a form as the catalogue's own.
#include "CatalogueFixture.h"

#include "catalogue/CataloguePapers.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;

using CataloguePapers = CatalogueFixture;

TEST_F(CataloguePapers, EveryPaperOfEveryGroupInDocumentOrder) {
    XmlDocument doc;
    load(doc, R"(<?xml version="1.0"?>
<Drivers>
  <Manufacturers/>
  <Papers type="stray"><Paper name="outside Form"/></Papers>
  <Form>
    <Papers type="label">
      <Paper name="57mm x 40mm" size="57,40"/>
      <Paper size="1,1"/>
      <Note name="not a paper"/>
      <Paper name="76mm x 130mm" size="76,  130"/>
    </Papers>
    <Group><Paper name="in another element"/></Group>
    <Papers type="labelex"/>
    <Papers>
      <Paper name="57mm x 40mm"/>
      <Paper name="标签"/>
    </Papers>
  </Form>
  <Form><Papers><Paper name="second Form"/></Papers></Form>
</Drivers>)");
    std::vector<std::wstring> names;
    catalogue::ForEachCataloguePaper(doc, [&](const std::wstring& name) { names.push_back(name); });
    EXPECT_EQ(names, (std::vector<std::wstring>{L"57mm x 40mm", L"", L"76mm x 130mm", L"57mm x 40mm",
                                                L"\x6807\x7B7E"}));
}

} // namespace
