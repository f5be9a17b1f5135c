#include "ui/win32/Automation.h"

#include "base/Utf.h"
#include "ui/core/Controls.h"
#include "ui/win32/FontSet.h"
#include "ui/win32/NativeControls.h"

#include <ws2tcpip.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace ui::win32 {
namespace {

std::string narrow(std::wstring_view s) {
    std::string out = text::toUtf8(s);
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

void listControls(NativeWindow& window, Control& c, std::ostringstream& out) {
    if (!c.isContainer()) {
        const Rect& r = c.rect();
        out << narrow(c.name()) << '\t' << narrow(c.className()) << '\t' << narrow(c.text()) << '\t'
            << (c.isShown() ? 1 : 0) << '\t' << (c.enabled() ? 1 : 0) << '\t' << r.left << ',' << r.top << ','
            << r.right << ',' << r.bottom << '\t';
        if (auto* check = dynamic_cast<CheckBox*>(&c))
            out << (check->selected() ? 1 : 0);
        else if (auto* progress = dynamic_cast<Progress*>(&c))
            out << progress->value();
        else
            out << '-';
        out << '\n';
        return;
    }
    for (auto& child : c.children())
        listControls(window, *child, out);
}

Tab* mainTab(Control& c) {
    if (auto* tab = dynamic_cast<Tab*>(&c))
        return tab;
    for (auto& child : c.children())
        if (auto* tab = mainTab(*child))
            return tab;
    return nullptr;
}

// The window's client area as a bottom-up 24-bit BMP.
bool screenshot(HWND window, const std::wstring& file) {
    RECT r{};
    GetClientRect(window, &r);
    const int w = r.right, h = r.bottom;
    if (w <= 0 || h <= 0)
        return false;
    // Requests come faster than the low-priority WM_PAINT: what a change left unpainted (a dialog
    // just opened, texts just translated) is painted now, or it would show black.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // PRF_CHILDREN draws the child windows too, whether or not the window is covered.
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND | PRF_NONCLIENT);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER header{0x4D42,
                            static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
                            0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    FILE* f = _wfopen(file.c_str(), L"wb");
    bool ok = f != nullptr;
    if (f) {
        ok = fwrite(&header, sizeof(header), 1, f) == 1 &&
             fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f) == 1 && fwrite(bits, size, 1, f) == 1;
        fclose(f);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return ok;
}

} // namespace

unsigned short AutomationServer::portFromEnvironment() {
    const wchar_t* value = _wgetenv(L"ORVELLO_AUTOMATION");
    if (!value)
        return 0;
    const long port = std::wcstol(value, nullptr, 10);
    return port > 0 && port < 65536 ? static_cast<unsigned short>(port) : 0;
}

std::string AutomationServer::answer(Win32Backend& backend, const std::string& request) {
    NativeWindow* window = backend.topWindow();
    if (!window)
        return "error no window";
    Window& model = window->model();
    std::istringstream in(request);
    std::string verb, name;
    in >> verb >> name;
    std::string rest;
    std::getline(in, rest);
    if (!rest.empty() && rest.front() == ' ')
        rest.erase(0, 1);
    std::ostringstream out;
    if (verb == "list") {
        listControls(*window, model, out);
        return out.str() + "ok";
    }
    if (verb == "page") {
        Tab* tab = backend.frame() ? mainTab(backend.frame()->model()) : nullptr;
        return tab && tab->selected() ? narrow(tab->selected()->name()) + "\nok" : "error no page";
    }
    if (verb == "key") {
        const unsigned key = static_cast<unsigned>(std::strtoul(name.c_str(), nullptr, 10));
        backend.pressKey(*window, key, rest == "ctrl");
        return "ok";
    }
    if (verb == "screenshot") {
        const std::wstring file = text::fromUtf8(request.substr(request.find(' ') + 1));
        return screenshot(window->hwnd(), file) ? "ok" : "error cannot write the screenshot";
    }
    Control* control = model.find(text::fromUtf8(name));
    if (!control)
        return "error no control " + name;
    HWND hwnd = window->hwndOf(*control);
    if (verb == "select")
        if (auto* tab = dynamic_cast<Tab*>(control))
            return tab->select(text::fromUtf8(rest)) ? "ok" : "error no page " + rest;
    if (!hwnd)
        return "error no native window for " + name;
    if (!control->isShown() || !IsWindowEnabled(hwnd))
        return "error " + name + " is hidden or disabled";
    if (verb == "click" || (verb == "select" && dynamic_cast<CheckBox*>(control))) {
        model.handleMessage({WindowMessage::LButtonDown});
        SendMessageW(hwnd, BM_CLICK, 0, 0);
        return "ok";
    }
    if (verb == "press") {
        model.handleMessage({WindowMessage::LButtonDown});
        return PostMessageW(hwnd, BM_CLICK, 0, 0) ? "ok" : "error cannot post to " + name;
    }
    if (verb == "missing") {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        return std::to_string(font ? missingGlyphs(font, control->text()) : 0) + "\nok";
    }
    if (verb == "settext" && dynamic_cast<Edit*>(control)) {
        SetWindowTextW(hwnd, text::fromUtf8(rest).c_str());
        return "ok";
    }
    if (verb == "select" && dynamic_cast<Combo*>(control)) {
        SendMessageW(hwnd, CB_SETCURSEL, std::strtoul(rest.c_str(), nullptr, 10), 0);
        SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(hwnd));
        return "ok";
    }
    return "error cannot " + verb + " " + name;
}

AutomationServer::AutomationServer(Win32Backend& backend, unsigned short port) : backend_(backend) {
    listen_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listen_ == INVALID_SOCKET)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // 127.0.0.1 only
    if (bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listen_, 1) != 0) {
        closesocket(listen_);
        listen_ = INVALID_SOCKET;
        return;
    }
    thread_ = std::thread([this] { run(); });
}

AutomationServer::~AutomationServer() {
    std::shared_ptr<Pending> waiting;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting = current_;
    }
    if (waiting) {
        {
            std::lock_guard pending(waiting->mutex);
            waiting->finished = true;
        }
        waiting->done.notify_all();
    }
    if (listen_ != INVALID_SOCKET)
        closesocket(listen_); // ends accept
    {
        std::unique_lock lock(mutex_);
        answered_.wait_for(lock, std::chrono::seconds(2), [this] { return !answering_; });
    }
    if (SOCKET c = client_.exchange(INVALID_SOCKET); c != INVALID_SOCKET)
        closesocket(c); // ends recv
    if (thread_.joinable())
        thread_.join();
}

// Runs the request on the UI thread and waits, unless the server stops first (the UI thread is
// then the one stopping it and will not run the task while the frame is being destroyed).
std::string AutomationServer::onUiThread(const std::string& request) {
    auto pending = std::make_shared<Pending>();
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return "error stopping";
        current_ = pending;
    }
    Win32Backend* backend = &backend_;
    const bool posted = backend_.dispatcher().post([pending, backend, request] {
        std::string reply = answer(*backend, request);
        {
            std::lock_guard lock(pending->mutex);
            pending->reply = std::move(reply);
            pending->finished = true;
        }
        pending->done.notify_all();
    });
    if (!posted)
        return "error the window is gone";
    std::unique_lock lock(pending->mutex);
    pending->done.wait(lock, [&] { return pending->finished; });
    return pending->reply.empty() ? "error stopping" : pending->reply;
}

bool AutomationServer::serve(SOCKET client) {
    std::string buffer;
    char chunk[1024];
    for (;;) {
        const int n = recv(client, chunk, sizeof(chunk), 0);
        if (n <= 0)
            return false;
        buffer.append(chunk, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = buffer.find('\n')) != std::string::npos) {
            std::string line = buffer.substr(0, end);
            buffer.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            {
                std::lock_guard lock(mutex_);
                answering_ = true;
            }
            const std::string reply = onUiThread(line) + "\n";
            const bool sent = send(client, reply.data(), static_cast<int>(reply.size()), 0) ==
                              static_cast<int>(reply.size());
            {
                std::lock_guard lock(mutex_);
                answering_ = false;
            }
            answered_.notify_all();
            if (!sent || stopping_)
                return false;
        }
    }
}

void AutomationServer::run() {
    while (!stopping_) {
        SOCKET client = accept(listen_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        client_ = client;
        serve(client);
        if (SOCKET c = client_.exchange(INVALID_SOCKET); c != INVALID_SOCKET)
            closesocket(c);
    }
}

} // namespace ui::win32
