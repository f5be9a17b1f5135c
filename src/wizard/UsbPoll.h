#pragma once
// The USB search's 500 ms poll: timer 500 on the search page's busy picture. It outlives page
// changes (the found-printer and custom model pages are kept current by it) and stops only where a
// page's Back or Next says so. Each tick is one pass of discovery::SearchTick for the port type.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "catalogue/XmlDocument.h"
#include "discovery/usb/UsbSearchTick.h"
#include "ui/core/Controls.h"
#include "ui/core/Window.h"

#include <functional>

namespace wizard {

class UsbPoll final : public ui::NotifyTarget {
public:
    // `catalogue` gives the catalogue document at the time of a tick (none: the tick does nothing).
    UsbPoll(app::AppContext& context, SetupSession& session,
            std::function<const catalogue::XmlDocument*()> catalogue, discovery::UsbSearchPages pages)
        : context_(context), session_(session), catalogue_(std::move(catalogue)), pages_(std::move(pages)) {}

    // Takes the ticks of the busy picture; false when the layout has none.
    bool init(ui::Window& window);
    // (Re)starts the ticks; the first comes after one period.
    bool start();
    void stop();
    bool running() const { return running_; }
    // One pass, as a tick runs it.
    void tick();

    void notify(const ui::Notification& n) override;

private:
    app::AppContext& context_;
    SetupSession& session_;
    std::function<const catalogue::XmlDocument*()> catalogue_;
    discovery::UsbSearchPages pages_;
    ui::Control* picture_ = nullptr;
    bool running_ = false;
};

} // namespace wizard
