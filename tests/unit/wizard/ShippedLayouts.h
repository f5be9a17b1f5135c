#pragma once
// The program's own skin archive for the tests: layouts built as the wizard builds them, with the
// message log control registered.
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"
#include "ui/core/LayoutLoader.h"
#include "wizard/CMsgWnd2UI.h"
#include "wizard/SkinLayouts.h"

#include <gtest/gtest.h>

#include <memory>

namespace wizard_test {

struct ShippedLayouts {
    sim::VirtualClock clock;
    SkinArchive archive;
    ui::ControlFactory factory;

    ShippedLayouts() {
        EXPECT_EQ(archive.open(testing_support::programResources()), ports::winerr::Success);
        wizard::registerMessageLog(factory, clock);
    }
    // The window of `file`, or null after a test failure naming the layout error.
    std::unique_ptr<ui::Window> load(std::wstring_view file, ui::TranslationSource* translations = nullptr) {
        wizard::SkinLayoutReader reader(archive);
        auto loaded = ui::LayoutLoader(reader, factory, translations).loadWindow(file);
        if (!loaded.window)
            ADD_FAILURE() << text::toUtf8(loaded.error->describe());
        return std::move(loaded.window);
    }
};

} // namespace wizard_test
