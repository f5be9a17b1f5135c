#pragma once
// The layout: a pure function from a control tree and a client size (and DPI scale) to a rectangle
// per control, in the manner of box sizers.
//
// A container places its shown children inside its padding, one after another along its axis
// (vertical or horizontal, with `spacing` between neighbours), or all on top of each other (a tab).
// Along the axis a child takes its fixed size when it has one; otherwise, with a stretch, a share of
// the free space in proportion to its stretch; otherwise its preferred size. Minimum and maximum
// sizes bound all three; a stretching child held at a bound gives the rest to the others. Across the
// axis a child fills the container unless it has a fixed size. Margins keep space around a child.
// Every pixel size of the tree is multiplied by the scale; preferred sizes come from the measure.
#include "ui/core/Control.h"
#include "ui/core/Geometry.h"

#include <unordered_map>

namespace ui {

// The preferred size of a leaf control's content (text, picture) in unscaled pixels.
class Measure {
public:
    virtual Size preferred(const Control& control) const = 0;

protected:
    ~Measure() = default;
};

using LayoutMap = std::unordered_map<const Control*, Rect>;

// Rectangles of every control of the tree; hidden controls (and unselected tab pages) get an empty
// rectangle at the origin, and so do their subtrees.
LayoutMap computeLayout(const Control& root, Size client, double scale, const Measure& measure);

// Stores the result in each control's rect().
void applyLayout(Control& root, const LayoutMap& layout);

} // namespace ui
