#pragma once
// The skin ZIP archive read straight from memory (the program's "ZIPRES" resource, or any bytes).
// Opening builds an index of the entries; each read inflates one entry and checks its CRC.
// Entry names are looked up ignoring case, with '\' and '/' alike, because the code writes Windows
// paths ("Lang\English\StringResource.lng") while the packed archive stores '/'.
#include "app/skin/SkinFiles.h"
#include "platform/ports/Resources.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class SkinArchive final : public SkinFiles {
public:
    SkinArchive();
    ~SkinArchive() override;
    SkinArchive(const SkinArchive&) = delete;
    SkinArchive& operator=(const SkinArchive&) = delete;

    // Opens the archive held in `bytes`; the bytes are not copied and must outlive the open archive.
    // ERROR_INVALID_DATA when they are not a readable ZIP archive. An open archive is closed first.
    ports::Status open(std::span<const std::uint8_t> bytes);
    // Opens the program's skin, resource "ZIPRES" 129; ERROR_FILE_NOT_FOUND when it is absent.
    ports::Status open(ports::Resources& resources);
    void close() noexcept;
    bool isOpen() const noexcept;

    ports::Status read(std::wstring_view path, std::string& bytes) const override;
    bool contains(std::wstring_view path) const;
    // The file entries as the archive names them ("Lang/English/StringResource.lng"), in archive
    // order; folder entries are left out.
    std::vector<std::wstring> entryNames() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_; // keeps minizip's headers (and their macros) out of every includer
};
