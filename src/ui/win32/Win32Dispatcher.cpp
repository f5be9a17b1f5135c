#include "ui/win32/Win32Dispatcher.h"

namespace ui::win32 {

void Win32Dispatcher::Waiter::finish(bool r) {
    {
        std::lock_guard lock(mutex);
        finished = true;
        ran = r;
    }
    done.notify_all();
}

Win32Dispatcher::Win32Dispatcher() : uiThread_(GetCurrentThreadId()) {}

Win32Dispatcher::~Win32Dispatcher() {
    close();
}

bool Win32Dispatcher::enqueue(Item item) {
    std::unique_lock lock(mutex_);
    if (closed_)
        return false; // the item (and what its task owns) is freed on return
    queue_.push_back(std::move(item));
    HWND target = target_;
    lock.unlock();
    // A wake-up per task, so that a nested message loop (a modal dialog run by a task) runs later
    // tasks too; a handler that finds the queue empty does nothing.
    if (target)
        PostMessageW(target, kWakeMessage, 0, 0);
    return true;
}

bool Win32Dispatcher::post(Task task) {
    return enqueue({std::move(task), nullptr});
}

bool Win32Dispatcher::send(Task task) {
    if (GetCurrentThreadId() == uiThread_) {
        {
            std::lock_guard lock(mutex_);
            if (closed_)
                return false;
        }
        task();
        return true;
    }
    auto waiter = std::make_shared<Waiter>();
    if (!enqueue({std::move(task), waiter}))
        return false;
    std::unique_lock lock(waiter->mutex);
    waiter->done.wait(lock, [&] { return waiter->finished; });
    return waiter->ran;
}

void Win32Dispatcher::setTarget(HWND target) {
    std::unique_lock lock(mutex_);
    target_ = target;
    const bool pending = !queue_.empty();
    lock.unlock();
    if (target && pending)
        PostMessageW(target, kWakeMessage, 0, 0);
}

void Win32Dispatcher::runPending() {
    for (;;) {
        Item item;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                return;
            item = std::move(queue_.front());
            queue_.pop_front();
        }
        item.task();
        if (item.waiter)
            item.waiter->finish(true);
    }
}

void Win32Dispatcher::close() {
    std::deque<Item> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        target_ = nullptr;
        dropped.swap(queue_);
    }
    for (auto& item : dropped) {
        item.task = Task(); // frees its record before the sender wakes
        if (item.waiter)
            item.waiter->finish(false);
    }
}

} // namespace ui::win32
