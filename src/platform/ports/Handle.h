#pragma once
// Handles that a port gives out: an opaque id plus the port that closes it. Callers never see
// the operating system's handle; moving transfers ownership, destruction closes.
#include <cstdint>
#include <utility>

namespace ports {

// A window as the ports see it (an HWND as a number on Windows); 0 is "no window".
using WindowId = std::uintptr_t;

// Implemented by every port that gives out handles. A port checks that a handle passed to it is its
// own and answers winerr::InvalidHandle otherwise.
class HandleCloser {
public:
    virtual void closeHandle(std::uint64_t id) noexcept = 0;

protected:
    ~HandleCloser() = default;
};

// The tag keeps printer handles, service handles, pipes... apart at compile time.
template <typename Tag> class Handle {
public:
    Handle() noexcept = default;
    Handle(HandleCloser& owner, std::uint64_t id) noexcept : owner_(&owner), id_(id) {}
    ~Handle() { reset(); }
    Handle(Handle&& o) noexcept : owner_(std::exchange(o.owner_, nullptr)), id_(std::exchange(o.id_, 0)) {}
    Handle& operator=(Handle&& o) noexcept {
        if (this != &o) {
            reset();
            owner_ = std::exchange(o.owner_, nullptr);
            id_ = std::exchange(o.id_, 0);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    // Closes now; the result of the close is not reported (as the callers ignore ClosePrinter's).
    void reset() noexcept {
        if (owner_)
            owner_->closeHandle(id_);
        owner_ = nullptr;
        id_ = 0;
    }
    explicit operator bool() const noexcept { return owner_ != nullptr; }
    std::uint64_t id() const noexcept { return id_; }
    const HandleCloser* owner() const noexcept { return owner_; }

private:
    HandleCloser* owner_ = nullptr;
    std::uint64_t id_ = 0;
};

} // namespace ports
