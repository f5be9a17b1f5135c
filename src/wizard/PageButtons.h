#pragma once
// The Back, Next and Cancel buttons at the foot of a page, named after it: "btn_<page>_pre",
// "btn_<page>_next" and "btn_<page>_cancel".
#include "ui/core/Control.h"

#include <functional>
#include <string_view>

namespace wizard {

struct PageButtons {
    ui::Control* back = nullptr;
    ui::Control* next = nullptr;
    ui::Control* cancel = nullptr;

    // False when the page lacks one of them.
    bool find(ui::Control& page, std::wstring_view pageName);
    // Runs the action of the button `n` is a click of; false when it is none of theirs.
    bool handle(const ui::Notification& n, const std::function<void()>& onBack,
                const std::function<void()>& onNext, const std::function<void()>& onCancel) const;
};

} // namespace wizard
