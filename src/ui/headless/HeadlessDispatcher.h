#pragma once
// The dispatcher of the headless backend: a queue that the UI thread (the test) pumps. The thread
// that creates it is the UI thread.
#include "ui/core/Task.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace ui::headless {

class HeadlessDispatcher final : public Dispatcher {
public:
    HeadlessDispatcher();
    ~HeadlessDispatcher();

    bool post(Task task) override;
    bool send(Task task) override;

    // Runs queued tasks on the calling (UI) thread until the queue is empty, tasks queued meanwhile
    // included. Returns how many ran.
    std::size_t pump();
    // Tasks waiting.
    std::size_t pending() const;
    // The UI thread takes no more work: pending tasks are dropped (and what they own freed), later
    // posts and sends fail, and senders waiting are released.
    void close();
    bool onUiThread() const { return std::this_thread::get_id() == uiThread_; }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> queue_;
    bool closed_ = false;
    std::thread::id uiThread_;
};

} // namespace ui::headless
