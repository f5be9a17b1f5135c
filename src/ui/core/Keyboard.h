#pragma once
// The keyboard conventions of every window, decided on the model so that each backend agrees: which
// controls Tab visits, and which button Enter and Esc press.
#include "ui/core/Control.h"

#include <vector>

namespace ui {

// Shown, enabled controls that take input (buttons, check boxes, options, edits, combos, grids,
// trees), in layout order.
std::vector<Control*> tabOrder(Control& root);

// What Enter and Esc press: the shown, enabled button of the current page whose layout name ends in
// "_next" or "_cancel" (letter case ignored); null when the page has none.
enum class KeyRole { Next, Cancel };
Control* keyButton(Control& root, KeyRole role);

} // namespace ui
