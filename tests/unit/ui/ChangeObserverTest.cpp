// The model tells its backend what changed, once per real change, so that native windows can follow
// it; a backend that keeps no windows (headless) ignores it.
#include "UiFixture.h"

#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/core/Tree.h"

#include <gtest/gtest.h>

using namespace ui;
using uitest::Skin;

namespace {

struct Changes final : Backend {
    headless::HeadlessBackend inner;
    std::vector<std::pair<std::wstring, Change>> seen;
    std::vector<std::wstring> closed;
    bool startTimer(Control& c, unsigned id, unsigned ms) override { return inner.startTimer(c, id, ms); }
    void stopTimer(Control& c, unsigned id) override { inner.stopTimer(c, id); }
    void controlGone(Control& c) override { inner.controlGone(c); }
    int runModal(Window& o, Window& d) override { return inner.runModal(o, d); }
    void endModal(Window& d, int code) override { inner.endModal(d, code); }
    int messageBox(Window* o, std::wstring_view t, std::wstring_view c, unsigned f) override {
        return inner.messageBox(o, t, c, f);
    }
    Dispatcher& dispatcher() override { return inner.dispatcher(); }
    void controlChanged(Control& c, Change what) override { seen.emplace_back(c.name(), what); }
    void windowClosed(Window& w) override { closed.push_back(w.name()); }
};

TEST(ChangeObserver, EachRealChangeOfTheModelIsReportedOnce) {
    auto loaded = Skin().load();
    ASSERT_TRUE(loaded.window);
    Window& w = *loaded.window;
    Changes changes;
    w.attach(&changes);
    const std::wstring title = w.find(L"label_title")->text();
    w.find(L"label_title")->setText(title); // the same text: nothing
    w.find(L"label_debug")->setText(L"DEBUG");
    w.find(L"label_debug")->setVisible(true); // already visible
    w.find(L"btn_form_main_next")->setEnabled(false);
    w.findAs<Option>(L"chk_update_driver")->setSelected(true, false);
    w.findAs<Progress>(L"process_form_main")->setValue(3);
    auto* tab = w.findAs<Tab>(L"tab_main");
    tab->select(L"form_main"); // already shown
    tab->select(L"form_printer_port");
    w.findAs<Combo>(L"combo_port")->addItem(L"USB001");
    w.findAs<Combo>(L"combo_port")->select(2, false);
    w.findAs<Grid>(L"grid_printer_port")->appendRow();
    w.findAs<Grid>(L"grid_printer_port")->selectRow(0);
    const std::vector<std::pair<std::wstring, Change>> want = {
        {L"label_debug", Change::Text},
        {L"btn_form_main_next", Change::Enabled},
        // The option cleared in the group is part of the same model change.
        {L"chk_update_driver", Change::State},
        {L"process_form_main", Change::State},
        {L"tab_main", Change::Visible},
        {L"combo_port", Change::Content},
        {L"combo_port", Change::State},
        {L"grid_printer_port", Change::Content},
        {L"grid_printer_port", Change::State},
    };
    EXPECT_EQ(changes.seen, want);

    w.requestClose();
    w.requestClose(); // closed once
    EXPECT_EQ(changes.closed, std::vector<std::wstring>{L""});
}

} // namespace
