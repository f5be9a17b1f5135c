#pragma once
// The printers of one family share three USB hardware IDs, so their model comes from the Bluetooth
// name the printer reports over USB. The rules are the maker's naming of those printers.
#include <optional>
#include <string>
#include <string_view>

namespace discovery {

// The three hardware IDs shared by the family (compared exactly).
bool IsNameIdentifiedHardwareId(std::wstring_view hardwareId);

// The catalogue model a Bluetooth name stands for: the first rule that applies (case-sensitive;
// exact rules take the whole name, contains rules any part), else the family's base model for a
// name with "Tovana_", else none (the empty name included).
std::optional<std::wstring> MapBluetoothNameToModel(std::wstring_view name);

} // namespace discovery
