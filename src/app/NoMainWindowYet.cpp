#include "app/NoMainWindowYet.h"

#include "app/CApp.h"
#include "base/Format.h"

namespace app {

namespace {

const wchar_t* loadedOrNot(const catalogue::XmlDocument& doc) {
    return doc.loaded() ? L"loaded" : L"not loaded";
}

} // namespace

void reportStartUp(CApp& app, const NoMainWindowYet::Reporter& say) {
    if (!say)
        return;
    const ManufacturerRecord& m = app.session().manufacturer;
    say(text::format(L"catalogue %s: manufacturer %s, version %d.%d.%d.%d; manufacturer records %s",
                     loadedOrNot(app.catalogueDoc()), m.Name, m.V0, m.V1, m.V2, m.V3,
                     loadedOrNot(app.manufacturerDoc())));
    say(text::format(L"language %s (%s)", app.language().currentLanguageName(),
                     app.language().currentFolder()));
    const AppContext& context = app.context();
    say(text::format(L"working folder %s, device-console tool %s", context.workingFolder,
                     context.deviceConsoleTool));
}

// Says what start-up built before it stops, so that a run without windows shows how far it got.
bool NoMainWindowYet::createMainWindow(CApp& app, const MainWindowParameters&) {
    if (!say_)
        return false;
    reportStartUp(app, say_);
    say_(L"start-up stops here: the main window is not built yet");
    return false;
}

void NoMainWindowYet::messageBox(std::wstring_view text, std::wstring_view caption) {
    messages_.push_back(std::wstring(caption) + L": " + std::wstring(text));
    if (say_)
        say_(L"message box " + messages_.back());
}

} // namespace app
