#include "ZipBuilder.h"

#include <minizip/zip.h>

#include <algorithm>
#include <cstring>

namespace testing_support {
namespace {

struct Sink {
    std::vector<std::uint8_t> bytes;
    ZPOS64_T pos = 0;
};

voidpf ZCALLBACK sinkOpen(voidpf opaque, const void*, int) {
    return opaque;
}

uLong ZCALLBACK sinkRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* s = static_cast<Sink*>(stream);
    const auto n = static_cast<uLong>(
        std::min<ZPOS64_T>(size, s->bytes.size() - std::min<ZPOS64_T>(s->pos, s->bytes.size())));
    std::memcpy(buf, s->bytes.data() + s->pos, n);
    s->pos += n;
    return n;
}

// zip.c goes back to patch each local header once the entry is written, so writes overwrite.
uLong ZCALLBACK sinkWrite(voidpf, voidpf stream, const void* buf, uLong size) {
    auto* s = static_cast<Sink*>(stream);
    if (s->bytes.size() < s->pos + size)
        s->bytes.resize(s->pos + size);
    std::memcpy(s->bytes.data() + s->pos, buf, size);
    s->pos += size;
    return size;
}

ZPOS64_T ZCALLBACK sinkTell(voidpf, voidpf stream) {
    return static_cast<Sink*>(stream)->pos;
}

long ZCALLBACK sinkSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* s = static_cast<Sink*>(stream);
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_CUR   ? s->pos
                          : origin == ZLIB_FILEFUNC_SEEK_END ? s->bytes.size()
                                                             : 0;
    s->pos = base + offset;
    return 0;
}

int ZCALLBACK sinkClose(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK sinkError(voidpf, voidpf) {
    return 0;
}

bool isAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::vector<std::uint8_t> buildZip(const std::vector<ZipEntry>& entries) {
    Sink sink;
    zlib_filefunc64_def io{sinkOpen, sinkRead, sinkWrite, sinkTell, sinkSeek, sinkClose, sinkError, &sink};
    zipFile zip = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &io);
    if (!zip)
        return {};
    bool ok = true;
    for (const auto& e : entries) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 1980;
        info.tmz_date.tm_mday = 1;
        const uLong utf8Flag = isAscii(e.name) ? 0 : 0x800; // as the skin packer writes such names
        ok = ok &&
             zipOpenNewFileInZip4_64(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                     e.stored ? 0 : Z_DEFLATED, e.stored ? 0 : Z_BEST_COMPRESSION, 0,
                                     -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, utf8Flag,
                                     0) == ZIP_OK &&
             zipWriteInFileInZip(zip, e.data.data(), static_cast<unsigned>(e.data.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    return ok ? std::move(sink.bytes) : std::vector<std::uint8_t>{};
}

} // namespace testing_support
