// The layout translation files shipped in every language folder: each parses, names only
// resourceids its layout has, covers every text and tooltip of its layout, and keeps fixed-width
// controls no more crowded than the English does.
#include "app/language/Languages.h"
#include "app/language/LngFiles.h"
#include "ui/headless/HeadlessBackend.h"
#include "unit/wizard/ShippedLayouts.h"

#include <algorithm>
#include <map>

namespace {

// The translated layouts and the window each is built in.
struct Translated {
    const wchar_t* layout;
    const wchar_t* window;
};
// Every page but the manufacturer page, which keeps its layout's texts in every language.
constexpr Translated kTranslated[] = {
    {L"MainFrame.xml", L"MainFrame.xml"},
    {L"form_main.xml", L"MainFrame.xml"},
    {L"form_printer_port.xml", L"MainFrame.xml"},
    {L"form_custom_port.xml", L"MainFrame.xml"},
    {L"form_custom_printer_mode.xml", L"MainFrame.xml"},
    {L"form_printer_mode.xml", L"MainFrame.xml"},
    {L"form_printer_mode2.xml", L"MainFrame.xml"},
    {L"form_printer_bluetooth.xml", L"MainFrame.xml"},
    {L"form_printer_driver.xml", L"MainFrame.xml"},
    {L"form_printer_search.xml", L"MainFrame.xml"},
    {L"form_printer_name.xml", L"MainFrame.xml"},
    {L"form_setup_prepare.xml", L"MainFrame.xml"},
    {L"form_setup_end.xml", L"MainFrame.xml"},
    {L"form_delete_printer.xml", L"MainFrame.xml"},
    {L"form_delete_driver.xml", L"MainFrame.xml"},
    {L"form_delete_prepare.xml", L"MainFrame.xml"},
    {L"form_update_driver.xml", L"MainFrame.xml"},
    {L"form_update_prepare.xml", L"MainFrame.xml"},
    {L"form_printer_tcpmon.xml", L"MainFrame.xml"},
    {L"form_printer_udp.xml", L"MainFrame.xml"},
    {L"DlgAbout.xml", L"DlgAbout.xml"},
    {L"DlgSoftLanguage.xml", L"DlgSoftLanguage.xml"},
    {L"DlgInputBluetoothPin.xml", L"DlgInputBluetoothPin.xml"},
    {L"DlgPortMonitorList.xml", L"DlgPortMonitorList.xml"},
    {L"DlgDeviceInfo3.xml", L"DlgDeviceInfo3.xml"},
};

// What a control with a resourceid wrote in its layout.
struct Source {
    std::wstring text;
    std::wstring tooltip;
};

void collect(const ui::Control& c, std::wstring_view layout, std::map<int, Source>& out) {
    if (c.resourceId() && c.layoutFile() == layout) {
        auto& s = out[*c.resourceId()];
        s.text = c.layoutText();
        s.tooltip = c.layoutTooltip();
    }
    for (auto& child : c.children())
        collect(*child, layout, out);
}

int estimatedWidth(const ui::Control& c) {
    return ui::headless::FixedMetrics().preferred(c).width;
}

// Fixed-width controls of `layout` with a resourceid and a text, by resourceid: width and text width.
void fixedWidths(const ui::Control& c, std::wstring_view layout, std::map<int, std::pair<int, int>>& out) {
    if (c.resourceId() && c.layoutFile() == layout && c.sizeRules().width > 0 && !c.text().empty())
        out[*c.resourceId()] = {c.sizeRules().width, estimatedWidth(c)};
    for (auto& child : c.children())
        fixedWidths(*child, layout, out);
}

// The fixed-width controls of `t.layout` as built in `language`.
std::map<int, std::pair<int, int>> widthsIn(const Translated& t, std::wstring_view language) {
    wizard_test::ShippedLayouts skin;
    CLanguage lang(skin.archive);
    EXPECT_EQ(lang.setLanguage(languageFolder(language), language), ports::winerr::Success);
    wizard::LanguageTranslations translations(lang);
    std::map<int, std::pair<int, int>> widths;
    if (auto window = skin.load(t.window, &translations))
        fixedWidths(*window, t.layout, widths);
    return widths;
}

} // namespace

TEST(LayoutTranslations, EveryLanguageTranslatesEveryTextOfTheListedLayouts) {
    wizard_test::ShippedLayouts skin;
    for (const auto& t : kTranslated) {
        SCOPED_TRACE(text::toUtf8(t.layout));
        auto window = skin.load(t.window);
        ASSERT_TRUE(window);
        std::map<int, Source> sources;
        collect(*window, t.layout, sources);
        ASSERT_FALSE(sources.empty());
        for (const auto& lang : languages()) {
            SCOPED_TRACE(text::toUtf8(lang.name));
            std::string bytes;
            ASSERT_EQ(
                skin.archive.read(languageFolder(lang.name) + L"\\" + layoutTranslationFile(t.layout), bytes),
                ports::winerr::Success);
            LayoutTable table;
            ASSERT_EQ(parseLayoutTable(bytes, table), ports::winerr::Success);
            for (auto& [id, entry] : table) {
                auto it = sources.find(id);
                ASSERT_NE(it, sources.end()) << "no control has resourceid " << id;
                EXPECT_TRUE(!entry.text || !it->second.text.empty()) << id;
                EXPECT_TRUE(!entry.tooltip || !it->second.tooltip.empty()) << id;
            }
            for (auto& [id, source] : sources) {
                auto it = table.find(id);
                ASSERT_NE(it, table.end()) << "no entry for resourceid " << id;
                EXPECT_EQ(!source.text.empty(), !it->second.text.value_or(L"").empty()) << id;
                EXPECT_EQ(!source.tooltip.empty(), !it->second.tooltip.value_or(L"").empty()) << id;
                // The layouts are written in the source language: its table repeats them.
                if (lang.name == kSourceLanguage) {
                    EXPECT_EQ(it->second.text.value_or(L""), source.text) << id;
                    EXPECT_EQ(it->second.tooltip.value_or(L""), source.tooltip) << id;
                }
            }
        }
    }
}

TEST(LayoutTranslations, TheManufacturerPageKeepsItsTextsInEveryLanguage) {
    wizard_test::ShippedLayouts skin;
    for (const auto& lang : languages()) {
        std::string bytes;
        EXPECT_NE(skin.archive.read(languageFolder(lang.name) + L"\\form_printer_manufacturer.lng", bytes),
                  ports::winerr::Success)
            << text::toUtf8(lang.name);
    }
}

// A caption in a control of fixed width: no language needs more room than the English caption.
TEST(LayoutTranslations, TranslatedCaptionsFitTheirFixedWidthsAsWellAsTheEnglish) {
    for (const auto& t : kTranslated) {
        SCOPED_TRACE(text::toUtf8(t.layout));
        auto english = widthsIn(t, L"English");
        for (const auto& lang : languages())
            for (auto& [id, w] : widthsIn(t, lang.name)) {
                int room = std::max(w.first, english.count(id) ? english[id].second : 0);
                EXPECT_LE(w.second, room) << text::toUtf8(lang.name) << " resourceid " << id;
            }
    }
}
