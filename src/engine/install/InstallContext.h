#pragma once
// What the install routines run with on the operation thread: the application context (ports,
// translation, error texts, working folder, debug flag), the wizard's session (the chosen printer
// and package) and the catalogue. The session is read and, where a routine says so, written: the
// pages are blocked by the progress window meanwhile.
#include "app/AppContext.h"
#include "app/Folders.h"
#include "app/SetupSession.h"
#include "catalogue/XmlDocument.h"

#include <functional>
#include <string>

namespace engine {

// What a caller wants to know after an installation besides its success.
struct InstallOutcome {
    // The device-console tool installed the driver and asked for a restart.
    bool restartNeeded = false;
};

struct InstallContext {
    const app::AppContext& app;
    SetupSession& session;
    const catalogue::XmlDocument& catalogue;
    // The message boxes of the folder lookups; none shows nothing.
    app::ErrorBox errorBox{};
    // Filled in by the routines when given; written on the operation thread, read after it ended.
    InstallOutcome* outcome = nullptr;
    // The Bluetooth PIN dialog, shown modally over the main window by the operation thread: `pin`
    // holds the proposed text and receives the typed one; false when the user cancelled. None means
    // nobody can be asked (an unattended run).
    std::function<bool(std::wstring& pin)> askBluetoothPin{};

    ports::Platform& platform() const { return app.platform; }
};

} // namespace engine
