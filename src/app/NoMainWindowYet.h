#pragma once
// The stand-in user interface while the toolkit and the main window are not built: every step
// succeeds, message boxes become report lines, and creating the main window reports how far
// start-up got and fails, so that the process ends cleanly with exit code 0.
#include "app/AppUserInterface.h"

#include <functional>
#include <string>
#include <vector>

namespace app {

class NoMainWindowYet final : public AppUserInterface {
public:
    using Reporter = std::function<void(std::wstring_view line)>;
    explicit NoMainWindowYet(Reporter say = {}) : say_(std::move(say)) {}

    bool initialiseFramework() override { return true; }
    bool initialiseToolkit(std::wstring_view, const SkinSource&) override { return true; }
    void initialiseRichEdit() override {}
    void registerControlClasses(std::span<const std::wstring_view>) override {}
    bool createMainWindow(CApp& app, const MainWindowParameters& parameters) override;
    void runMessageLoop() override {}
    void activateMainWindow() override {}
    void messageBox(std::wstring_view text, std::wstring_view caption) override;
    void deleteShellManager() override {}
    void destroyMainWindow() override {}
    void releaseToolkit() override {}

    // The message boxes "shown", as "caption: text".
    const std::vector<std::wstring>& messages() const { return messages_; }

private:
    Reporter say_;
    std::vector<std::wstring> messages_;
};

// Says what start-up built (catalogue, language, working folder), one line at a time.
void reportStartUp(CApp& app, const NoMainWindowYet::Reporter& say);

} // namespace app
