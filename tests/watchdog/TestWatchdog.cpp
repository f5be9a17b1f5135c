// A test that hangs would hold the whole suite until the outer timeout kills it, and the report
// would then name nothing. The watchdog names the test that has run too long and ends the program
// with exit code 3, so the run fails fast and says where. ORVELLO_TEST_TIMEOUT sets the limit in
// seconds (default 300; 0 turns the watchdog off).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class TestWatchdog final : public testing::EmptyTestEventListener {
public:
    explicit TestWatchdog(std::chrono::seconds limit) : limit_(limit) {}

    void OnTestProgramStart(const testing::UnitTest&) override {
        thread_ = std::thread([this] { watch(); });
    }

    void OnTestProgramEnd(const testing::UnitTest&) override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    void OnTestStart(const testing::TestInfo& info) override {
        std::lock_guard lock(mutex_);
        current_ = std::string(info.test_suite_name()) + "." + info.name();
        started_ = Clock::now();
    }

    void OnTestEnd(const testing::TestInfo&) override {
        std::lock_guard lock(mutex_);
        current_.clear();
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            changed_.wait_for(lock, std::chrono::seconds(1));
            if (stopping_ || current_.empty() || Clock::now() - started_ < limit_)
                continue;
            std::fprintf(stderr, "\n!! %s has run for more than %lld s: the suite stops here\n",
                         current_.c_str(), static_cast<long long>(limit_.count()));
            std::fflush(stderr);
            std::fflush(stdout);
            std::_Exit(3);
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    std::string current_;
    Clock::time_point started_{};
    std::thread thread_;
};

std::chrono::seconds configuredLimit() {
    const char* text = std::getenv("ORVELLO_TEST_TIMEOUT");
    if (text == nullptr || *text == '\0')
        return std::chrono::seconds(300);
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (*end != '\0' || value < 0)
        return std::chrono::seconds(300);
    return std::chrono::seconds(value);
}

// Registered before main: gtest_main only adds the default printer after this.
[[maybe_unused]] const bool registered = [] {
    const auto limit = configuredLimit();
    if (limit.count() > 0)
        testing::UnitTest::GetInstance()->listeners().Append(new TestWatchdog(limit));
    return true;
}();

} // namespace
