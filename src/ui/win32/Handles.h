#pragma once
// Move-only owners of the window system's handles: windows, GDI objects, loaded modules, atoms.
#include <windows.h>

#include <utility>

namespace ui::win32 {

template <typename Traits> class Unique {
public:
    using Handle = typename Traits::Handle;
    Unique() = default;
    explicit Unique(Handle h) : h_(h) {}
    ~Unique() { reset(); }
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Handle{})) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o)
            reset(std::exchange(o.h_, Handle{}));
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Handle{}; }
    void reset(Handle h = Handle{}) {
        if (h_ != Handle{})
            Traits::close(h_);
        h_ = h;
    }
    Handle release() { return std::exchange(h_, Handle{}); }

private:
    Handle h_{};
};

struct WindowTraits {
    using Handle = HWND;
    static void close(HWND h) { DestroyWindow(h); }
};
struct GdiTraits {
    using Handle = HGDIOBJ;
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static void close(HMODULE h) { FreeLibrary(h); }
};
struct AtomTraits {
    using Handle = ATOM;
    static void close(ATOM a) { GlobalDeleteAtom(a); }
};

using UniqueWindow = Unique<WindowTraits>;
using UniqueGdi = Unique<GdiTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueAtom = Unique<AtomTraits>;

} // namespace ui::win32
