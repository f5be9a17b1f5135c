#pragma once
// The objects behind a port's ports::Handle values, for the Win32 ports and the simulated machine
// alike: an id for each open object, kept in a table under a lock, so that a handle closed on one
// thread is gone for every other (the next use answers ERROR_INVALID_HANDLE, as a closed Windows
// handle does), and a handle from another port or a made-up one is recognised. find() shares
// ownership of the entry, so an entry in use on one thread stays alive while another closes it;
// its last user destroys it (closing its system handle) outside the table's lock.
#include "platform/ports/Handle.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

template <typename T> class HandleTable {
public:
    std::uint64_t add(T value) {
        std::lock_guard lock(mutex_);
        const std::uint64_t id = next_++;
        items_.emplace(id, std::make_shared<T>(std::move(value)));
        return id;
    }
    // The object behind a handle, when the handle is open and was given out by `owner`.
    template <typename Tag>
    std::shared_ptr<T> find(const ports::Handle<Tag>& handle, const ports::HandleCloser* owner) const {
        if (!handle || handle.owner() != owner)
            return nullptr;
        return find(handle.id());
    }
    std::shared_ptr<T> find(std::uint64_t id) const {
        std::lock_guard lock(mutex_);
        auto it = items_.find(id);
        return it == items_.end() ? nullptr : it->second;
    }
    std::shared_ptr<T> remove(std::uint64_t id) {
        std::lock_guard lock(mutex_);
        auto it = items_.find(id);
        if (it == items_.end())
            return nullptr;
        auto value = std::move(it->second);
        items_.erase(it);
        return value;
    }

private:
    mutable std::mutex mutex_;
    std::uint64_t next_ = 1;
    std::map<std::uint64_t, std::shared_ptr<T>> items_;
};

} // namespace platform
