#include "segmenter.h"

#include "dictionary.h"
#include "trie.h"
#include "utf.h"

#include <limits>
#include <vector>

namespace marvik {

namespace {

// Scratch space for one run, kept per thread so that segmenting allocates only when a
// longer run than ever before comes along.
struct Scratch {
    std::vector<double> best;       // best[k]: the best score of the rest of the run from k
    std::vector<std::uint32_t> end; // end[k]: where the first word of that best path ends
};

// Scores the words of trie that start at run[k] and keeps the best in score / bestEnd.
inline void scoreWords(const Trie &trie, const char16_t *run, std::size_t k, std::size_t len,
                       const double *best, double &score, std::size_t &bestEnd) {
    std::uint32_t node = trie.first(run[k]);
    std::size_t j = k + 1;
    while (node != 0) {
        if (trie.isWord(node)) {
            const double s = trie.logp(node) + best[j];
            // On a tie the longer word wins.
            if (s >= score) {
                score = s;
                bestEnd = j;
            }
        }
        if (j >= len)
            break;
        node = trie.next(node, run[j]);
        ++j;
    }
}

// Segments the Chinese run text[0, len) and tags its words, alternating from *odd on.
void segmentRun(const Dictionary &dict, const Trie *custom, const char16_t *run, std::size_t len,
                char16_t *tags, bool &odd) {
    thread_local Scratch scratch;
    if (scratch.best.size() < len + 1) {
        scratch.best.resize(len + 1);
        scratch.end.resize(len + 1);
    }
    double *best = scratch.best.data();
    std::uint32_t *end = scratch.end.data();
    const Trie &words = dict.words();
    const bool haveWords = !words.empty();
    const double unknown = dict.unknownLogp();

    best[len] = 0;
    for (std::size_t k = len; k-- > 0;) {
        if (isLowSurrogate(run[k]))
            continue; // the second half of a pair: no word starts here
        double score = -std::numeric_limits<double>::infinity();
        std::size_t bestEnd = 0;
        if (haveWords)
            scoreWords(words, run, k, len, best, score, bestEnd);
        if (custom)
            scoreWords(*custom, run, k, len, best, score, bestEnd);
        if (bestEnd == 0) {
            bestEnd = k + (isHighSurrogate(run[k]) ? 2 : 1);
            score = unknown + best[bestEnd];
        }
        best[k] = score;
        end[k] = static_cast<std::uint32_t>(bestEnd);
    }

    for (std::size_t k = 0; k < len;) {
        const char16_t tag = odd ? kTagOdd : kTagEven;
        const std::size_t e = end[k];
        for (; k < e; ++k)
            tags[k] = tag;
        odd = !odd;
    }
}

} // namespace

void segment(const Dictionary &dict, const Trie *custom, const char16_t *text, std::size_t n,
             char16_t *tags) {
    if (custom && custom->empty())
        custom = nullptr;
    bool odd = false;
    std::size_t i = 0;
    while (i < n) {
        std::size_t h = hanLength(text, i, n);
        if (h != 0) {
            const std::size_t start = i;
            do {
                i += h;
            } while (i < n && (h = hanLength(text, i, n)) != 0);
            segmentRun(dict, custom, text + start, i - start, tags + start, odd);
        } else if (isItemUnit(text[i])) {
            do {
                tags[i++] = kTagItem;
            } while (i < n && isItemUnit(text[i]));
        } else {
            tags[i++] = kTagOther;
        }
    }
}

} // namespace marvik
