#pragma once
// The root of a layout: a window or a modal dialog. It lays its children out vertically, keeps the
// fonts of config.xml, runs the page's message hook before the toolkit, and turns posted records
// into calls of the page's private-message handlers on the UI thread.
#include "ui/core/Backend.h"
#include "ui/core/Containers.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace ui {

struct FontInfo {
    int id = 0;
    std::wstring face;
    int size = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool isDefault = false;
    friend bool operator==(const FontInfo&, const FontInfo&) = default;
};

// The input and window events the hook sees, with the Windows message values.
struct WindowMessage {
    enum Kind : unsigned { Close = 0x0010, KeyDown = 0x0100, Char = 0x0102, LButtonDown = 0x0201 };
    Kind kind;
    unsigned key = 0; // virtual-key code (KeyDown) or character (Char)
    bool ctrl = false;
};

class Window;

// A handle other threads keep to post records to one window. Copy it on the UI thread; use it
// from any thread. Records posted after the window is gone are freed unseen.
class WindowPoster {
public:
    WindowPoster() = default;
    // Hands `record` to the window's handler of `message`; ownership passes with it.
    template <typename T> bool post(unsigned message, std::unique_ptr<T> record) const;
    // Runs the handler of `message` on the UI thread with `record` and waits for it.
    template <typename T> bool send(unsigned message, T& record) const;
    bool valid() const { return dispatcher_ != nullptr; }

private:
    friend class Window;
    struct Life {
        Window* window;
    };
    WindowPoster(std::weak_ptr<Life> life, Dispatcher* d) : life_(std::move(life)), dispatcher_(d) {}
    static void deliver(const std::weak_ptr<Life>& life, unsigned message, std::type_index type,
                        void* record);
    std::weak_ptr<Life> life_;
    Dispatcher* dispatcher_ = nullptr;
};

class Window : public VerticalLayout {
public:
    Window();
    ~Window() override;

    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

    // The layout's client size ("size" attribute) and the height of the caption (drag) area.
    Size initialSize() const { return initialSize_; }
    int captionHeight() const { return captionHeight_; }

    const std::vector<FontInfo>& fonts() const { return fonts_; }
    void setFonts(std::vector<FontInfo> fonts) { fonts_ = std::move(fonts); }
    const FontInfo* findFont(int id) const;

    // The page's hook, called before the toolkit handles a message. Returning true consumes it.
    using MessageHook = std::function<bool(Window&, const WindowMessage&)>;
    void setMessageHook(MessageHook hook) { hook_ = std::move(hook); }
    // A message from the backend: the hook first, then the toolkit (Close closes the window).
    void handleMessage(const WindowMessage& message);
    // Closes the window as its close button does (the hook sees the Close first).
    void requestClose() { handleMessage({WindowMessage::Close}); }
    bool closed() const { return closed_; }

    // Private messages: `handler` gets each record of type T posted to `message`.
    template <typename T> void onPrivate(unsigned message, std::function<void(T&)> handler) {
        handlers_.insert_or_assign(
            message, Handler{std::type_index(typeid(T)),
                             [h = std::move(handler)](void* record) { h(*static_cast<T*>(record)); }});
    }
    WindowPoster poster();

    // Modal dialogs and message boxes through the backend; without one, the cancel answer.
    int showModal(Window& dialog);
    void endModal(int code);
    int messageBox(std::wstring_view text, std::wstring_view caption, unsigned flags);

private:
    friend class WindowPoster;
    void deliverPrivate(unsigned message, std::type_index type, void* record);

    struct Handler {
        std::type_index type;
        std::function<void(void*)> call;
    };
    Size initialSize_;
    int captionHeight_ = 0;
    std::vector<FontInfo> fonts_;
    MessageHook hook_;
    bool closed_ = false;
    std::map<unsigned, Handler> handlers_;
    std::shared_ptr<WindowPoster::Life> life_;
};

template <typename T> bool WindowPoster::post(unsigned message, std::unique_ptr<T> record) const {
    if (!dispatcher_)
        return false;
    return dispatcher_->post([life = life_, message, r = std::move(record)]() mutable {
        deliver(life, message, std::type_index(typeid(T)), r.get());
    });
}

template <typename T> bool WindowPoster::send(unsigned message, T& record) const {
    if (!dispatcher_)
        return false;
    return dispatcher_->send(
        [life = life_, message, &record] { deliver(life, message, std::type_index(typeid(T)), &record); });
}

} // namespace ui
