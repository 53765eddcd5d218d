#include "engine/layer_tree.h"

namespace brightline::engine {

void LayerTree::clear() {
    for (Node& n : nodes_) n = Node{};
    nodes_[0].parent = 0;
}

bool LayerTree::insert(int region, const Rect& rect) {
    if (region < 1 || region >= kMaxNodes || nodes_[region].parent != -1) return false;
    int at = 0;
    for (bool descended = true; descended;) {
        descended = false;
        for (int child : nodes_[at].children) {
            if (nodes_[child].rect.contains(rect)) {
                at = child;
                descended = true;
                break;
            }
        }
    }
    Node& node = nodes_[at];
    Node& fresh = nodes_[region];
    fresh.rect = rect;
    fresh.children.clear();
    for (int& child : node.children) {
        if (rect.contains(nodes_[child].rect)) {
            // The new region takes the child's place and the child moves inside it.
            fresh.children.push_back(child);
            nodes_[child].parent = region;
            child = region;
            fresh.parent = at;
            return true;
        }
    }
    if (static_cast<int>(node.children.size()) >= kMaxChildren) return false;
    node.children.push_back(region);
    fresh.parent = at;
    return true;
}

}  // namespace brightline::engine
