#include "ui/core/Window.h"

#include "ui/core/Attributes.h"

namespace ui {

Window::Window() : VerticalLayout(L"Window"), life_(std::make_shared<WindowPoster::Life>(this)) {}

// Tasks already queued hold only a weak reference: they find no window and free their record.
Window::~Window() = default;

AttrResult Window::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "size") {
        auto s = parseSize(value);
        if (!s)
            return AttrResult::BadValue;
        initialSize_ = *s;
        return AttrResult::Ok;
    }
    if (name == "caption") {
        // "l,t,r,b" of the drag area; its height is what the frame needs.
        auto e = parseEdges(value);
        if (!e)
            return AttrResult::BadValue;
        captionHeight_ = e->bottom;
        return AttrResult::Ok;
    }
    if (name == "title") {
        setText(std::wstring(value));
        return AttrResult::Ok;
    }
    if (name == "roundcorner" || name == "sizebox" || name == "mininfo" || name == "shadow") {
        // Drawing hints for the native backend.
        return AttrResult::Ok;
    }
    return VerticalLayout::setAttribute(name, value);
}

const FontInfo* Window::findFont(int id) const {
    for (auto& f : fonts_)
        if (f.id == id)
            return &f;
    return nullptr;
}

void Window::handleMessage(const WindowMessage& message) {
    if (hook_ && hook_(*this, message))
        return;
    if (message.kind == WindowMessage::Close && !closed_) {
        closed_ = true;
        if (backend())
            backend()->windowClosed(*this);
    }
}

WindowPoster Window::poster() {
    return WindowPoster(life_, backend() ? &backend()->dispatcher() : nullptr);
}

void WindowPoster::deliver(const std::weak_ptr<Life>& life, unsigned message, std::type_index type,
                           void* record) {
    // Runs on the UI thread, where windows are destroyed: a live lock here stays valid.
    if (auto l = life.lock())
        l->window->deliverPrivate(message, type, record);
}

void Window::deliverPrivate(unsigned message, std::type_index type, void* record) {
    if (closed_)
        return;
    auto it = handlers_.find(message);
    if (it != handlers_.end() && it->second.type == type)
        it->second.call(record);
}

int Window::showModal(Window& dialog) {
    return backend() ? backend()->runModal(*this, dialog) : mb::IdCancel;
}

void Window::endModal(int code) {
    if (backend())
        backend()->endModal(*this, code);
}

int Window::messageBox(std::wstring_view text, std::wstring_view caption, unsigned flags) {
    return backend() ? backend()->messageBox(this, text, caption, flags) : mb::IdCancel;
}

} // namespace ui
