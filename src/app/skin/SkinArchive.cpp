#include "app/skin/SkinArchive.h"

#include "base/Compare.h"
#include "base/Utf.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace {

// The archive bytes seen by minizip as a read-only file.
struct MemoryStream {
    std::span<const std::uint8_t> bytes;
    ZPOS64_T pos = 0;
};

voidpf ZCALLBACK memOpen(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto* s = static_cast<MemoryStream*>(opaque);
    s->pos = 0;
    return s;
}

uLong ZCALLBACK memRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* s = static_cast<MemoryStream*>(stream);
    if (s->pos >= s->bytes.size())
        return 0;
    const auto n = static_cast<uLong>(std::min<ZPOS64_T>(size, s->bytes.size() - s->pos));
    std::memcpy(buf, s->bytes.data() + s->pos, n);
    s->pos += n;
    return n;
}

uLong ZCALLBACK memWrite(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK memTell(voidpf, voidpf stream) {
    return static_cast<MemoryStream*>(stream)->pos;
}

long ZCALLBACK memSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* s = static_cast<MemoryStream*>(stream);
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = s->pos;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = s->bytes.size();
        break;
    default:
        return -1;
    }
    if (offset > s->bytes.size() - base)
        return -1;
    s->pos = base + offset;
    return 0;
}

int ZCALLBACK memClose(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK memError(voidpf, voidpf) {
    return 0;
}

struct UnzCloser {
    void operator()(void* f) const noexcept { unzClose(static_cast<unzFile>(f)); }
};

// The index key of a path: '/' separators, no leading separator, lower case.
std::wstring entryKey(std::wstring_view path) {
    std::wstring key = text::toLower(path);
    std::replace(key.begin(), key.end(), L'\\', L'/');
    const auto first = key.find_first_not_of(L'/');
    key.erase(0, first == std::wstring::npos ? key.size() : first);
    return key;
}

ports::Status currentEntryName(unzFile zip, std::wstring& name) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ports::winerr::InvalidData;
    // The packer stores names in UTF-8 (flag bit 11 for the non-ASCII ones).
    std::string raw(info.size_filename, '\0');
    if (unzGetCurrentFileInfo64(zip, &info, raw.data(), static_cast<uLong>(raw.size()), nullptr, 0, nullptr,
                                0) != UNZ_OK)
        return ports::winerr::InvalidData;
    name = text::fromUtf8(raw);
    return ports::winerr::Success;
}

} // namespace

struct SkinArchive::Impl {
    MemoryStream stream;
    std::unique_ptr<void, UnzCloser> zip;
    std::map<std::wstring, unz64_file_pos> index; // entryKey -> position of the entry
    std::vector<std::wstring> names;
    // minizip keeps one current entry per archive handle, so reads take turns.
    mutable std::mutex mutex;
};

SkinArchive::SkinArchive() : impl_(std::make_unique<Impl>()) {}

SkinArchive::~SkinArchive() = default;

void SkinArchive::close() noexcept {
    std::lock_guard lock(impl_->mutex);
    impl_->zip.reset();
    impl_->index.clear();
    impl_->names.clear();
    impl_->stream = {};
}

bool SkinArchive::isOpen() const noexcept {
    std::lock_guard lock(impl_->mutex);
    return impl_->zip != nullptr;
}

ports::Status SkinArchive::open(ports::Resources& resources) {
    const auto bytes = resources.find(ports::kResourceTypeZip, ports::kResourceSkin);
    if (!bytes) {
        close();
        return ports::winerr::FileNotFound;
    }
    return open(*bytes);
}

ports::Status SkinArchive::open(std::span<const std::uint8_t> bytes) {
    close();
    std::lock_guard lock(impl_->mutex);
    impl_->stream.bytes = bytes;
    zlib_filefunc64_def io{};
    io.zopen64_file = memOpen;
    io.zread_file = memRead;
    io.zwrite_file = memWrite;
    io.ztell64_file = memTell;
    io.zseek64_file = memSeek;
    io.zclose_file = memClose;
    io.zerror_file = memError;
    io.opaque = &impl_->stream;
    std::unique_ptr<void, UnzCloser> zip(unzOpen2_64("skin", &io));
    if (!zip)
        return ports::winerr::InvalidData;
    const auto z = static_cast<unzFile>(zip.get());

    unz_global_info64 global{};
    if (unzGetGlobalInfo64(z, &global) != UNZ_OK)
        return ports::winerr::InvalidData;
    std::map<std::wstring, unz64_file_pos> index;
    std::vector<std::wstring> names;
    if (global.number_entry > 0) {
        int rc = unzGoToFirstFile(z);
        for (; rc == UNZ_OK; rc = unzGoToNextFile(z)) {
            std::wstring name;
            if (const auto st = currentEntryName(z, name); !ports::succeeded(st))
                return st;
            if (name.empty() || name.back() == L'/' || name.back() == L'\\')
                continue; // a folder
            unz64_file_pos pos{};
            if (unzGetFilePos64(z, &pos) != UNZ_OK)
                return ports::winerr::InvalidData;
            if (index.emplace(entryKey(name), pos).second) // the first of equal names wins
                names.push_back(std::move(name));
        }
        if (rc != UNZ_END_OF_LIST_OF_FILE)
            return ports::winerr::InvalidData;
    }
    impl_->zip = std::move(zip);
    impl_->index = std::move(index);
    impl_->names = std::move(names);
    return ports::winerr::Success;
}

bool SkinArchive::contains(std::wstring_view path) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->index.contains(entryKey(path));
}

std::vector<std::wstring> SkinArchive::entryNames() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->names;
}

ports::Status SkinArchive::read(std::wstring_view path, std::string& bytes) const {
    bytes.clear();
    std::lock_guard lock(impl_->mutex);
    const auto it = impl_->index.find(entryKey(path));
    if (!impl_->zip || it == impl_->index.end())
        return ports::winerr::FileNotFound;
    const auto z = static_cast<unzFile>(impl_->zip.get());
    auto pos = it->second;
    unz_file_info64 info{};
    if (unzGoToFilePos64(z, &pos) != UNZ_OK ||
        unzGetCurrentFileInfo64(z, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(z) != UNZ_OK)
        return ports::winerr::InvalidData;
    // Grown as the data comes rather than sized from the header, which a damaged archive may
    // overstate.
    char chunk[16 * 1024];
    int n = 0;
    while ((n = unzReadCurrentFile(z, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<std::size_t>(n));
    // Closing checks the CRC once the whole entry has been read.
    const int closed = unzCloseCurrentFile(z);
    if (n < 0 || closed != UNZ_OK || bytes.size() != info.uncompressed_size) {
        bytes.clear();
        return ports::winerr::InvalidData;
    }
    return ports::winerr::Success;
}
