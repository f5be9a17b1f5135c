#pragma once
// WOW64 file-system redirection on the simulated machine. The wizard is a 32-bit program: on a
// 64-bit Windows its accesses to C:\Windows\System32 land in C:\Windows\SysWOW64 unless the calling
// thread has switched redirection off, while 64-bit processes (the spooler above all) always see
// the native folder. Getting this wrong is how a copied DLL ends up where the spooler never looks.
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace sim {

// Where a 32-bit program's path leads while redirection is on: %windir%\System32 (C:\Windows unless
// the machine keeps Windows elsewhere) and everything below it moves to %windir%\SysWOW64, except
// the folders Windows exempts (System32\catroot, catroot2, drivers\etc, logfiles, spool and, from
// Windows 7 on, driverstore). Names compare without regard to case, "." and ".." are resolved
// first, "\\?\" is kept; any other path comes back as it was.
std::wstring wow64RedirectedPath(std::wstring_view path, bool driverStoreExempt,
                                 std::wstring_view windowsFolder = L"C:\\Windows");

// Whether redirection is on for the calling thread: on until the thread switches it off. Like the
// Windows setting it belongs to the thread and ends with it: a later thread starts with redirection
// on even when it gets the id of an ended one.
class ThreadRedirection {
public:
    bool enabled() const;
    void set(bool enabled);

private:
    mutable std::mutex mutex_;
    std::set<std::uint64_t> threadsOff_; // see threadSerial() in the source
};

} // namespace sim
