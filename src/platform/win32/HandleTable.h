#pragma once
// The operating-system handles behind a port's ports::Handle values. A port keeps one table: each
// entry owns its handle (a UniqueHandle or a small RAII record), the ports::Handle carries only the
// entry's id, so a handle from another port, a closed one or a made-up one is recognised and
// answered with ERROR_INVALID_HANDLE instead of reaching the system.
#include "platform/ports/Handle.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace win32 {

template <typename Entry> class HandleTable {
public:
    // Takes ownership; the id is never reused in this table.
    std::uint64_t add(Entry entry) {
        std::lock_guard lock(mutex_);
        const std::uint64_t id = ++last_;
        entries_.emplace(id, std::move(entry));
        return id;
    }

    // The entry of a handle given out by `owner` from this table, or null. The pointer stays valid
    // until the handle is closed.
    template <typename Tag> Entry* find(const ports::HandleCloser& owner, const ports::Handle<Tag>& h) {
        if (!h || h.owner() != &owner)
            return nullptr;
        std::lock_guard lock(mutex_);
        auto it = entries_.find(h.id());
        return it == entries_.end() ? nullptr : &it->second;
    }

    // Removes the entry; it is destroyed (closing its handle) outside the lock.
    void close(std::uint64_t id) noexcept {
        std::optional<Entry> gone;
        {
            std::lock_guard lock(mutex_);
            auto it = entries_.find(id);
            if (it == entries_.end())
                return;
            gone.emplace(std::move(it->second));
            entries_.erase(it);
        }
    }

private:
    std::mutex mutex_;
    std::uint64_t last_ = 0;
    std::map<std::uint64_t, Entry> entries_;
};

} // namespace win32
