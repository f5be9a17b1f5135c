#include "platform/sim/SimClock.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <ctime>
#include <thread>

namespace sim {

std::uint64_t WallClock::nowMs() noexcept {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void WallClock::sleepMs(std::uint32_t ms) noexcept {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
std::uint16_t dayOfWeek(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{year} / static_cast<unsigned>(month) / static_cast<unsigned>(day)};
    return static_cast<std::uint16_t>(weekday{d}.c_encoding());
}

} // namespace

ports::SystemTime WallClock::localTime() noexcept {
    const std::string fixed = machine_ ? machine_->read([](const Json& s) {
        auto sys = s.find("system");
        return sys != s.end() && sys->is_object() ? sys->value("localTime", "") : std::string();
    })
                                       : std::string();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, ms = 0;
    if (!fixed.empty() &&
        std::sscanf(fixed.c_str(), "%d-%d-%d %d:%d:%d.%d", &y, &mo, &d, &h, &mi, &sec, &ms) >= 6 && mo >= 1 &&
        mo <= 12 && d >= 1 && d <= 31)
        return {
            static_cast<std::uint16_t>(y),   static_cast<std::uint16_t>(mo), dayOfWeek(y, mo, d),
            static_cast<std::uint16_t>(d),   static_cast<std::uint16_t>(h),  static_cast<std::uint16_t>(mi),
            static_cast<std::uint16_t>(sec), static_cast<std::uint16_t>(ms)};
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint16_t>(tm.tm_mon + 1),
            static_cast<std::uint16_t>(tm.tm_wday),        static_cast<std::uint16_t>(tm.tm_mday),
            static_cast<std::uint16_t>(tm.tm_hour),        static_cast<std::uint16_t>(tm.tm_min),
            static_cast<std::uint16_t>(tm.tm_sec),         static_cast<std::uint16_t>(millis)};
}

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

} // namespace

VirtualClock::VirtualClock() : VirtualClock(ports::SystemTime{2024, 5, 3, 1, 9, 0, 0, 0}, 1000000) {}

VirtualClock::VirtualClock(ports::SystemTime start, std::uint64_t startMs)
    : start_(start), startMs_(startMs), now_(startMs) {}

void VirtualClock::sleepMs(std::uint32_t ms) noexcept {
    {
        std::lock_guard lock(mutex_);
        try {
            sleeps_.push_back(ms);
        } catch (...) {
            // out of memory: the sleep still advances the clock, only its record is lost
        }
    }
    advance(ms);
}

std::vector<std::uint32_t> VirtualClock::sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

ports::SystemTime VirtualClock::localTime() noexcept {
    const std::int64_t startDay = daysFromCivil(start_.year, start_.month, start_.day);
    const std::int64_t startMsOfDay =
        ((start_.hour * 60 + start_.minute) * 60 + start_.second) * 1000LL + start_.milliseconds;
    const std::int64_t total = startMsOfDay + static_cast<std::int64_t>(elapsedMs());
    const std::int64_t day = startDay + total / 86400000;
    const std::int64_t msOfDay = total % 86400000;
    std::int64_t y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(day, y, m, d);
    ports::SystemTime out;
    out.year = static_cast<std::uint16_t>(y);
    out.month = static_cast<std::uint16_t>(m);
    out.day = static_cast<std::uint16_t>(d);
    out.dayOfWeek = static_cast<std::uint16_t>((day % 7 + 11) % 7); // 1970-01-01 was a Thursday (4)
    out.hour = static_cast<std::uint16_t>(msOfDay / 3600000);
    out.minute = static_cast<std::uint16_t>(msOfDay / 60000 % 60);
    out.second = static_cast<std::uint16_t>(msOfDay / 1000 % 60);
    out.milliseconds = static_cast<std::uint16_t>(msOfDay % 1000);
    return out;
}

} // namespace sim
