#include "platform/sim/SimWow64Redirection.h"

#include "base/Compare.h"

#include <algorithm>
#include <atomic>
#include <span>
#include <vector>

namespace sim {

namespace {

bool is(std::wstring_view part, std::wstring_view name) {
    return text::equalsNoCase(part, name);
}

// The folders below System32 that stay native for a 32-bit program too.
bool exempt(std::span<const std::wstring_view> below, bool driverStoreExempt) {
    if (below.empty())
        return false;
    const std::wstring_view first = below.front();
    if (is(first, L"catroot") || is(first, L"catroot2") || is(first, L"logfiles") || is(first, L"spool"))
        return true;
    if (driverStoreExempt && is(first, L"driverstore"))
        return true;
    return is(first, L"drivers") && below.size() > 1 && is(below[1], L"etc");
}

// The folder names of a path after its drive, with "." and ".." resolved.
std::vector<std::wstring_view> pathParts(std::wstring_view p) {
    std::vector<std::wstring_view> parts;
    for (size_t pos = 0; pos <= p.size();) {
        size_t end = p.find_first_of(L"\\/", pos);
        if (end == std::wstring_view::npos)
            end = p.size();
        const std::wstring_view part = p.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    return parts;
}

// A number for the calling thread that no other thread of the process ever gets. Thread ids are
// reused once a thread has ended, and a new thread must not inherit the setting of an ended one.
// (A plain number on purpose: a thread-local object with a destructor is not reliable under
// mingw-w64's thread support.)
std::uint64_t threadSerial() {
    static std::atomic<std::uint64_t> last{0};
    thread_local std::uint64_t serial = 0;
    if (serial == 0)
        serial = ++last;
    return serial;
}

} // namespace

std::wstring wow64RedirectedPath(std::wstring_view path, bool driverStoreExempt,
                                 std::wstring_view windowsFolder) {
    std::wstring_view p = path;
    const bool extended = p.starts_with(L"\\\\?\\");
    if (extended)
        p.remove_prefix(4);
    if (p.size() < 2 || p[1] != L':' || windowsFolder.size() < 2 ||
        text::upperOrdinal(p[0]) != text::upperOrdinal(windowsFolder[0]))
        return std::wstring(path);
    const std::vector<std::wstring_view> windows = pathParts(windowsFolder.substr(2));
    const std::vector<std::wstring_view> parts = pathParts(p.substr(2));
    const std::size_t n = windows.size();
    if (parts.size() < n + 1 || !std::equal(windows.begin(), windows.end(), parts.begin(), is) ||
        !is(parts[n], L"System32") || exempt(std::span(parts).subspan(n + 1), driverStoreExempt))
        return std::wstring(path);
    std::wstring out = extended ? L"\\\\?\\" : L"";
    out += p.substr(0, 2);
    for (const auto part : windows) {
        out += L'\\';
        out += part;
    }
    out += L"\\SysWOW64";
    for (size_t i = n + 1; i < parts.size(); ++i) {
        out += L'\\';
        out += parts[i];
    }
    return out;
}

bool ThreadRedirection::enabled() const {
    const std::uint64_t self = threadSerial();
    std::lock_guard lock(mutex_);
    return !threadsOff_.contains(self);
}

void ThreadRedirection::set(bool enabled) {
    const std::uint64_t self = threadSerial();
    std::lock_guard lock(mutex_);
    if (enabled)
        threadsOff_.erase(self);
    else
        threadsOff_.insert(self);
}

} // namespace sim
