// The busy window of an operation: the operation starts once the dialog's loop runs, the animation
// turns meanwhile, the user cannot close it, and the operation's close from its own thread ends it.
#include "unit/wizard/ShippedLayouts.h"
#include "ui/headless/HeadlessBackend.h"
#include "wizard/CDlgLoading.h"

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace {

using wizard_test::ShippedLayouts;

struct LoadingRig {
    ShippedLayouts skin;
    ui::headless::HeadlessBackend backend;
    std::unique_ptr<ui::Window> owner = skin.load(L"DlgAbout.xml");
    std::unique_ptr<ui::Window> dialog = skin.load(L"DlgLoading.xml");
    std::atomic<bool> closing{false};     // the operation is about to close the window
    std::atomic<bool> closeCalled{false}; // and has done so
    std::thread operation;

    LoadingRig() { backend.attach(*owner); }
    ~LoadingRig() {
        if (operation.joinable())
            operation.join();
    }
    ui::AnimatedPicture& picture() {
        return dynamic_cast<ui::AnimatedPicture&>(*dialog->find(L"pic_loading"));
    }
    // An operation that works a little on its own thread, then closes the window.
    void startOperation(const engine::ProgressWindow::Close& close) {
        operation = std::thread([this, close] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            closing = true;
            close();
            closeCalled = true;
        });
    }
};

TEST(DlgLoading, TheOperationStartsInsideTheLoopAndOnlyItsCloseEndsTheDialog) {
    LoadingRig rig;
    ASSERT_TRUE(rig.owner && rig.dialog);
    bool inLoop = false, startedInLoop = false;
    int starts = 0;
    std::set<int> framesSeen;
    rig.backend.setModalHandler([&](ui::Window& d) {
        inLoop = true;
        // The user tries the close button, Alt+F4 and Esc: the window stays.
        d.requestClose();
        d.handleMessage({ui::WindowMessage::KeyDown, 0x1B});
        EXPECT_FALSE(d.closed());
        EXPECT_TRUE(rig.picture().running());
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < limit) {
            rig.backend.queue().pump();
            if (rig.closeCalled && rig.backend.queue().pending() == 0)
                break;
            rig.backend.advance(200);
            framesSeen.insert(rig.picture().frame());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        rig.backend.queue().pump();
        return ui::mb::IdCancel; // the end code endModal gave wins
    });
    wizard::CDlgLoading loading(*rig.owner, *rig.dialog);
    loading.runModal([&](engine::ProgressWindow::Close close) {
        ++starts;
        startedInLoop = inLoop;
        rig.startOperation(close);
    });
    EXPECT_TRUE(rig.closeCalled);
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(startedInLoop);
    EXPECT_EQ(rig.backend.modalsShown().size(), 1u);
    EXPECT_GE(framesSeen.size(), 2u); // the animation turned while the operation worked
    EXPECT_FALSE(rig.picture().running());

    // Afterwards the window closes normally again.
    rig.dialog->requestClose();
    EXPECT_TRUE(rig.dialog->closed());
}

TEST(DlgLoading, WithoutAUiThreadItWaitsForTheOperationUnseen) {
    LoadingRig rig;
    ASSERT_TRUE(rig.owner && rig.dialog);
    rig.backend.queue().close();
    wizard::CDlgLoading loading(*rig.owner, *rig.dialog);
    loading.runModal([&](engine::ProgressWindow::Close close) { rig.startOperation(close); });
    EXPECT_TRUE(rig.closing); // it returned only once the operation closed it
    EXPECT_TRUE(rig.backend.modalsShown().empty());
}

} // namespace
