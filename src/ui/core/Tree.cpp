#include "ui/core/Tree.h"

#include "ui/core/Backend.h"

namespace ui {
namespace {
std::size_t countNodes(const std::vector<std::unique_ptr<Tree::Node>>& nodes) {
    std::size_t n = nodes.size();
    for (auto& node : nodes)
        n += countNodes(node->children);
    return n;
}
} // namespace

void Tree::clear() {
    selected_ = nullptr;
    roots_.clear();
    changed(Change::Content);
}

Tree::Node& Tree::addNode(Node* parent, std::wstring text, std::wstring data) {
    auto node = std::make_unique<Node>();
    node->text = std::move(text);
    node->data = std::move(data);
    node->parent = parent;
    auto& list = parent ? parent->children : roots_;
    list.push_back(std::move(node));
    changed(Change::Content);
    return *list.back();
}

void Tree::select(Node* node, bool notify) {
    if (node == selected_)
        return;
    selected_ = node;
    changed(Change::State);
    if (notify)
        this->notify(NotifyKind::SelectionChanged);
}

std::size_t Tree::nodeCount() const {
    return countNodes(roots_);
}

} // namespace ui
