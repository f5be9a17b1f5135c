#pragma once
// A tree of text nodes (the native tree view), filled by the page.
#include "ui/core/Control.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class Tree : public Control {
public:
    struct Node {
        std::wstring text;
        std::wstring data;
        bool expanded = false;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };

    Tree() : Control(L"Tree") { sizeRules().stretch = 1; }

    void clear();
    // Adds a node below `parent` (null: a top-level node).
    Node& addNode(Node* parent, std::wstring text, std::wstring data = {});
    const std::vector<std::unique_ptr<Node>>& roots() const { return roots_; }
    Node* selected() const { return selected_; }
    // Selects a node of this tree; with `notify` the owner gets a selection change.
    void select(Node* node, bool notify = true);
    // Every node, depth first.
    std::size_t nodeCount() const;

private:
    std::vector<std::unique_ptr<Node>> roots_;
    Node* selected_ = nullptr;
};

} // namespace ui
