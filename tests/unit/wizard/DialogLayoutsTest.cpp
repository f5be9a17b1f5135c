// The dialogs' layouts as shipped: their size and the controls their classes look for.
#include "app/language/Languages.h"
#include "ui/core/Controls.h"
#include "unit/wizard/ShippedLayouts.h"

#include <set>

namespace {

struct Expected {
    const wchar_t* name;
    const wchar_t* kind;
};

struct DialogCase {
    const wchar_t* file;
    ui::Size size;
    std::vector<Expected> controls;
};

} // namespace

TEST(DialogLayouts, EachDialogHasItsSizeAndControls) {
    const DialogCase cases[] = {
        {L"DlgAbout.xml",
         {400, 260},
         {{L"label_product", L"Label"},
          {L"label_company", L"Label"},
          {L"label_website", L"Label"},
          {L"label_tel", L"Label"},
          {L"label_email", L"Label"},
          {L"label_version", L"Label"},
          {L"label_create_time", L"Label"},
          {L"windowclosebtn", L"Button"},
          {L"btn_ok", L"Button"}}},
        {L"DlgSoftLanguage.xml", {360, 420}, {{L"windowclosebtn", L"Button"}}},
        {L"DlgLoading.xml", {668, 450}, {{L"pic_loading", L"AnimatedPicture"}}},
        {L"DlgInputBluetoothPin.xml",
         {500, 215},
         {{L"text_pin", L"RichEdit"},
          {L"btn_ok", L"Button"},
          {L"btn_cancel", L"Button"},
          {L"windowminbtn", L"Button"},
          {L"windowclosebtn", L"Button"}}},
        {L"DlgPortMonitorList.xml",
         {500, 300},
         {{L"grid_port_monitor_list", L"Grid"},
          {L"btn_add_port", L"Button"},
          {L"btn_cancel", L"Button"},
          {L"windowminbtn", L"Button"},
          {L"windowclosebtn", L"Button"}}},
        {L"DlgDeviceInfo3.xml",
         {800, 500},
         {{L"windowmode_1", L"Option"},
          {L"windowmode_2", L"Option"},
          {L"tree_device_info", L"Tree"},
          {L"grid_info", L"Grid"},
          {L"windowclosebtn", L"Button"}}},
    };
    wizard_test::ShippedLayouts skin;
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.file));
        auto w = skin.load(c.file);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->initialSize(), c.size);
        for (const auto& e : c.controls) {
            auto* control = w->find(e.name);
            ASSERT_NE(control, nullptr) << text::toUtf8(e.name);
            EXPECT_EQ(control->className(), e.kind) << text::toUtf8(e.name);
        }
    }
}

TEST(DialogLayouts, TheBusyAnimationHasItsEightFramesInOrder) {
    wizard_test::ShippedLayouts skin;
    auto w = skin.load(L"DlgLoading.xml");
    ASSERT_TRUE(w);
    auto* pic = w->findAs<ui::AnimatedPicture>(L"pic_loading");
    ASSERT_NE(pic, nullptr);
    std::vector<std::wstring> expected;
    for (int i = 1; i <= 8; ++i)
        expected.push_back(L"images/Loading/" + std::to_wstring(i) + L".png");
    EXPECT_EQ(pic->frames(), expected);
    EXPECT_EQ(pic->delayMs(), 200u);
}

// One option per language, in one group, named and captioned as the dialog's class expects.
TEST(DialogLayouts, TheLanguageDialogOffersEveryLanguageByItsOwnName) {
    wizard_test::ShippedLayouts skin;
    auto w = skin.load(L"DlgSoftLanguage.xml");
    ASSERT_TRUE(w);
    std::set<std::wstring> groups;
    for (const auto& lang : languages()) {
        std::wstring name = std::wstring(kLanguageOptionPrefix) + std::wstring(lang.name);
        auto* option = w->findAs<ui::Option>(name);
        ASSERT_NE(option, nullptr) << text::toUtf8(name);
        EXPECT_EQ(option->userData(), lang.name);
        EXPECT_EQ(option->text(), lang.ownName);
        groups.insert(option->group());
    }
    EXPECT_EQ(groups.size(), 1u);
}
