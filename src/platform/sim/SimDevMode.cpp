#include "platform/sim/SimDevMode.h"

#include "platform/ports/RegValue.h"

#include <span>

namespace sim {

namespace {

constexpr std::size_t kName = 0, kSpec = 64, kDrvVer = 66, kSize = 68, kExtra = 70, kFields = 72, kUnion = 76,
                      kColor = 92, kForm = 102, kLogPixels = 166, kBitsPerPel = 168;

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& b) : b_(b) {}
    std::uint32_t u(std::size_t at, std::size_t n) const {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < n; ++i)
            v |= (at + i < b_.size() ? std::uint32_t(b_[at + i]) : 0u) << (8 * i);
        return v;
    }
    std::uint16_t w(std::size_t at) const { return static_cast<std::uint16_t>(u(at, 2)); }
    std::int16_t s(std::size_t at) const { return static_cast<std::int16_t>(u(at, 2)); }
    std::uint32_t d(std::size_t at) const { return u(at, 4); }
    std::wstring text(std::size_t at) const {
        if (at >= b_.size())
            return {};
        const std::size_t end = std::min(b_.size(), at + 64);
        return ports::textFromUtf16le(std::span(b_).subspan(at, end - at));
    }

private:
    const std::vector<std::uint8_t>& b_;
};

void put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void putText(std::vector<std::uint8_t>& b, std::size_t at, std::wstring_view text) {
    auto bytes = ports::utf16leBytes(text.substr(0, 31));
    if (bytes.size() > 62)
        bytes.resize(62);
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace

ports::DevMode decodeDevMode(const std::vector<std::uint8_t>& raw) {
    const Reader r(raw);
    ports::DevMode m;
    m.deviceName = r.text(kName);
    m.specVersion = r.w(kSpec);
    m.driverVersion = r.w(kDrvVer);
    m.size = r.w(kSize);
    m.driverExtra = r.w(kExtra);
    m.fields = r.d(kFields);
    m.orientation = r.s(kUnion);
    m.paperSize = r.s(kUnion + 2);
    m.paperLength = r.s(kUnion + 4);
    m.paperWidth = r.s(kUnion + 6);
    m.scale = r.s(kUnion + 8);
    m.copies = r.s(kUnion + 10);
    m.defaultSource = r.s(kUnion + 12);
    m.printQuality = r.s(kUnion + 14);
    m.positionX = static_cast<std::int32_t>(r.d(kUnion));
    m.positionY = static_cast<std::int32_t>(r.d(kUnion + 4));
    m.displayOrientation = r.d(kUnion + 8);
    m.displayFixedOutput = r.d(kUnion + 12);
    m.color = r.s(kColor);
    m.duplex = r.s(kColor + 2);
    m.yResolution = r.s(kColor + 4);
    m.ttOption = r.s(kColor + 6);
    m.collate = r.s(kColor + 8);
    m.formName = r.text(kForm);
    m.logPixels = r.w(kLogPixels);
    m.bitsPerPel = r.d(kBitsPerPel);
    m.pelsWidth = r.d(kBitsPerPel + 4);
    m.pelsHeight = r.d(kBitsPerPel + 8);
    m.displayFlags = r.d(kBitsPerPel + 12);
    m.displayFrequency = r.d(kBitsPerPel + 16);
    m.icmMethod = r.d(kBitsPerPel + 20);
    m.icmIntent = r.d(kBitsPerPel + 24);
    m.mediaType = r.d(kBitsPerPel + 28);
    m.ditherType = r.d(kBitsPerPel + 32);
    m.reserved1 = r.d(kBitsPerPel + 36);
    m.reserved2 = r.d(kBitsPerPel + 40);
    m.panningWidth = r.d(kBitsPerPel + 44);
    m.panningHeight = r.d(kBitsPerPel + 48);
    m.raw = raw;
    return m;
}

std::vector<std::uint8_t> encodeDevMode(const ports::DevMode& m) {
    std::vector<std::uint8_t> b(kDevModeSize + m.driverExtra, 0);
    putText(b, kName, m.deviceName);
    put(b, kSpec, m.specVersion, 2);
    put(b, kDrvVer, m.driverVersion, 2);
    put(b, kSize, kDevModeSize, 2);
    put(b, kExtra, m.driverExtra, 2);
    put(b, kFields, m.fields, 4);
    const std::int16_t printer[] = {m.orientation, m.paperSize, m.paperLength,   m.paperWidth,
                                    m.scale,       m.copies,    m.defaultSource, m.printQuality};
    for (std::size_t i = 0; i < 8; ++i)
        put(b, kUnion + 2 * i, static_cast<std::uint16_t>(printer[i]), 2);
    const std::int16_t tail[] = {m.color, m.duplex, m.yResolution, m.ttOption, m.collate};
    for (std::size_t i = 0; i < 5; ++i)
        put(b, kColor + 2 * i, static_cast<std::uint16_t>(tail[i]), 2);
    putText(b, kForm, m.formName);
    put(b, kLogPixels, m.logPixels, 2);
    const std::uint32_t rest[] = {m.bitsPerPel,       m.pelsWidth, m.pelsHeight, m.displayFlags,
                                  m.displayFrequency, m.icmMethod, m.icmIntent,  m.mediaType,
                                  m.ditherType,       m.reserved1, m.reserved2,  m.panningWidth,
                                  m.panningHeight};
    for (std::size_t i = 0; i < 13; ++i)
        put(b, kBitsPerPel + 4 * i, rest[i], 4);
    return b;
}

ports::DevMode defaultDevMode(std::wstring_view printerName, const PaperChoice& paper, std::int16_t dpi) {
    ports::DevMode m;
    m.deviceName = std::wstring(printerName.substr(0, 31));
    m.specVersion = 0x0401;
    m.driverVersion = 0x0600;
    m.size = kDevModeSize;
    // DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_PRINTQUALITY |
    // DM_YRESOLUTION | DM_COLLATE | DM_FORMNAME
    m.fields = 0x1 | 0x2 | 0x4 | 0x8 | 0x100 | 0x400 | 0x2000 | 0x8000 | 0x10000;
    m.orientation = 1;
    m.paperSize = paper.id;
    m.paperLength = paper.length;
    m.paperWidth = paper.width;
    m.scale = 100;
    m.copies = 1;
    m.printQuality = dpi;
    m.yResolution = dpi;
    m.formName = paper.name.substr(0, 31);
    m.raw = encodeDevMode(m);
    return decodeDevMode(m.raw);
}

} // namespace sim
