#pragma once
// Move-only owners of Win32 handles, all built from one traits template.
#include <windows.h>

#include <utility>

namespace win32 {

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o)
            reset(std::exchange(o.h_, Traits::invalid()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type get() const noexcept { return h_; }
    Type* out() noexcept {
        reset();
        return &h_;
    }
    Type release() noexcept { return std::exchange(h_, Traits::invalid()); }
    explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
    void reset(Type h = Traits::invalid()) noexcept {
        if (h_ != Traits::invalid())
            Traits::close(h_);
        h_ = h;
    }

private:
    Type h_ = Traits::invalid();
};

struct KernelHandleTraits { // handles closed by CloseHandle, invalid as NULL
    using Type = HANDLE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits { // CreateFile's handles, invalid as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::RegCloseKey(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::FreeLibrary(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;

} // namespace win32
