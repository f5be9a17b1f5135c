#include "ui/win32/NativeWindow.h"

#include "ui/core/Attributes.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/GlyphButton.h"
#include "ui/win32/Win32Backend.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace ui::win32 {
namespace {

constexpr Colour kWhite = 0x00FFFFFF;

std::optional<Colour> lookColour(const Control& c, std::string_view name) {
    auto it = c.look().find(name);
    return it == c.look().end() ? std::nullopt : parseColour(it->second);
}

// The colour behind a control: its own background, else the nearest ancestor's.
Colour backgroundOf(const Control& c) {
    for (const Control* p = &c; p; p = p->parent())
        if (auto colour = lookColour(*p, "bkcolor"))
            return *colour;
    return kWhite;
}

// Menus are shown on demand, not as child windows.
bool insideMenu(const Control& c) {
    for (const Control* p = &c; p; p = p->parent())
        if (dynamic_cast<const Menu*>(p))
            return true;
    return false;
}

} // namespace

const wchar_t* NativeWindow::className() {
    return L"Orvello.Window";
}

NativeWindow::NativeWindow(Win32Backend& backend, Window& model, HWND owner)
    : backend_(backend), model_(model) {
    hwnd_.reset(CreateWindowExW(owner ? 0 : WS_EX_APPWINDOW, className(), model.text().c_str(),
                                WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleW(nullptr), this));
    if (!hwnd_)
        return;
    createChildren(model_);
    applyDpi(dpiOf(hwnd()));
}

NativeWindow::~NativeWindow() {
    byHwnd_.clear();
    natives_.clear();
    if (hwnd_)
        SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
    hwnd_.reset();
}

void NativeWindow::createChildren(Control& control) {
    if (insideMenu(control))
        return;
    if (control.isContainer()) {
        for (auto& child : control.children())
            createChildren(*child);
        return;
    }
    auto native = std::make_unique<NativeControl>(control, hwnd(), backend_.richEditClass_);
    if (!native->valid())
        return;
    native->syncAll();
    byHwnd_[native->hwnd()] = native.get();
    natives_[&control] = std::move(native);
}

// The size the window's layout asks for at this DPI, fonts to match, and everything placed again.
void NativeWindow::applyDpi(int dpi) {
    scale_ = scaleOf(dpi);
    fonts_.build(model_.fonts(), scale_);
    for (auto& [control, native] : natives_)
        SendMessageW(native->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(*control)), FALSE);
    const Size size = model_.initialSize();
    RECT r{0, 0, scaled(size.width > 0 ? size.width : 400, scale_),
           scaled(size.height > 0 ? size.height : 300, scale_)};
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
}

void NativeWindow::show() {
    RECT mine{}, around{};
    GetWindowRect(hwnd(), &mine);
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (!owner || !GetWindowRect(owner, &around))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    const int w = mine.right - mine.left, h = mine.bottom - mine.top;
    SetWindowPos(hwnd(), nullptr, around.left + (around.right - around.left - w) / 2,
                 around.top + (around.bottom - around.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    layout();
    backend_.moveFocus(*this, false);
}

Size NativeWindow::preferred(const Control& control) const {
    HDC dc = GetDC(hwnd());
    HGDIOBJ old = SelectObject(dc, fontOf(control));
    int width = 0, height = 0;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    std::wstring_view text = control.text();
    do {
        const std::size_t end = std::min(text.find(L'\n'), text.size());
        SIZE s{};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(end), &s);
        width = std::max(width, static_cast<int>(s.cx));
        height += tm.tmHeight;
        text.remove_prefix(std::min(end + 1, text.size()));
    } while (!text.empty());
    SelectObject(dc, old);
    ReleaseDC(hwnd(), dc);
    // Back to unscaled pixels: the layout scales every size itself.
    width = static_cast<int>(std::ceil(width / scale_));
    height = static_cast<int>(std::ceil(height / scale_));
    if (dynamic_cast<const CheckBox*>(&control))
        return {width + 24, std::max(height, 16) + 4};
    if (dynamic_cast<const Button*>(&control))
        return {width + 24, height + 10};
    if (dynamic_cast<const Edit*>(&control) || dynamic_cast<const Combo*>(&control))
        return {std::max(width + 12, 120), height + 10};
    return {width + 4, height + 4};
}

void NativeWindow::layout() {
    layoutPending_ = false;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const LayoutMap map = computeLayout(model_, Size{client.right, client.bottom}, scale_, *this);
    applyLayout(model_, map);
    for (auto& [control, native] : natives_) {
        const Rect& r = control->rect();
        if (!control->isShown() || r.empty()) {
            ShowWindow(native->hwnd(), SW_HIDE);
            continue;
        }
        Rect place = r;
        // A static control has no inset of its own: a label's padding moves its text in (the title
        // bar's caption off the window's edge), and the container's colour shows around it.
        if (dynamic_cast<const Label*>(control)) {
            const Edges& p = control->sizeRules().padding;
            place = {r.left + scaled(p.left, scale_), r.top + scaled(p.top, scale_),
                     r.right - scaled(p.right, scale_), r.bottom - scaled(p.bottom, scale_)};
            if (place.empty())
                place = r;
        }
        // A drop-down list opens below the box: give the window room for it.
        const int height = dynamic_cast<const Combo*>(control) ? place.height() * 8 : place.height();
        SetWindowPos(native->hwnd(), nullptr, place.left, place.top, place.width(), height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void NativeWindow::scheduleLayout() {
    if (layoutPending_)
        return;
    layoutPending_ = true;
    PostMessageW(hwnd(), kLayoutMessage, 0, 0);
}

void NativeWindow::changed(Control& control, Change what) {
    if (&control == &model_ && what == Change::Text) {
        SetWindowTextW(hwnd(), model_.text().c_str());
        return;
    }
    auto it = natives_.find(&control);
    if (it == natives_.end()) {
        // A container: what it shows or enables reaches the leaves below it.
        if (what == Change::Visible)
            scheduleLayout();
        else if (what == Change::Enabled)
            for (auto& [c, native] : natives_)
                native->syncEnabled();
        return;
    }
    NativeControl& native = *it->second;
    switch (what) {
    case Change::Text:
        SendMessageW(native.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
        native.syncText();
        scheduleLayout(); // a label may need another size
        break;
    case Change::Visible:
        scheduleLayout();
        break;
    case Change::Enabled:
        native.syncEnabled();
        break;
    case Change::State:
        native.syncState();
        break;
    case Change::Content:
        native.syncContent();
        break;
    }
}

void NativeWindow::forget(Control& control) {
    auto it = natives_.find(&control);
    if (it == natives_.end())
        return;
    byHwnd_.erase(it->second->hwnd());
    natives_.erase(it);
}

Control* NativeWindow::controlOf(HWND hwnd) const {
    auto it = byHwnd_.find(hwnd);
    return it == byHwnd_.end() ? nullptr : &it->second->control();
}

HWND NativeWindow::hwndOf(const Control& control) const {
    auto it = natives_.find(&control);
    return it == natives_.end() ? nullptr : it->second->hwnd();
}

HBRUSH NativeWindow::brush(Colour colour) {
    auto& b = brushes_[colour];
    if (!b)
        b.reset(CreateSolidBrush(colour));
    return static_cast<HBRUSH>(b.get());
}

void NativeWindow::paintBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, brush(backgroundOf(model_)));
    // Containers with a colour of their own, parents before children.
    auto paint = [&](auto&& self, const Control& c) -> void {
        if (!c.isShown())
            return;
        if (&c != &model_)
            if (auto colour = lookColour(c, "bkcolor"); colour && c.isContainer()) {
                const Rect& r = c.rect();
                RECT rc{r.left, r.top, r.right, r.bottom};
                FillRect(dc, &rc, brush(*colour));
            }
        for (auto& child : c.children())
            self(self, *child);
    };
    paint(paint, model_);
}

LRESULT NativeWindow::colours(HDC dc, HWND child) {
    Control* c = controlOf(child);
    if (!c || dynamic_cast<Edit*>(c))
        return DefWindowProcW(hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(child));
    const Colour back = backgroundOf(*c);
    SetBkColor(dc, back);
    SetTextColor(dc, lookColour(*c, "textcolor").value_or(GetSysColor(COLOR_WINDOWTEXT)));
    return reinterpret_cast<LRESULT>(brush(back));
}

void NativeWindow::command(HWND child, UINT code) {
    auto it = byHwnd_.find(child);
    if (it == byHwnd_.end() || it->second->syncing())
        return;
    NativeControl& native = *it->second;
    Control& c = native.control();
    if (!c.isShown() || !c.enabled())
        return;
    if (code == BN_CLICKED && (dynamic_cast<Button*>(&c) || dynamic_cast<CheckBox*>(&c))) {
        c.performClick();
        // The model decides the check: put the native state back if it said no.
        if (natives_.count(&c))
            native.syncState();
    } else if (code == EN_CHANGE) {
        if (auto* edit = dynamic_cast<Edit*>(&c)) {
            const int length = GetWindowTextLengthW(child);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), length + 1)));
            if (text != edit->text())
                edit->typeText(std::move(text));
        }
    } else if (code == CBN_SELCHANGE) {
        if (auto* combo = dynamic_cast<Combo*>(&c))
            combo->select(static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0)));
    }
}

LRESULT NativeWindow::notifyFrom(NMHDR& header) {
    auto it = byHwnd_.find(header.hwndFrom);
    if (it == byHwnd_.end())
        return 0;
    NativeControl& native = *it->second;
    if (auto* grid = dynamic_cast<Grid*>(&native.control())) {
        if (header.code == LVN_GETDISPINFOW) {
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
            if (info.item.mask & LVIF_TEXT) {
                scratch_ = grid->cellText(info.item.iItem, info.item.iSubItem);
                if (grid->hasCheckBoxes() && info.item.iSubItem == 0)
                    scratch_ = (grid->isChecked(info.item.iItem) ? L"\x2611 " : L"\x2610 ") + scratch_;
                info.item.pszText = scratch_.data();
            }
        } else if (header.code == NM_CLICK && !native.syncing()) {
            auto& click = reinterpret_cast<NMITEMACTIVATE&>(header);
            LVHITTESTINFO hit{};
            hit.pt = click.ptAction;
            SendMessageW(header.hwndFrom, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem >= 0)
                grid->clickCell(hit.iItem, hit.iSubItem);
        }
    } else if (auto* tree = dynamic_cast<Tree*>(&native.control())) {
        if (header.code == TVN_SELCHANGEDW && !native.syncing()) {
            auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
            tree->select(native.nodeOf(change.itemNew.hItem));
        }
    }
    return 0;
}

LRESULT NativeWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        paintBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        Control* c = item.CtlType == ODT_BUTTON ? controlOf(item.hwndItem) : nullptr;
        if (!c || !isGlyphButton(*c))
            return DefWindowProcW(hwnd(), message, wParam, lParam);
        // On the bar it sits on: the buttons' default face colour is for buttons with text.
        drawGlyphButton(item, *c, backgroundOf(c->parent() ? *c->parent() : *c), scale_);
        return TRUE;
    }
    case WM_NCHITTEST: {
        const LRESULT hit = DefWindowProcW(hwnd(), message, wParam, lParam);
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd(), &p);
        if (hit == HTCLIENT && p.y >= 0 && p.y < scaled(model_.captionHeight(), scale_))
            return HTCAPTION;
        return hit;
    }
    case WM_SIZE:
        layout();
        return 0;
    case 0x02E0: { // WM_DPICHANGED: the suggested rectangle keeps the window where it was
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        applyDpi(HIWORD(wParam));
        return 0;
    }
    case WM_COMMAND:
        if (lParam)
            command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return notifyFrom(*reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
        backend_.timerFired(wParam);
        return 0;
    case WM_CLOSE:
        model_.handleMessage({WindowMessage::Close});
        return 0;
    case Win32Dispatcher::kWakeMessage:
        backend_.runPending();
        return 0;
    case kLayoutMessage:
        if (layoutPending_)
            layout();
        return 0;
    default:
        return DefWindowProcW(hwnd(), message, wParam, lParam);
    }
}

LRESULT CALLBACK NativeWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // Before CreateWindowExW returns, hwnd_ is not set yet.
    if (!self || !self->hwnd_)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

} // namespace ui::win32
