#pragma once
// What the network model page, the driver page and the custom model page share: the current
// manufacturer's models in catalogue order, narrowed by the text of the page's find-key edit, one
// checked row, and the chosen model's row selected again (with its effects) whenever the list is
// filled. The filter text lives as long as the page object.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "catalogue/DriverRef.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "wizard/PageButtons.h"

#include <string>
#include <string_view>

namespace wizard {

class CMainFrame;

class ModelListPage : public ui::NotifyTarget {
public:
    // The layout names of the page and its controls.
    struct Names {
        std::wstring_view page;
        std::wstring_view edit;
        std::wstring_view grid;
    };
    static constexpr int kModelColumn = 1;

    // Finds the controls; false when one is missing.
    bool init(ui::Control& page);
    // Rebuilds the list from the catalogue and the filter.
    void fill();
    const std::wstring& filter() const { return filter_; }
    void notify(const ui::Notification& n) override;

protected:
    ModelListPage(CMainFrame& frame, app::AppContext& context, SetupSession& session, Names names)
        : frame_(frame), context_(context), session_(session), names_(names) {}
    ~ModelListPage() = default;

    // Whether the page offers the model at all (the filter aside).
    virtual bool listed(DriverRef) const { return true; }
    // The page's own columns of a new row.
    virtual void fillRow(int /*row*/, DriverRef) {}
    // What a click on `row` (checked by then) means to the session.
    virtual void take(int row) = 0;
    virtual void back() = 0;
    virtual void next() = 0;

    // The chosen model's catalogue entry for the current manufacturer.
    DriverRef findChosenModel() const;
    void writeSetupPrinter() const;

    CMainFrame& frame_;
    app::AppContext& context_;
    SetupSession& session_;
    ui::Grid* grid_ = nullptr;
    PageButtons buttons_;

private:
    Names names_;
    ui::Edit* edit_ = nullptr;
    std::wstring filter_;
};

} // namespace wizard
