#pragma once
// Queries on the models of the driver catalogue. The mode argument is a manufacturer mode (the Name
// of the current ManufacturerRecord) or the pseudo mode ZevrPrt, which walks the whole catalogue.
// Nothing here reports an error: what is missing reads as "not found", an empty DriverRef, "" or the
// reader's default.
#include "catalogue/DriverRef.h"
#include "catalogue/XmlDocument.h"

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// Stands for every manufacturer in FirstDriver/NextDriver (compared without regard to case).
inline constexpr std::wstring_view kModeZevrPrt = L"ZevrPrt";
// The base mode; a model without parentmanufacturer finds its parent here.
inline constexpr std::wstring_view kModeNative = L"Native";

// The first model of the first manufacturer whose mode equals mode (case-sensitive), or of the first
// manufacturer at all for ZevrPrt. False, with ref unchanged, when there is none.
bool FirstDriver(std::wstring_view mode, const XmlDocument& catalogueDoc, DriverRef& ref);

// The model after ref in its manufacturer; for ZevrPrt, after the last one, the first model of the
// next manufacturer (an empty manufacturer ends the walk). False, with ref unchanged, at the end.
// mode must be the one given to FirstDriver.
bool NextDriver(std::wstring_view mode, DriverRef& ref);

// The model's own name attribute, "" when absent or for an empty reference. The text lives as long
// as the document.
const std::wstring& DriverName(DriverRef ref);

// The first model named name (exact) in the first manufacturer whose mode equals mode (exact; ZevrPrt
// is an ordinary mode here). Empty when either is missing.
DriverRef FindDriver(std::wstring_view mode, std::wstring_view name, const XmlDocument& catalogueDoc);

// The first model of a FirstDriver/NextDriver walk whose DriverUsbName equals hardwareId code unit by
// code unit, or empty.
DriverRef FindDriverByUsbName(std::wstring_view mode, std::wstring_view hardwareId,
                              const XmlDocument& catalogueDoc);

// The model named by ref's parent attribute ("" when missing) in the manufacturer named by its
// parentmanufacturer attribute (Native when missing), in the same document; empty when none.
DriverRef ParentDriver(DriverRef ref);

// The model's own attribute if it has one (an empty value included), else the parent's, up the
// chain; nothing when no model of the chain has it. A chain that comes back to a model it has
// already visited stops there: the attribute counts as absent. name, parent and parentmanufacturer
// are only ever the model's own.
std::optional<std::wstring> InheritedAttribute(DriverRef ref, std::wstring_view attribute);

// The mode of the manufacturer holding the model (not inherited); "" for an empty reference.
const std::wstring& DriverManufacturerMode(DriverRef ref);

// Inherited attributes with their defaults (also for an empty reference). A boolean is true when its
// value starts with 1, T, t, Y or y; an empty value reads false.
std::wstring DriverUsbName(DriverRef ref);    // usbname, ""
std::wstring DriverCustomName(DriverRef ref); // customname, ""
std::wstring DriverComment(DriverRef ref);    // comment, ""
bool IsBluetoothDriver(DriverRef ref);        // bluetoothdriver, true
bool IsBluetoothAdapter(DriverRef ref);       // btadapter, false
bool SupportsUdp(DriverRef ref);              // udp, false
bool UsesLanguageMonitor(DriverRef ref);      // languagemonitor, false

} // namespace catalogue
