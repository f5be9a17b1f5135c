#pragma once
// Small ZIP archives built in memory for the tests, written by minizip's zip side.
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
    std::string name; // UTF-8, '/' separators; a name ending in '/' is a folder
    std::string data;
    bool stored = false; // deflated unless set
};

// The bytes of an archive holding `entries` in this order; empty when minizip fails.
std::vector<std::uint8_t> buildZip(const std::vector<ZipEntry>& entries);

} // namespace testing_support
