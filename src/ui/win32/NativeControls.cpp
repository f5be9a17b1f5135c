#include "ui/win32/NativeControls.h"

#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/win32/GlyphButton.h"

#include <commctrl.h>
#include <richedit.h>

namespace ui::win32 {
namespace {

struct ClassAndStyle {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle = 0;
};

ClassAndStyle classFor(const Control& c, const wchar_t* richEditClass) {
    constexpr DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    if (dynamic_cast<const Option*>(&c))
        return {WC_BUTTONW, child | WS_TABSTOP | BS_RADIOBUTTON};
    if (dynamic_cast<const CheckBox*>(&c))
        return {WC_BUTTONW, child | WS_TABSTOP | BS_CHECKBOX};
    if (isGlyphButton(c))
        return {WC_BUTTONW, child | WS_TABSTOP | BS_OWNERDRAW};
    if (dynamic_cast<const Button*>(&c))
        return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON};
    if (auto* e = dynamic_cast<const Edit*>(&c))
        return {WC_EDITW, child | WS_TABSTOP | ES_AUTOHSCROLL | (e->readOnly() ? ES_READONLY : 0u),
                WS_EX_CLIENTEDGE};
    if (dynamic_cast<const Combo*>(&c))
        return {WC_COMBOBOXW, child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    if (dynamic_cast<const Progress*>(&c))
        return {PROGRESS_CLASSW, child};
    if (dynamic_cast<const Grid*>(&c))
        return {WC_LISTVIEWW,
                child | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                WS_EX_CLIENTEDGE};
    if (dynamic_cast<const Tree*>(&c))
        return {WC_TREEVIEWW,
                child | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                WS_EX_CLIENTEDGE};
    if (dynamic_cast<const RichEdit*>(&c))
        return {richEditClass, child | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE};
    // Labels, pictures and anything else: text that takes no input.
    DWORD align = SS_LEFT;
    if (auto it = c.look().find("align"); it != c.look().end())
        align = it->second == L"center" ? SS_CENTER : it->second == L"right" ? SS_RIGHT : SS_LEFT;
    // One line of text sits in the middle of its height, as in a title bar.
    const DWORD middle = c.text().find(L'\n') == std::wstring::npos ? SS_CENTERIMAGE : 0;
    return {WC_STATICW, child | SS_NOPREFIX | align | middle};
}

} // namespace

NativeControl::NativeControl(Control& control, HWND parent, const wchar_t* richEditClass)
    : control_(control) {
    const ClassAndStyle cs = classFor(control, richEditClass);
    hwnd_.reset(CreateWindowExW(cs.exStyle, cs.cls, L"", cs.style, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    if (!hwnd_)
        return;
    if (!control.name().empty() && control.name().size() < 255) {
        name_.reset(GlobalAddAtomW(control.name().c_str()));
        if (name_)
            SetPropW(hwnd(), kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(name_.get())));
    }
    if (auto* e = dynamic_cast<Edit*>(&control); e && e->maxChars() > 0)
        SendMessageW(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(e->maxChars()), 0);
    if (auto* g = dynamic_cast<Grid*>(&control)) {
        ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        int index = 0;
        for (const auto& column : g->columns()) {
            LVCOLUMNW lc{};
            lc.mask = LVCF_TEXT | LVCF_WIDTH;
            lc.cx = column.width > 0 ? column.width : 100;
            lc.pszText = const_cast<wchar_t*>(column.text.c_str());
            SendMessageW(hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++),
                         reinterpret_cast<LPARAM>(&lc));
        }
    }
    if (dynamic_cast<RichEdit*>(&control)) {
        SendMessageW(hwnd(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
        SendMessageW(hwnd(), EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    }
}

NativeControl::~NativeControl() {
    if (hwnd_)
        RemovePropW(hwnd(), kNameProperty);
    hwnd_.reset();
}

void NativeControl::syncText() {
    if (dynamic_cast<RichEdit*>(&control_))
        return syncContent();
    ++syncing_;
    const std::wstring& text = control_.text();
    const int length = GetWindowTextLengthW(hwnd());
    std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
    shown.resize(static_cast<std::size_t>(GetWindowTextW(hwnd(), shown.data(), length + 1)));
    if (shown != text)
        SetWindowTextW(hwnd(), text.c_str());
    --syncing_;
}

void NativeControl::syncEnabled() {
    bool enabled = true;
    for (const Control* c = &control_; c; c = c->parent())
        enabled = enabled && c->enabled();
    EnableWindow(hwnd(), enabled);
}

void NativeControl::syncState() {
    ++syncing_;
    if (auto* check = dynamic_cast<CheckBox*>(&control_))
        SendMessageW(hwnd(), BM_SETCHECK, check->selected() ? BST_CHECKED : BST_UNCHECKED, 0);
    else if (auto* combo = dynamic_cast<Combo*>(&control_))
        SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo->selectedIndex()), 0);
    else if (auto* progress = dynamic_cast<Progress*>(&control_)) {
        SendMessageW(hwnd(), PBM_SETRANGE32, 0, progress->maximum());
        SendMessageW(hwnd(), PBM_SETPOS, static_cast<WPARAM>(progress->value()), 0);
    } else if (auto* grid = dynamic_cast<Grid*>(&control_)) {
        const int selected = grid->selectedRow();
        const int current = ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
        if (current != selected) {
            ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            if (selected >= 0)
                ListView_SetItemState(hwnd(), selected, LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
        }
    } else if (auto* tree = dynamic_cast<Tree*>(&control_)) {
        auto it = items_.find(tree->selected());
        TreeView_SelectItem(hwnd(), it == items_.end() ? nullptr : it->second);
    }
    --syncing_;
}

void NativeControl::addNodes(HTREEITEM parent, const std::vector<std::unique_ptr<Tree::Node>>& nodes) {
    for (const auto& node : nodes) {
        TVINSERTSTRUCTW ins{};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<wchar_t*>(node->text.c_str());
        ins.item.lParam = reinterpret_cast<LPARAM>(node.get());
        HTREEITEM item = TreeView_InsertItem(hwnd(), &ins);
        items_[node.get()] = item;
        addNodes(item, node->children);
        if (node->expanded)
            TreeView_Expand(hwnd(), item, TVE_EXPAND);
    }
}

Tree::Node* NativeControl::nodeOf(HTREEITEM item) const {
    for (auto& [node, it] : items_)
        if (it == item)
            return const_cast<Tree::Node*>(node);
    return nullptr;
}

// The log only grows between clears: append what is new, in its colours.
void NativeControl::appendLog() {
    auto& log = static_cast<RichEdit&>(control_);
    std::size_t total = 0;
    for (const auto& run : log.runs())
        total += run.text.size();
    if (total < logShown_) {
        SetWindowTextW(hwnd(), L"");
        logShown_ = 0;
    }
    std::size_t skip = logShown_;
    for (const auto& run : log.runs()) {
        if (skip >= run.text.size()) {
            skip -= run.text.size();
            continue;
        }
        std::wstring piece = run.text.substr(skip);
        skip = 0;
        const int end = GetWindowTextLengthW(hwnd());
        SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(end), end);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_COLOR;
        format.crTextColor = run.colour;
        SendMessageW(hwnd(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageW(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    }
    logShown_ = total;
    SendMessageW(hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
}

void NativeControl::syncContent() {
    ++syncing_;
    if (auto* combo = dynamic_cast<Combo*>(&control_)) {
        SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
        for (const auto& item : combo->items())
            SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo->selectedIndex()), 0);
    } else if (auto* grid = dynamic_cast<Grid*>(&control_)) {
        SendMessageW(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(grid->rowCount()), LVSICF_NOSCROLL);
        InvalidateRect(hwnd(), nullptr, FALSE);
    } else if (auto* tree = dynamic_cast<Tree*>(&control_)) {
        TreeView_DeleteAllItems(hwnd());
        items_.clear();
        addNodes(TVI_ROOT, tree->roots());
    } else if (dynamic_cast<RichEdit*>(&control_)) {
        appendLog();
    }
    --syncing_;
    syncState();
}

void NativeControl::syncAll() {
    syncText();
    syncEnabled();
    syncContent();
}

std::wstring layoutNameOf(HWND hwnd) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(hwnd, kNameProperty)));
    if (!atom)
        return {};
    wchar_t name[256] = {};
    const UINT n = GlobalGetAtomNameW(atom, name, 256);
    return std::wstring(name, n);
}

} // namespace ui::win32
