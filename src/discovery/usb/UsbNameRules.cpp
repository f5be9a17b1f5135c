#include "discovery/usb/UsbNameRules.h"

#include <array>

namespace discovery {
namespace {

enum class Match { Exact, Contains };

struct NameRule {
    Match match;
    std::wstring_view text;
    std::wstring_view model;
};

// Order matters: the longer names of a line come before the names they contain.
constexpr std::array<NameRule, 25> kRules{{
    {Match::Exact, L"TV-B58Pro", L"TV-B58Pro"},   {Match::Exact, L"TV-B80Pro", L"TV-B80Pro"},
    {Match::Exact, L"TV-P110Pro", L"TV-P110Pro"}, {Match::Exact, L"TV-Q40Mini", L"TV-Q40Mini"},
    {Match::Contains, L"Q50Plus", L"TV-Q50Plus"}, {Match::Contains, L"M58W", L"TV-M58W"},
    {Match::Contains, L"M80W", L"TV-M80W"},       {Match::Contains, L"P110W", L"TV-P110W"},
    {Match::Exact, L"TV-D30C", L"TV-D30C"},       {Match::Contains, L"D30", L"TV-D30"},
    {Match::Contains, L"Q50", L"TV-Q50"},         {Match::Contains, L"Q40", L"TV-Q40"},
    {Match::Contains, L"M110", L"TV-M110"},       {Match::Exact, L"TV-B58", L"TV-B58"},
    {Match::Exact, L"TV-B58S", L"TV-B58S"},       {Match::Exact, L"TV-B80", L"TV-B80"},
    {Match::Exact, L"TV-B80S", L"TV-B80S"},       {Match::Exact, L"TV-M58", L"TV-M58"},
    {Match::Exact, L"TV-M80", L"TV-M80"},         {Match::Exact, L"TV-P110", L"TV-P110"},
    {Match::Exact, L"B58_BT", L"TV-B58"},         {Match::Exact, L"B80_BT", L"TV-B80"},
    {Match::Exact, L"M58_BT", L"TV-M58"},         {Match::Exact, L"M80_BT", L"TV-M80"},
    {Match::Exact, L"P110_BT", L"TV-P110"},
}};

constexpr std::wstring_view kFamilyMark = L"Tovana_";
constexpr std::wstring_view kFamilyBaseModel = L"TV-M58";

constexpr std::array<std::wstring_view, 3> kFamilyHardwareIds{
    L"USBPRINT\\Tovana_A6B36A", L"USBPRINT\\Tovana_A877EB", L"USBPRINT\\Tovana_A773AB"};

} // namespace

bool IsNameIdentifiedHardwareId(std::wstring_view hardwareId) {
    for (auto id : kFamilyHardwareIds)
        if (hardwareId == id)
            return true;
    return false;
}

std::optional<std::wstring> MapBluetoothNameToModel(std::wstring_view name) {
    for (const auto& rule : kRules) {
        const bool applies =
            rule.match == Match::Exact ? name == rule.text : name.find(rule.text) != std::wstring_view::npos;
        if (applies)
            return std::wstring(rule.model);
    }
    if (name.find(kFamilyMark) != std::wstring_view::npos)
        return std::wstring(kFamilyBaseModel);
    return std::nullopt;
}

} // namespace discovery
