#include "platform/sim/SimInfFiles.h"

#include "base/Compare.h"
#include "platform/sim/SimMachine.h"

namespace sim {

namespace winerr = ports::winerr;
using ports::Status;

namespace {

// INF_STYLE_WIN4 wants the signature of a Windows NT or Windows 95 INF.
bool win4Signature(const inf::Document& doc) {
    const auto signature = doc.value(L"Version", L"Signature");
    for (auto known : {L"$Windows NT$", L"$Chicago$", L"$Windows 95$"})
        if (text::equalsNoCase(signature, known))
            return true;
    return false;
}

} // namespace

Status SimInfFiles::openInf(std::wstring_view path, std::wstring_view infClass,
                            ports::InfHandle& out) noexcept {
    out.reset();
    try {
        if (Status e = machine_.fault("SetupOpenInfFileW"))
            return e;
        std::vector<std::uint8_t> bytes;
        if (Status e = files_.readFile(path, bytes))
            return e;
        Open open{inf::Document::parse(bytes), {}};
        if (!win4Signature(open.document))
            return winerr::WrongInfStyle;
        if (!infClass.empty() && !text::equalsNoCase(open.document.value(L"Version", L"Class"), infClass))
            return winerr::ClassMismatch;
        open.sections = open.document.sectionNames();
        out = ports::InfHandle(*this, infs_.add(std::move(open)));
        return winerr::Success;
    } catch (...) {
        return winerr::NotEnoughMemory;
    }
}

Status SimInfFiles::sectionName(ports::InfHandle& inf, std::uint32_t index, std::wstring& out) noexcept {
    const auto open = infs_.find(inf, this);
    if (!open)
        return winerr::InvalidHandle;
    if (index >= open->sections.size())
        return winerr::NoMoreItems;
    try {
        out = open->sections[index];
    } catch (...) {
        return winerr::NotEnoughMemory;
    }
    return winerr::Success;
}

Status SimInfFiles::lineCount(ports::InfHandle& inf, std::wstring_view section, std::uint32_t& out) noexcept {
    out = 0;
    const auto open = infs_.find(inf, this);
    if (!open)
        return winerr::InvalidHandle;
    const auto* lines = open->document.section(section);
    if (!lines)
        return winerr::SectionNotFound;
    out = static_cast<std::uint32_t>(lines->size());
    return winerr::Success;
}

Status SimInfFiles::lineFields(ports::InfHandle& inf, std::wstring_view section, std::uint32_t index,
                               bool& hasKey, std::vector<std::wstring>& fields) noexcept {
    hasKey = false;
    fields.clear();
    const auto open = infs_.find(inf, this);
    if (!open)
        return winerr::InvalidHandle;
    const auto* lines = open->document.section(section);
    if (!lines)
        return winerr::SectionNotFound;
    if (index >= lines->size())
        return winerr::LineNotFound;
    try {
        const auto& line = (*lines)[index];
        const auto key = inf::setupApiKey(line);
        hasKey = key.has_value();
        fields.push_back(key.value_or(std::wstring()));
        fields.insert(fields.end(), line.fields.begin(), line.fields.end());
    } catch (...) {
        return winerr::NotEnoughMemory;
    }
    return winerr::Success;
}

} // namespace sim
