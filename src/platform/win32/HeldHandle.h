#pragma once
// A system handle taken from a port's handle table for the length of one call. Holding the table
// entry keeps the handle open while another thread closes the port handle; the system handle is
// closed when its last user lets go, never under a call that is still using it.
#include <memory>
#include <utility>

namespace win32 {

// Entry: a table entry with a `Type` and get() (a UniqueHandle or a record around one).
template <typename Entry> class HeldHandle {
public:
    using Type = typename Entry::Type;
    HeldHandle() noexcept = default;
    explicit HeldHandle(std::shared_ptr<Entry> entry) noexcept : entry_(std::move(entry)) {}

    // The system handle, or null when the port handle was not an open handle of the port. It
    // converts implicitly so that a held handle passes straight into the Win32 call.
    Type get() const noexcept { return entry_ ? entry_->get() : Type{}; }
    operator Type() const noexcept { return get(); }
    Entry* entry() const noexcept { return entry_.get(); }

private:
    std::shared_ptr<Entry> entry_;
};

} // namespace win32
