#pragma once
// Helpers the simulated ports share for reading and writing the machine's JSON state: texts are
// UTF-8 in the file and std::wstring at the ports; names of printers, drivers, ports and devices
// compare without regard to case, as Windows compares them.
#include "platform/ports/RegValue.h"
#include "platform/ports/SpoolerTypes.h"
#include "platform/sim/SimMachine.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

std::string u8(std::wstring_view text);
std::wstring wide(std::string_view text);

// The member `key` of an object as text; `def` when it is missing or not a string.
std::wstring textOf(const Json& obj, const char* key, std::wstring_view def = L"");
// A member that may be null or missing (a NULL pointer field), or a text.
ports::NullableText nullableOf(const Json& obj, const char* key);
Json fromNullable(const ports::NullableText& value);
// A number given as an integer or as a "0x..." text (class-of-device and status bits read better in
// hex); `def` when missing or unreadable.
std::uint64_t numberOf(const Json& obj, const char* key, std::uint64_t def = 0);
bool flagOf(const Json& obj, const char* key, bool def = false);
// A list of texts (a JSON array of strings; a single string counts as a list of one).
std::vector<std::wstring> textsOf(const Json& obj, const char* key);
Json fromTexts(const std::vector<std::wstring>& texts);

// The object member `key`, created empty when missing or of another type.
Json& objectAt(Json& obj, const char* key);
Json& arrayAt(Json& obj, const char* key);
// The member or a shared null when missing.
const Json& memberOf(const Json& obj, const char* key);

// The element of an array whose text member `key` equals `name` ignoring case; nullptr if none.
Json* findNamed(Json& array, const char* key, std::wstring_view name);
const Json* findNamed(const Json& array, const char* key, std::wstring_view name);
// The member of an object whose name equals `name` ignoring case; nullptr if none.
Json* findMember(Json& obj, std::wstring_view name);
const Json* findMember(const Json& obj, std::wstring_view name);
// Erases the first element of an array whose `key` equals `name` ignoring case; false if none.
bool eraseNamed(Json& array, const char* key, std::wstring_view name);

// A registry-style value: {"type": "REG_SZ", "value": "text"} (add "nul": true when the bytes end
// with a terminating NUL), REG_EXPAND_SZ likewise, REG_DWORD and REG_QWORD with a number,
// REG_MULTI_SZ with a list of texts, REG_BINARY and REG_NONE with "hex": "0A1B..."; any type may
// carry its exact bytes as "hex" instead.
Json regToJson(const ports::RegValue& value);
ports::RegValue regFromJson(const Json& value);
Json regText(std::wstring_view text); // REG_SZ with its terminating NUL, as Windows writes its own
Json regDword(std::uint32_t value);

std::string hexOf(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> bytesOfHex(std::string_view hex);

// A stable 32-bit hash of a text ignoring case (FNV-1a over the upper-case UTF-16 units).
std::uint32_t hashNoCase(std::wstring_view text);

} // namespace sim
