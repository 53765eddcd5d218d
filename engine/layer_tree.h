#pragma once
// Which region lies inside which: a tree rooted at the screen (slot 0) with one node per
// region, children in insertion order. Composition walks it depth first, so a region nested in
// another is drawn after it and stays on top.
//
// Thread affinity: the show player thread.
#include <vector>

namespace brightline::engine {

class LayerTree {
  public:
    static constexpr int kMaxChildren = 10;
    static constexpr int kMaxNodes = 10;  // slot 0 and regions 1..9

    struct Rect {
        int x, y, width, height;
        bool contains(const Rect& r) const {
            return x <= r.x && y <= r.y && x + width >= r.x + r.width &&
                   y + height >= r.y + r.height;
        }
    };

    LayerTree() { clear(); }
    // Back to a lone root.
    void clear();
    // Inserts region `region` (1..9) with rectangle `rect`: it descends into the first child
    // containing it, level by level; where no child contains it, it becomes the last child of
    // that node, except that a child lying wholly inside it is taken in as its first child (the
    // new node takes that child's place). False when the node is full or `region` is out of
    // range or already in the tree.
    bool insert(int region, const Rect& rect);

    // Region numbers of the children of `node` (0 the root), in drawing order.
    const std::vector<int>& children(int node) const { return nodes_[node].children; }
    // The parent of region `region`: 0 for a top-level region, -1 when not in the tree.
    int parent(int region) const { return nodes_[region].parent; }

  private:
    struct Node {
        int parent = -1;
        Rect rect{};
        std::vector<int> children;
    };
    Node nodes_[kMaxNodes];
};

}  // namespace brightline::engine
