#include "ui/core/Layout.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {
namespace {

class Layouter {
public:
    Layouter(double scale, const Measure& measure) : scale_(scale), measure_(measure) {}

    LayoutMap result;

    void place(const Control& c, const Rect& r) {
        result[&c] = r;
        if (c.children().empty())
            return;
        const auto& rules = c.sizeRules();
        Rect inner{r.left + px(rules.padding.left), r.top + px(rules.padding.top),
                   r.right - px(rules.padding.right), r.bottom - px(rules.padding.bottom)};
        if (c.stacksChildren()) {
            for (auto& child : c.children()) {
                if (shown(c, *child))
                    place(*child, crossOnly(*child, inner, true, inner.top, inner.height()));
                else
                    hide(*child);
            }
            return;
        }
        arrange(c, inner, !c.arrangesHorizontally());
    }

private:
    int px(int v) const { return static_cast<int>(std::lround(v * scale_)); }

    static bool shown(const Control& parent, const Control& child) {
        return child.visible() && (!parent.stacksChildren() || parent.shownChild() == &child);
    }

    void hide(const Control& c) {
        result[&c] = Rect{};
        for (auto& child : c.children())
            hide(*child);
    }

    // Along the axis: the leading and trailing margins; across it likewise.
    int marginAlong(const Control& c, bool vertical) const {
        auto& m = c.sizeRules().margin;
        return vertical ? px(m.top) + px(m.bottom) : px(m.left) + px(m.right);
    }

    int clampTo(int v, int min, int max) const {
        if (max > 0)
            v = std::min(v, px(max));
        return std::max(v, px(min));
    }
    int minAlong(const Control& c, bool vertical) const {
        return px(vertical ? c.sizeRules().minHeight : c.sizeRules().minWidth);
    }
    int maxAlong(const Control& c, bool vertical) const {
        int m = vertical ? c.sizeRules().maxHeight : c.sizeRules().maxWidth;
        return m > 0 ? px(m) : 0;
    }
    int fixedAlong(const Control& c, bool vertical) const {
        return vertical ? c.sizeRules().height : c.sizeRules().width;
    }

    // Preferred outer-less size along one axis, scaled.
    int preferred(const Control& c, bool vertical) const {
        const auto& r = c.sizeRules();
        if (int fixed = fixedAlong(c, vertical))
            return clampTo(px(fixed), vertical ? r.minHeight : r.minWidth,
                           vertical ? r.maxHeight : r.maxWidth);
        int size = 0;
        if (c.children().empty()) {
            Size s = measure_.preferred(c);
            size = px(vertical ? s.height : s.width);
        } else {
            bool along = c.stacksChildren() ? false : (c.arrangesHorizontally() ? !vertical : vertical);
            int count = 0;
            for (auto& child : c.children()) {
                if (!shown(c, *child))
                    continue;
                int s = preferred(*child, vertical) + marginAlong(*child, vertical);
                size = along ? size + s : std::max(size, s);
                ++count;
            }
            if (along && count > 1)
                size += px(c.spacing()) * (count - 1);
            size += vertical ? px(r.padding.top) + px(r.padding.bottom)
                             : px(r.padding.left) + px(r.padding.right);
        }
        return clampTo(size, vertical ? r.minHeight : r.minWidth, vertical ? r.maxHeight : r.maxWidth);
    }

    // The child's rectangle across the axis: it fills `inner` unless it has a fixed size there.
    Rect crossOnly(const Control& child, const Rect& inner, bool vertical, int start, int length) const {
        const auto& m = child.sizeRules().margin;
        int crossStart = vertical ? inner.left + px(m.left) : inner.top + px(m.top);
        int crossRoom = (vertical ? inner.width() : inner.height()) - marginAlong(child, !vertical);
        int fixed = fixedAlong(child, !vertical);
        int cross = fixed ? px(fixed) : crossRoom;
        cross =
            std::max(0, clampTo(cross, vertical ? child.sizeRules().minWidth : child.sizeRules().minHeight,
                                vertical ? child.sizeRules().maxWidth : child.sizeRules().maxHeight));
        if (!fixed)
            cross = std::min(cross, std::max(crossRoom, px(vertical ? child.sizeRules().minWidth
                                                                    : child.sizeRules().minHeight)));
        int mainStart = start + (vertical ? px(m.top) : px(m.left));
        length = std::max(0, length);
        if (vertical)
            return Rect{crossStart, mainStart, crossStart + cross, mainStart + length};
        return Rect{mainStart, crossStart, mainStart + length, crossStart + cross};
    }

    void arrange(const Control& c, const Rect& inner, bool vertical) {
        struct Item {
            const Control* control;
            int size = 0;
            bool flexible = false;
        };
        std::vector<Item> items;
        for (auto& child : c.children()) {
            if (!shown(c, *child)) {
                hide(*child);
                continue;
            }
            Item it{child.get()};
            if (fixedAlong(*child, vertical) == 0 && child->sizeRules().stretch > 0)
                it.flexible = true;
            else
                it.size = preferred(*child, vertical);
            items.push_back(it);
        }
        if (items.empty())
            return;
        int room = vertical ? inner.height() : inner.width();
        int used = px(c.spacing()) * static_cast<int>(items.size() - 1);
        for (auto& it : items)
            used += marginAlong(*it.control, vertical) + (it.flexible ? 0 : it.size);
        distribute(items, room - used, vertical);

        int pos = vertical ? inner.top : inner.left;
        for (auto& it : items) {
            place(*it.control, crossOnly(*it.control, inner, vertical, pos, it.size));
            pos += it.size + marginAlong(*it.control, vertical) + px(c.spacing());
        }
    }

    // Shares `free` among the flexible items by stretch; an item whose share breaks its minimum or
    // maximum is held there and the others share again.
    template <typename Items> void distribute(Items& items, int free, bool vertical) {
        std::vector<bool> settled(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            settled[i] = !items[i].flexible;
        for (;;) {
            long total = 0;
            for (std::size_t i = 0; i < items.size(); ++i)
                if (!settled[i])
                    total += items[i].control->sizeRules().stretch;
            if (total == 0)
                return;
            bool held = false;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (settled[i])
                    continue;
                int share = static_cast<int>(static_cast<long>(std::max(free, 0)) *
                                             items[i].control->sizeRules().stretch / total);
                int min = minAlong(*items[i].control, vertical), max = maxAlong(*items[i].control, vertical);
                if (share < min || (max > 0 && share > max)) {
                    items[i].size = share < min ? min : max;
                    settled[i] = true;
                    free -= items[i].size;
                    held = true;
                }
            }
            if (held)
                continue;
            // Integer shares, the rounding remainder to the last flexible item.
            int left = std::max(free, 0);
            std::size_t last = 0;
            for (std::size_t i = 0; i < items.size(); ++i)
                if (!settled[i]) {
                    items[i].size = static_cast<int>(static_cast<long>(std::max(free, 0)) *
                                                     items[i].control->sizeRules().stretch / total);
                    left -= items[i].size;
                    last = i;
                }
            items[last].size += left;
            return;
        }
    }

    double scale_;
    const Measure& measure_;
};

void store(Control& c, const LayoutMap& layout) {
    auto it = layout.find(&c);
    c.setRect(it == layout.end() ? Rect{} : it->second);
    for (auto& child : c.children())
        store(*child, layout);
}

} // namespace

LayoutMap computeLayout(const Control& root, Size client, double scale, const Measure& measure) {
    Layouter l(scale, measure);
    if (!root.visible()) {
        l.result[&root] = Rect{};
        return std::move(l.result);
    }
    l.place(root, Rect{0, 0, client.width, client.height});
    return std::move(l.result);
}

void applyLayout(Control& root, const LayoutMap& layout) {
    store(root, layout);
}

} // namespace ui
