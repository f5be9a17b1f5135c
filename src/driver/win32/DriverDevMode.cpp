#include "driver/win32/DriverDevMode.h"

#include "driver/win32/ModelPapers.h"

#include <algorithm>
#include <cstring>

namespace driver::win32 {
namespace {

constexpr DWORD kFieldsWritten = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                                 DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_YRESOLUTION | DM_COLOR | DM_FORMNAME;

// Each field this driver reads or writes, with the offset just past it: a field is present only
// when its bit is set and the public part reaches that far.
struct FieldEnd {
    DWORD bit;
    std::size_t end;
};
#define ORVELLO_FIELD_END(bit, member)                                                                       \
    FieldEnd {                                                                                               \
        bit, offsetof(DEVMODEW, member) + sizeof(DEVMODEW::member)                                           \
    }
constexpr FieldEnd kFieldEnds[] = {
    ORVELLO_FIELD_END(DM_ORIENTATION, dmOrientation),
    ORVELLO_FIELD_END(DM_PAPERSIZE, dmPaperSize),
    ORVELLO_FIELD_END(DM_PAPERLENGTH, dmPaperLength),
    ORVELLO_FIELD_END(DM_PAPERWIDTH, dmPaperWidth),
    ORVELLO_FIELD_END(DM_COPIES, dmCopies),
    ORVELLO_FIELD_END(DM_DEFAULTSOURCE, dmDefaultSource),
    ORVELLO_FIELD_END(DM_PRINTQUALITY, dmPrintQuality),
    ORVELLO_FIELD_END(DM_COLOR, dmColor),
    ORVELLO_FIELD_END(DM_YRESOLUTION, dmYResolution),
    ORVELLO_FIELD_END(DM_FORMNAME, dmFormName),
};
#undef ORVELLO_FIELD_END

// The bits of `fields` whose field lies inside the first `size` bytes; other bits are dropped.
DWORD fieldsWithin(DWORD fields, std::size_t size) noexcept {
    DWORD kept = 0;
    for (const FieldEnd& f : kFieldEnds)
        if ((fields & f.bit) && f.end <= size)
            kept |= f.bit;
    return kept;
}

void setPaper(DEVMODEW& dm, const ModelData& model, std::optional<std::size_t> index) noexcept {
    std::memset(dm.dmFormName, 0, sizeof dm.dmFormName);
    if (index) {
        const Paper& paper = model.papers[*index];
        dm.dmPaperSize = paperNumber(*index);
        dm.dmPaperWidth = tenths(paper.width);
        dm.dmPaperLength = tenths(paper.length);
        const std::wstring name = paperName(paper);
        std::copy(name.begin(), name.end(), dm.dmFormName);
    } else {
        dm.dmPaperSize = DMPAPER_USER;
        dm.dmPaperWidth = tenths(model.printableWidth);
        dm.dmPaperLength = kPaperlessLengthTenths;
    }
}

bool inRange(long value, long low, long high) noexcept {
    return value >= low && value <= high;
}

// A custom size inside the model's range; false leaves the default paper.
bool setCustomSize(DEVMODEW& out, const ModelData& model, const DEVMODEW& in, DWORD fields) noexcept {
    if (!(fields & DM_PAPERWIDTH) || !(fields & DM_PAPERLENGTH) ||
        !inRange(in.dmPaperWidth, kMinExtentTenths, maxWidthTenths(model)) ||
        !inRange(in.dmPaperLength, kMinExtentTenths, kMaxLengthTenths))
        return false;
    setPaper(out, model, std::nullopt);
    out.dmPaperWidth = in.dmPaperWidth;
    out.dmPaperLength = in.dmPaperLength;
    return true;
}

// The paper the public part asks for, in order: one of the model's paper numbers, or a custom
// size for DMPAPER_USER; one of its paper names; sizes without a paper number; else the default.
void correctPaper(DEVMODEW& out, const ModelData& model, const DEVMODEW& in, DWORD fields) noexcept {
    if (fields & DM_PAPERSIZE) {
        if (auto index = paperIndex(model, in.dmPaperSize)) {
            setPaper(out, model, index);
            return;
        }
        if (in.dmPaperSize == DMPAPER_USER) {
            (void)setCustomSize(out, model, in, fields);
            return;
        }
    }
    if (fields & DM_FORMNAME) {
        const std::wstring_view name(in.dmFormName, wcsnlen(in.dmFormName, CCHFORMNAME));
        if (auto index = paperIndexByName(model, name)) {
            setPaper(out, model, index);
            return;
        }
    }
    if (!(fields & DM_PAPERSIZE))
        (void)setCustomSize(out, model, in, fields);
}

bool privateValid(const ModelData& model, const PrivateDevMode& p) noexcept {
    if (p.signature != kPrivateSignature || p.version != kPrivateVersion || p.size != sizeof(PrivateDevMode))
        return false;
    const bool darknessOk =
        model.darknessRange
            ? (p.darkness == -1 || inRange(p.darkness, model.darknessRange->min, model.darknessRange->max))
            : p.darkness == -1;
    const bool speedOk =
        p.speed == 0 || std::find(model.speeds.begin(), model.speeds.end(), p.speed) != model.speeds.end();
    return darknessOk && speedOk;
}

} // namespace

DriverDevMode defaultDevMode(const ModelData& model, std::wstring_view deviceName) noexcept {
    DriverDevMode d{};
    DEVMODEW& dm = d.pub;
    const std::size_t nameLength = std::min<std::size_t>(deviceName.size(), CCHDEVICENAME - 1);
    std::copy_n(deviceName.data(), nameLength, dm.dmDeviceName);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmDriverVersion = kDriverVersion;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = sizeof(PrivateDevMode);
    dm.dmFields = kFieldsWritten;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    setPaper(dm, model, defaultPaperIndex(model));
    dm.dmCopies = 1;
    dm.dmDefaultSource = DMBIN_ONLYONE;
    dm.dmPrintQuality = static_cast<short>(model.dpi);
    dm.dmYResolution = static_cast<short>(model.dpi);
    dm.dmColor = DMCOLOR_MONOCHROME;
    d.priv = PrivateDevMode{};
    d.priv.darkness = model.darknessRange ? model.darkness : -1;
    d.priv.speed = model.speed;
    return d;
}

ReadDevMode readDevMode(const ModelData& model, const DEVMODEW* in) noexcept {
    ReadDevMode result{defaultDevMode(model, {}), false, false};
    if (!in)
        return result;
    // A public part from before forms had names, or one that claims more than a DEVMODE can be.
    const WORD size = in->dmSize;
    if (size < kMinPublicSize || std::size_t(size) + in->dmDriverExtra > 0xFFFF)
        return result;
    DEVMODEW pub{};
    std::memcpy(&pub, in, std::min<std::size_t>(size, sizeof pub));
    const DWORD fields = fieldsWithin(pub.dmFields, size);

    DEVMODEW& out = result.devMode.pub;
    const std::size_t nameLength = wcsnlen(pub.dmDeviceName, CCHDEVICENAME - 1);
    std::copy_n(pub.dmDeviceName, nameLength, out.dmDeviceName);
    if ((fields & DM_ORIENTATION) &&
        (pub.dmOrientation == DMORIENT_PORTRAIT || pub.dmOrientation == DMORIENT_LANDSCAPE))
        out.dmOrientation = pub.dmOrientation;
    if ((fields & DM_COPIES) && inRange(pub.dmCopies, 1, kMaxCopies))
        out.dmCopies = pub.dmCopies;
    correctPaper(out, model, pub, fields);
    result.publicUsed = true;

    if (in->dmDriverExtra >= sizeof(PrivateDevMode)) {
        PrivateDevMode priv;
        std::memcpy(&priv, reinterpret_cast<const BYTE*>(in) + size, sizeof priv);
        if (privateValid(model, priv)) {
            result.devMode.priv = priv;
            result.privateUsed = true;
        }
    }
    return result;
}

void writeDevMode(const DriverDevMode& devMode, WORD targetSize, WORD targetExtra, void* out) noexcept {
    auto* bytes = static_cast<BYTE*>(out);
    std::memset(bytes, 0, std::size_t(targetSize) + targetExtra);
    DEVMODEW pub = devMode.pub;
    pub.dmSize = targetSize;
    pub.dmDriverExtra = targetExtra;
    pub.dmFields = fieldsWithin(pub.dmFields, targetSize);
    std::memcpy(bytes, &pub, std::min<std::size_t>(targetSize, sizeof pub));
    std::memcpy(bytes + targetSize, &devMode.priv, std::min<std::size_t>(targetExtra, sizeof devMode.priv));
}

} // namespace driver::win32
