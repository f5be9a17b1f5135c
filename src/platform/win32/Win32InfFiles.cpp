// The INF port on SetupAPI's INF functions.
#include "platform/common/HandleTable.h"
#include "platform/ports/InfFiles.h"
#include "platform/win32/Win32Ports.h"

#include <windows.h>

#include <setupapi.h>

namespace win32 {
namespace {

namespace winerr = ports::winerr;
using ports::Status;

// One open INF; the table's last user closes it.
class OpenInf {
public:
    explicit OpenInf(HINF h) noexcept : h_(h) {}
    ~OpenInf() {
        if (h_ != INVALID_HANDLE_VALUE)
            ::SetupCloseInfFile(h_);
    }
    OpenInf(OpenInf&& o) noexcept : h_(o.h_) { o.h_ = INVALID_HANDLE_VALUE; }
    OpenInf& operator=(OpenInf&&) = delete;
    OpenInf(const OpenInf&) = delete;
    HINF get() const noexcept { return h_; }

private:
    HINF h_;
};

Status lastError() {
    const DWORD e = ::GetLastError();
    return e ? static_cast<Status>(e) : winerr::GenFailure;
}

// SetupGetStringFieldW for one field: the size first, then the text.
bool stringField(INFCONTEXT& line, DWORD field, std::wstring& out) {
    DWORD size = 0;
    if (!::SetupGetStringFieldW(&line, field, nullptr, 0, &size) || size == 0)
        return false;
    std::wstring buffer(size + 1, L'\0');
    if (!::SetupGetStringFieldW(&line, field, buffer.data(), size + 1, nullptr))
        return false;
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    out = std::move(buffer);
    return true;
}

class Win32InfFiles final : public ports::InfFiles, private ports::HandleCloser {
public:
    Status openInf(std::wstring_view path, std::wstring_view infClass,
                   ports::InfHandle& out) noexcept override {
        out.reset();
        const std::wstring p(path), c(infClass);
        UINT errorLine = 0;
        ::SetLastError(0);
        HINF h = ::SetupOpenInfFileW(p.c_str(), c.empty() ? nullptr : c.c_str(), INF_STYLE_WIN4, &errorLine);
        if (h == INVALID_HANDLE_VALUE)
            return lastError();
        out = ports::InfHandle(*this, infs_.add(OpenInf(h)));
        return winerr::Success;
    }

    Status sectionName(ports::InfHandle& inf, std::uint32_t index, std::wstring& out) noexcept override {
        const auto open = infs_.find(inf, this);
        if (!open)
            return winerr::InvalidHandle;
        UINT size = 0;
        if (!::SetupEnumInfSectionsW(open->get(), index, nullptr, 0, &size) && size == 0)
            return lastError();
        std::wstring buffer(size + 1, L'\0');
        if (!::SetupEnumInfSectionsW(open->get(), index, buffer.data(), size + 1, nullptr))
            return lastError();
        buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
        out = std::move(buffer);
        return winerr::Success;
    }

    Status lineCount(ports::InfHandle& inf, std::wstring_view section, std::uint32_t& out) noexcept override {
        out = 0;
        const auto open = infs_.find(inf, this);
        if (!open)
            return winerr::InvalidHandle;
        const std::wstring s(section);
        ::SetLastError(0);
        const LONG n = ::SetupGetLineCountW(open->get(), s.c_str());
        if (n < 0)
            return lastError();
        out = static_cast<std::uint32_t>(n);
        return winerr::Success;
    }

    Status lineFields(ports::InfHandle& inf, std::wstring_view section, std::uint32_t index, bool& hasKey,
                      std::vector<std::wstring>& fields) noexcept override {
        hasKey = false;
        fields.clear();
        const auto open = infs_.find(inf, this);
        if (!open)
            return winerr::InvalidHandle;
        const std::wstring s(section);
        INFCONTEXT line{};
        if (!::SetupGetLineByIndexW(open->get(), s.c_str(), index, &line))
            return lastError();
        const DWORD count = ::SetupGetFieldCount(&line);
        fields.resize(count + 1);
        hasKey = stringField(line, 0, fields[0]);
        for (DWORD f = 1; f <= count; ++f)
            (void)stringField(line, f, fields[f]);
        return winerr::Success;
    }

private:
    void closeHandle(std::uint64_t id) noexcept override { infs_.remove(id); }

    platform::HandleTable<OpenInf> infs_;
};

} // namespace

std::unique_ptr<ports::InfFiles> makeWin32InfFiles() {
    return std::make_unique<Win32InfFiles>();
}

} // namespace win32
