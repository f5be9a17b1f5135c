#include "ui/headless/HeadlessDispatcher.h"

#include <memory>

namespace ui::headless {

HeadlessDispatcher::HeadlessDispatcher() : uiThread_(std::this_thread::get_id()) {}

HeadlessDispatcher::~HeadlessDispatcher() {
    close();
}

bool HeadlessDispatcher::post(Task task) {
    std::unique_lock lock(mutex_);
    if (closed_) {
        lock.unlock(); // the task (and its record) is freed outside the lock
        return false;
    }
    queue_.push_back(std::move(task));
    changed_.notify_all();
    return true;
}

bool HeadlessDispatcher::send(Task task) {
    if (onUiThread()) {
        {
            std::lock_guard lock(mutex_);
            if (closed_)
                return false;
        }
        task();
        return true;
    }
    // The waiter learns the outcome from a state both sides share; a dropped task says so when it is
    // destroyed unrun.
    struct State {
        bool done = false;
        bool ran = false;
    };
    auto state = std::make_shared<State>();
    struct Mark {
        std::shared_ptr<State> state;
        HeadlessDispatcher* self;
        ~Mark() {
            if (!state)
                return;
            std::lock_guard lock(self->mutex_);
            state->done = true;
            self->changed_.notify_all();
        }
        Mark(std::shared_ptr<State> s, HeadlessDispatcher* d) : state(std::move(s)), self(d) {}
        Mark(Mark&& o) noexcept : state(std::move(o.state)), self(o.self) {}
    };
    bool queued = post([t = std::move(task), mark = Mark(state, this)]() mutable {
        t();
        std::lock_guard lock(mark.self->mutex_);
        mark.state->ran = true;
    });
    if (!queued)
        return false;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return state->done; });
    return state->ran;
}

std::size_t HeadlessDispatcher::pump() {
    std::size_t ran = 0;
    for (;;) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                return ran;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
        ++ran;
    }
}

std::size_t HeadlessDispatcher::pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void HeadlessDispatcher::close() {
    std::deque<Task> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(queue_);
    }
    // Dropped outside the lock: a dropped send marks itself done under the lock.
}

} // namespace ui::headless
