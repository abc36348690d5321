// A read-only trie over UTF-16 units, laid out flat for fast matching: a direct table of
// 65536 entries gives the node of a word's first unit, and the children of every node are
// contiguous, sorted by their unit.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace marvik {

class Trie {
public:
    // One word to put into the trie: units [offset, offset + length) of a shared pool, and
    // the word's log-probability.
    struct Entry {
        std::uint32_t offset;
        std::uint32_t length;
        double logp;
    };

    // Builds the trie from entries sorted by their units, without duplicates and without
    // empty words (see sortEntries).
    void build(const char16_t *pool, const std::vector<Entry> &entries);

    // Sorts entries by their units.
    static void sortEntries(const char16_t *pool, std::vector<Entry> &entries);

    bool empty() const { return root_.empty(); }
    std::size_t nodeCount() const { return nodes_.size(); }

    // The node reached by the single unit u, 0 when no word starts with it. Only valid when
    // the trie is not empty.
    std::uint32_t first(char16_t u) const { return root_[u]; }

    // The node reached from node by the unit u, 0 when there is none.
    std::uint32_t next(std::uint32_t node, char16_t u) const {
        const Node &n = nodes_[node];
        const std::uint32_t begin = n.firstChild;
        const std::uint32_t count = n.childCount & kCountMask;
        const char16_t *labels = labels_.data() + begin;
        if (count <= 8) {
            for (std::uint32_t k = 0; k < count; ++k) {
                if (labels[k] >= u)
                    return labels[k] == u ? begin + k : 0;
            }
            return 0;
        }
        std::uint32_t lo = 0;
        std::uint32_t hi = count;
        while (lo < hi) {
            const std::uint32_t mid = (lo + hi) / 2;
            if (labels[mid] < u)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo < count && labels[lo] == u ? begin + lo : 0;
    }

    bool isWord(std::uint32_t node) const { return (nodes_[node].childCount & kWordFlag) != 0; }
    double logp(std::uint32_t node) const { return nodes_[node].logp; }

    // The node of word when it is a word of the trie, else 0.
    std::uint32_t find(std::u16string_view word) const;

private:
    static constexpr std::uint32_t kWordFlag = 0x80000000u;
    static constexpr std::uint32_t kCountMask = 0x7FFFFFFFu;

    struct Node {
        double logp = 0;
        std::uint32_t firstChild = 0;
        std::uint32_t childCount = 0; // with kWordFlag when the node ends a word
    };

    std::vector<Node> nodes_;      // nodes_[0] is the "no node" sentinel
    std::vector<char16_t> labels_; // labels_[i]: the unit leading into nodes_[i]
    std::vector<std::uint32_t> root_;
};

} // namespace marvik
