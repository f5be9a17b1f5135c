#pragma once
// What the install routines run with on the operation thread: the application context (ports,
// translation, error texts, working folder, debug flag), the wizard's session (the chosen printer
// and package) and the catalogue. The session is read and, where a routine says so, written: the
// pages are blocked by the progress window meanwhile.
#include "app/AppContext.h"
#include "app/Folders.h"
#include "app/SetupSession.h"
#include "catalogue/XmlDocument.h"

namespace engine {

struct InstallContext {
    const app::AppContext& app;
    SetupSession& session;
    const catalogue::XmlDocument& catalogue;
    // The message boxes of the folder lookups; none shows nothing.
    app::ErrorBox errorBox{};

    ports::Platform& platform() const { return app.platform; }
};

} // namespace engine
