#pragma once
// The two catalogue types that the session holds by value: DriverRef (one catalogue model) and
// ManufacturerRecord (the current manufacturer). Both belong to the catalogue layer
// (catalogue/DriverRef.h and catalogue/ManufacturerRecord.h). Until that layer is part of this
// tree, the stand-ins below carry the same names and fields.
// MERGE: once both headers exist, the first branch is taken; then delete the stand-ins and keep
// only the two includes.
#if __has_include("catalogue/DriverRef.h") && __has_include("catalogue/ManufacturerRecord.h")
#include "catalogue/DriverRef.h"
#include "catalogue/ManufacturerRecord.h"
#else
#include <cstdint>
#include <string>

namespace catalogue {
class XmlDocument;
}

// Stand-in: the empty reference means "no model".
struct DriverRef {
    const catalogue::XmlDocument* document = nullptr;
    std::uint32_t index = 0;

    bool empty() const noexcept { return document == nullptr; }
    explicit operator bool() const noexcept { return document != nullptr; }
    friend bool operator==(const DriverRef&, const DriverRef&) = default;
};

// Stand-in with the fields of the manufacturer record, in their order.
struct ManufacturerRecord {
    std::wstring Name;
    std::wstring ProductName;
    std::wstring ProductEnName;
    std::wstring CompanyName;
    std::wstring CompanyEnName;
    std::wstring WebSite;
    std::wstring Email;
    std::wstring Tel;
    std::wstring LogoFile;
    std::wstring Manufacturer;
    std::wstring SetupPackageName;
    std::int32_t V0 = 0;
    std::int32_t V1 = 0;
    std::int32_t V2 = 0;
    std::int32_t V3 = 0;
    std::wstring Time;
    bool Disable = false;
    std::wstring Remark;

    friend bool operator==(const ManufacturerRecord&, const ManufacturerRecord&) = default;
};
#endif
