#include "wizard/PageButtons.h"

#include <string>

namespace wizard {

bool PageButtons::find(ui::Control& page, std::wstring_view pageName) {
    const std::wstring prefix = L"btn_" + std::wstring(pageName);
    back = page.find(prefix + L"_pre");
    next = page.find(prefix + L"_next");
    cancel = page.find(prefix + L"_cancel");
    return back && next && cancel;
}

bool PageButtons::handle(const ui::Notification& n, const std::function<void()>& onBack,
                         const std::function<void()>& onNext, const std::function<void()>& onCancel) const {
    if (n.kind != ui::NotifyKind::Click)
        return false;
    const std::function<void()>* action = &n.control == back     ? &onBack
                                          : &n.control == next   ? &onNext
                                          : &n.control == cancel ? &onCancel
                                                                 : nullptr;
    if (!action)
        return false;
    (*action)();
    return true;
}

} // namespace wizard
