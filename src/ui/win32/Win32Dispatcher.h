#pragma once
// The UI-thread dispatcher of the native backend. Tasks wait in a queue; a private message to the
// target window (the main frame) wakes the UI thread, which runs them in posting order. A task that
// owns a record frees it when it runs or when the queue is dropped at close, never on the way.
#include "ui/core/Task.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace ui::win32 {

class Win32Dispatcher final : public Dispatcher {
public:
    // The message that wakes the target window: its handler calls runPending().
    static constexpr UINT kWakeMessage = WM_APP + 1;

    Win32Dispatcher();
    ~Win32Dispatcher();
    Win32Dispatcher(const Win32Dispatcher&) = delete;
    Win32Dispatcher& operator=(const Win32Dispatcher&) = delete;

    bool post(Task task) override;
    bool send(Task task) override;

    // UI thread: the window whose message loop runs the tasks (null: none yet; tasks wait).
    void setTarget(HWND target);
    // UI thread: runs the tasks queued so far.
    void runPending();
    // Takes no more work and drops what waits (senders return false).
    void close();

private:
    struct Waiter {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool ran = false;
        void finish(bool r);
    };
    struct Item {
        Task task;
        std::shared_ptr<Waiter> waiter;
    };
    bool enqueue(Item item);

    const DWORD uiThread_;
    std::mutex mutex_;
    std::deque<Item> queue_;
    HWND target_ = nullptr;
    bool closed_ = false;
};

} // namespace ui::win32
