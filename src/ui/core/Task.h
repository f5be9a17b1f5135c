#pragma once
// A move-only piece of work for the UI thread. It may own a record (a unique_ptr captured by the
// lambda): the record is freed with the task, whether the task runs or is dropped.
#include <memory>
#include <type_traits>
#include <utility>

namespace ui {

class Task {
public:
    Task() = default;
    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Task>>>
    Task(F&& f) : impl_(std::make_unique<Impl<std::decay_t<F>>>(std::forward<F>(f))) {}

    explicit operator bool() const { return impl_ != nullptr; }
    void operator()() {
        if (impl_)
            impl_->run();
    }

private:
    struct Base {
        virtual ~Base() = default;
        virtual void run() = 0;
    };
    template <typename F> struct Impl final : Base {
        explicit Impl(F f) : fn(std::move(f)) {}
        void run() override { fn(); }
        F fn;
    };
    std::unique_ptr<Base> impl_;
};

// How other threads reach the UI thread. Both calls may be made from any thread.
class Dispatcher {
public:
    // Queues `task` to run on the UI thread in posting order. False (and the task dropped, with what
    // it owns) when the UI thread no longer takes work.
    virtual bool post(Task task) = 0;
    // Runs `task` on the UI thread and waits for it; at once when called on the UI thread. False
    // when the task was dropped instead.
    virtual bool send(Task task) = 0;

protected:
    ~Dispatcher() = default;
};

} // namespace ui
