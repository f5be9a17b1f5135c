#include "app/NoMainWindowYet.h"

namespace app {

bool NoMainWindowYet::createMainWindow(CApp&, const MainWindowSpec&) {
    if (say_)
        say_(L"start-up stops here: the main window is not built yet");
    return false;
}

void NoMainWindowYet::messageBox(std::wstring_view text, std::wstring_view caption) {
    messages_.push_back(std::wstring(caption) + L": " + std::wstring(text));
    if (say_)
        say_(L"message box " + messages_.back());
}

} // namespace app
