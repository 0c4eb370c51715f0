// Private to the row list: the running totals over its blocks (rows, bytes, line ends) as Fenwick trees.
#pragma once

#include <cstdint>
#include <vector>

namespace rowstore {

// Sums over the blocks (1-based tree), with the search for the block that holds a given running total.
struct FenwickIndex {
    std::vector<std::int64_t> tree;
    int n = 0;
    int top = 1;  // highest power of two <= n

    void build(const std::vector<std::int64_t>& values) {
        n = static_cast<int>(values.size());
        tree.assign(static_cast<std::size_t>(n) + 1, 0);
        for (int i = 1; i <= n; ++i) {
            tree[i] += values[static_cast<std::size_t>(i - 1)];
            const int j = i + (i & -i);
            if (j <= n) tree[j] += tree[i];
        }
        top = 1;
        while (top * 2 <= n) top *= 2;
    }
    void add(int index, std::int64_t delta) {
        for (int i = index + 1; i <= n; i += i & -i) tree[i] += delta;
    }
    std::int64_t prefix(int count) const {  // sum of the first `count` blocks
        std::int64_t s = 0;
        for (int i = count; i > 0; i -= i & -i) s += tree[i];
        return s;
    }
    // The block b with prefix(b) <= target < prefix(b + 1) (n when target is past the total); `rest` gets
    // target - prefix(b).
    int find(std::int64_t target, std::int64_t& rest) const {
        int pos = 0;
        for (int step = top; step > 0; step >>= 1) {
            const int next = pos + step;
            if (next <= n && tree[next] <= target) {
                pos = next;
                target -= tree[next];
            }
        }
        rest = target;
        return pos;
    }
};

}  // namespace rowstore
