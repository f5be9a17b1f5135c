#pragma once
// Plain geometry of the toolkit, in pixels.

namespace ui {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Insets on the four sides (padding inside a container, margin around a control).
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Edges&, const Edges&) = default;
};

// The size rules of one control. 0 means "not set" for the fixed and maximum sizes.
struct SizeRules {
    int width = 0;  // fixed width
    int height = 0; // fixed height
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    int stretch = 0; // share of the free space along the parent's main axis; 0 = preferred size
    Edges padding;   // inside, around the children
    Edges margin;    // outside, between this control and its neighbours
};

} // namespace ui
