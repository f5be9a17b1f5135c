#pragma once
// Parsing of layout attribute values. Each returns nothing when the text is not such a value.
#include "ui/core/Control.h"
#include "ui/core/Geometry.h"

#include <optional>
#include <string_view>

namespace ui {

// A decimal integer, optionally negative ("12", "-1").
std::optional<int> parseInt(std::wstring_view text);
// "true" or "false", letter case ignored.
std::optional<bool> parseBool(std::wstring_view text);
// "l,t,r,b", or one number for all four sides.
std::optional<Edges> parseEdges(std::wstring_view text);
// "w,h".
std::optional<Size> parseSize(std::wstring_view text);
// Stores a parsed value in `field`: BadValue (and `field` unchanged) when the text is no boolean, or
// no integer of at least `min`.
AttrResult assignBool(bool& field, std::wstring_view text);
AttrResult assignInt(int& field, std::wstring_view text, int min = 0);

// "#AARRGGBB", "#RRGGBB" or "0xAARRGGBB" as written in layouts, to a COLORREF (0x00BBGGRR).
std::optional<Colour> parseColour(std::wstring_view text);

} // namespace ui
