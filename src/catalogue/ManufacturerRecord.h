#pragma once
// The current manufacturer: filled from the catalogue root at start-up and replaced whole by a
// record of the manufacturer document when the user picks a manufacturer. Name is the manufacturer
// mode that keys every catalogue query.
#include <cstdint>
#include <string>

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
