#include "platform/sim/SimClock.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace sim {

namespace {

std::uint16_t dayOfWeek(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{year} / static_cast<unsigned>(month) / static_cast<unsigned>(day)};
    return static_cast<std::uint16_t>(weekday{d}.c_encoding());
}

ports::SystemTime hostLocalTime() {
#ifdef _WIN32
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
#else
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint16_t>(tm.tm_mon + 1),
            static_cast<std::uint16_t>(tm.tm_wday),        static_cast<std::uint16_t>(tm.tm_mday),
            static_cast<std::uint16_t>(tm.tm_hour),        static_cast<std::uint16_t>(tm.tm_min),
            static_cast<std::uint16_t>(tm.tm_sec),         static_cast<std::uint16_t>(ms)};
#endif
}

} // namespace

std::uint64_t SimClock::nowMs() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void SimClock::sleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

ports::SystemTime SimClock::localTime() {
    const std::string fixed = machine_.read([](const Json& s) {
        auto sys = s.find("system");
        return sys != s.end() && sys->is_object() ? sys->value("localTime", "") : std::string();
    });
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, ms = 0;
    if (fixed.empty() ||
        std::sscanf(fixed.c_str(), "%d-%d-%d %d:%d:%d.%d", &y, &mo, &d, &h, &mi, &sec, &ms) < 6 || mo < 1 ||
        mo > 12 || d < 1 || d > 31)
        return hostLocalTime();
    return {static_cast<std::uint16_t>(y),   static_cast<std::uint16_t>(mo), dayOfWeek(y, mo, d),
            static_cast<std::uint16_t>(d),   static_cast<std::uint16_t>(h),  static_cast<std::uint16_t>(mi),
            static_cast<std::uint16_t>(sec), static_cast<std::uint16_t>(ms)};
}

} // namespace sim
