#include "driver/win32/DeviceCapabilities.h"

#include "driver/win32/DriverDevMode.h"
#include "driver/win32/ModelPapers.h"

#include <wingdi.h>

#include <algorithm>
#include <cwchar>

namespace driver::win32 {
namespace {

constexpr std::size_t kBinNameChars = 24;
constexpr std::size_t kPaperNameChars = 64;
constexpr WORD kOnlyBin = DMBIN_ONLYONE;
constexpr wchar_t kBinName[] = L"Roll";

// One item per paper, written by `write(index, out)` when there is an output.
template <typename Item, typename Write>
DWORD perPaper(const ModelData& model, void* output, Write write) noexcept {
    if (output) {
        auto* items = static_cast<Item*>(output);
        for (std::size_t i = 0; i < model.papers.size(); ++i)
            write(model.papers[i], i, items[i]);
    }
    return static_cast<DWORD>(model.papers.size());
}

void copyName(const std::wstring& name, wchar_t* out, std::size_t chars) noexcept {
    const std::size_t n = std::min(name.size(), chars - 1);
    std::wmemcpy(out, name.data(), n);
    std::wmemset(out + n, L'\0', chars - n);
}

struct PaperName {
    wchar_t text[kPaperNameChars];
};
struct BinName {
    wchar_t text[kBinNameChars];
};

DWORD paperNames(const ModelData& model, void* output) noexcept {
    return perPaper<PaperName>(model, output, [](const Paper& paper, std::size_t, PaperName& out) {
        copyName(paperName(paper), out.text, kPaperNameChars);
    });
}

DWORD packedPoint(short x, short y) noexcept {
    return MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

DWORD deviceCapability(const ModelData& model, WORD index, void* output) noexcept {
    switch (index) {
    case DC_FIELDS:
        return defaultDevMode(model, {}).pub.dmFields;
    case DC_PAPERS:
        return perPaper<WORD>(model, output, [](const Paper&, std::size_t i, WORD& out) {
            out = static_cast<WORD>(paperNumber(i));
        });
    case DC_PAPERSIZE:
        return perPaper<POINT>(model, output, [](const Paper& paper, std::size_t, POINT& out) {
            out = POINT{tenths(paper.width), tenths(paper.length)};
        });
    case DC_PAPERNAMES:
    case DC_MEDIAREADY:
        return paperNames(model, output);
    case DC_MINEXTENT:
        return packedPoint(kMinExtentTenths, kMinExtentTenths);
    case DC_MAXEXTENT:
        return packedPoint(maxWidthTenths(model), kMaxLengthTenths);
    case DC_BINS:
        if (output)
            *static_cast<WORD*>(output) = kOnlyBin;
        return 1;
    case DC_BINNAMES:
        if (output)
            copyName(kBinName, static_cast<BinName*>(output)->text, kBinNameChars);
        return 1;
    case DC_ENUMRESOLUTIONS:
        if (output) {
            auto* pair = static_cast<LONG*>(output);
            pair[0] = pair[1] = static_cast<LONG>(model.dpi);
        }
        return 1;
    case DC_NUP:
        if (output)
            *static_cast<DWORD*>(output) = 1;
        return 1;
    case DC_SIZE:
        return sizeof(DEVMODEW);
    case DC_EXTRA:
        return sizeof(PrivateDevMode);
    case DC_VERSION:
        return DM_SPECVERSION;
    case DC_DRIVER:
        return kDriverVersion;
    case DC_ORIENTATION:
        // Landscape turns the page by 90 degrees counter-clockwise.
        return 90;
    case DC_COPIES:
        return kMaxCopies;
    case DC_TRUETYPE:
        return DCTT_BITMAP;
    case DC_DUPLEX:
    case DC_COLLATE:
    case DC_STAPLE:
    case DC_COLORDEVICE:
    case DC_FILEDEPENDENCIES:
    case DC_PERSONALITY:
    case DC_MEDIATYPES:
    case DC_MEDIATYPENAMES:
        return 0;
    default:
        return GDI_ERROR;
    }
}

} // namespace driver::win32
