#include "trie.h"

#include <algorithm>

namespace marvik {

void Trie::sortEntries(const char16_t *pool, std::vector<Entry> &entries) {
    std::sort(entries.begin(), entries.end(), [pool](const Entry &a, const Entry &b) {
        return std::u16string_view(pool + a.offset, a.length) <
               std::u16string_view(pool + b.offset, b.length);
    });
}

void Trie::build(const char16_t *pool, const std::vector<Entry> &entries) {
    nodes_.clear();
    labels_.clear();
    root_.clear();
    if (entries.empty())
        return;

    // A node still to be given its children: it stands for the common prefix of length
    // depth of entries [lo, hi).
    struct Pending {
        std::uint32_t node;
        std::uint32_t lo;
        std::uint32_t hi;
        std::uint32_t depth;
    };
    const auto unitAt = [&](std::uint32_t i, std::uint32_t depth) {
        return pool[entries[i].offset + depth];
    };

    // There are at most as many nodes as units; room never touched costs no memory.
    std::size_t units = 1;
    for (const Entry &e : entries)
        units += e.length;
    nodes_.reserve(units);
    labels_.reserve(units);
    nodes_.emplace_back();
    labels_.push_back(0);
    root_.assign(0x10000, 0);

    std::vector<Pending> queue;
    queue.reserve(units);

    // Creates one child per distinct unit at depth among entries [lo, hi), which all are
    // longer than depth, and queues them; returns the index of the first child.
    const auto addChildren = [&](std::uint32_t lo, std::uint32_t hi, std::uint32_t depth) {
        const auto firstChild = static_cast<std::uint32_t>(nodes_.size());
        std::uint32_t i = lo;
        while (i < hi) {
            const char16_t u = unitAt(i, depth);
            std::uint32_t j = i + 1;
            while (j < hi && unitAt(j, depth) == u)
                ++j;
            const auto node = static_cast<std::uint32_t>(nodes_.size());
            nodes_.emplace_back();
            labels_.push_back(u);
            queue.push_back({node, i, j, depth + 1});
            i = j;
        }
        return firstChild;
    };

    addChildren(0, static_cast<std::uint32_t>(entries.size()), 0);
    for (std::size_t q = 0; q < queue.size(); ++q) {
        if (queue[q].depth == 1)
            root_[labels_[queue[q].node]] = queue[q].node;
    }

    for (std::size_t q = 0; q < queue.size(); ++q) {
        const Pending p = queue[q];
        std::uint32_t lo = p.lo;
        std::uint32_t flags = 0;
        double logp = 0;
        if (entries[lo].length == p.depth) {
            flags = kWordFlag;
            logp = entries[lo].logp;
            ++lo;
        }
        const std::uint32_t firstChild = addChildren(lo, p.hi, p.depth);
        Node &n = nodes_[p.node];
        n.logp = logp;
        n.firstChild = firstChild;
        n.childCount = (static_cast<std::uint32_t>(nodes_.size()) - firstChild) | flags;
    }
}

std::uint32_t Trie::find(std::u16string_view word) const {
    if (empty() || word.empty())
        return 0;
    std::uint32_t node = first(word[0]);
    for (std::size_t i = 1; node != 0 && i < word.size(); ++i)
        node = next(node, word[i]);
    return node != 0 && isWord(node) ? node : 0;
}

} // namespace marvik
