#include "app/CMyLog.h"

#include "app/AppConstants.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

struct CMyLog::Shared {
    Shared(ports::FileSystem& f, ports::Clock& c) : files(f), clock(c) {}

    ports::FileSystem& files;
    ports::Clock& clock;
    std::wstring folder;
    std::wstring prefix;
    std::atomic<bool> started{false};
    std::atomic<bool> enabled{true};

    std::mutex mutex;
    std::condition_variable wake; // the writer: lines waiting, or quit
    std::condition_variable done; // waiters: a batch finished, or the writer ended
    bool linesWaiting = false;    // auto-reset: the writer clears it when it wakes for it
    bool quit = false;            // manual-reset
    bool writerEnded = false;
    std::vector<std::wstring> lines;
    std::uint64_t added = 0;
    std::uint64_t handled = 0;
};

namespace {

void appendUtf16Le(std::vector<std::uint8_t>& out, std::wstring_view text) {
    auto unit = [&](std::uint32_t u) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
    };
    for (wchar_t c : text) {
        const auto v = static_cast<std::uint32_t>(c);
        if constexpr (sizeof(wchar_t) == 4) { // beyond the BMP: a surrogate pair
            if (v > 0xFFFF) {
                if (v > 0x10FFFF) {
                    unit(0xFFFD);
                } else {
                    unit(0xD800 + ((v - 0x10000) >> 10));
                    unit(0xDC00 + ((v - 0x10000) & 0x3FF));
                }
                continue;
            }
        }
        unit(v);
    }
}

std::wstring stamped(const ports::SystemTime& t, std::wstring_view text) {
    return text::format(L"%04d-%02d-%02d %02d:%02d:%02d.%03d : %s", int{t.year}, int{t.month}, int{t.day},
                        int{t.hour}, int{t.minute}, int{t.second}, int{t.milliseconds}, text);
}

std::wstring fileName(const CMyLog::Shared& s, const ports::SystemTime& t) {
    return s.folder + s.prefix + text::format(L" %04d-%02d-%02d.log", int{t.year}, int{t.month}, int{t.day});
}

// One batch: every line waiting now, in order, into the file of the current date. A new file
// starts with the byte order mark; an existing one is appended to.
void writeBatch(CMyLog::Shared& s) {
    const std::wstring path = fileName(s, s.clock.localTime());
    std::vector<std::wstring> batch;
    {
        std::lock_guard lock(s.mutex);
        batch.swap(s.lines);
    }
    if (!batch.empty()) {
        std::vector<std::uint8_t> bytes;
        for (const auto& line : batch) {
            appendUtf16Le(bytes, line);
            appendUtf16Le(bytes, L"\r\n");
        }
        std::vector<std::uint8_t> withMark = {0xFF, 0xFE};
        withMark.insert(withMark.end(), bytes.begin(), bytes.end());
        const ports::Status st = s.files.createNewFile(path, withMark);
        if (st == ports::winerr::FileExists || st == ports::winerr::AlreadyExists)
            (void)s.files.appendFile(path, bytes); // a failure drops the batch
    }
    std::lock_guard lock(s.mutex);
    s.handled += batch.size();
    s.done.notify_all();
}

void writerLoop(CMyLog::Shared& s) {
    for (;;) {
        {
            std::unique_lock lock(s.mutex);
            s.wake.wait(lock, [&] { return s.linesWaiting || s.quit; });
            // Lines waiting win over quit, as the first of the two events does.
            if (!s.linesWaiting)
                break;
            s.linesWaiting = false;
        }
        writeBatch(s);
    }
    std::lock_guard lock(s.mutex);
    s.writerEnded = true;
    s.done.notify_all();
}

} // namespace

CMyLog::CMyLog(ports::FileSystem& files, ports::Clock& clock)
    : shared_(std::make_unique<Shared>(files, clock)) {}

CMyLog::~CMyLog() {
    shared_->enabled = false;
    if (!writer_.joinable())
        return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->quit = true;
        shared_->wake.notify_all();
    }
    // Always joined, also behind a slow write: the writer uses the platform's file system and
    // clock, which end after this object. A write is bounded by the file being opened only for
    // the batch.
    writer_.join();
}

void CMyLog::start(std::wstring_view modulePath, std::wstring_view prefix) {
    if (shared_->started)
        return;
    const std::size_t cut = modulePath.find_last_of(L'\\');
    shared_->folder =
        (cut == std::wstring_view::npos ? std::wstring() : std::wstring(modulePath.substr(0, cut + 1))) +
        L"Log\\";
    shared_->prefix = prefix;
    // On Windows the executable's folder exists, so this creates one level; the simulated
    // machine's may not, and then the whole path is made. A failure is ignored.
    (void)shared_->files.createDirectories(shared_->folder);
    writer_ = std::thread(writerLoop, std::ref(*shared_));
    shared_->started = true;
}

bool CMyLog::started() const {
    return shared_->started;
}

void CMyLog::logStartLine() {
    if (started())
        addLine(app::kLogStartLine);
}

void CMyLog::addLine(std::wstring_view text) {
    if (!shared_->enabled)
        return;
    std::wstring line = stamped(shared_->clock.localTime(), text);
    std::lock_guard lock(shared_->mutex);
    shared_->lines.push_back(std::move(line));
    ++shared_->added;
    shared_->linesWaiting = true;
    shared_->wake.notify_one();
}

std::wstring CMyLog::folder() const {
    return shared_->started ? shared_->folder : std::wstring();
}

bool CMyLog::waitUntilWritten(std::chrono::milliseconds timeout) {
    std::unique_lock lock(shared_->mutex);
    const std::uint64_t target = shared_->added;
    return shared_->done.wait_for(lock, timeout,
                                  [&] { return shared_->handled >= target || shared_->writerEnded; });
}
