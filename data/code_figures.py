#!/usr/bin/env python3
"""How typeable the words of the generated tables are.

Reads qorvan.txt (written by data/gen_codes.py; the input-method tables are built
from it) and reports, over the words (items of two or more characters), each word
counted as often as its frequency says:

  * the share that is the first candidate of its shortest code;
  * the share that is on the first page of that code's candidates;
  * the average keys a word costs: the digits of its shortest code, one key that
    commits it (Space for the first candidate, a selection key for another on the
    page) and one key for each page turned to reach it;

and the same for the characters, the number of items with a short code of each
length, and the words that are hardest to reach.

Under one code both input methods list the items in the order of qorvan.txt (most
frequent first); this is the order the figures use. --require-first and
--require-first-page make the exit code 1 when a share falls below the percentage
given, so that a test can hold the code scheme to them.
"""
import argparse
import collections
import json
import sys

DEFAULT_PAGE_SIZE = 5


def fail(message):
    print("code_figures: " + message, file=sys.stderr)
    sys.exit(2)


def read_items(path):
    """Returns [(item, [standard code, short codes...], frequency)] in file order."""
    items = []
    try:
        f = open(path, encoding="utf-8")
    except OSError as e:
        fail("cannot read %s: %s" % (path, e.strerror))
    with f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line:
                continue
            parts = line.split("\t")
            if len(parts) != 4 or not parts[3].isdigit():
                fail("%s:%d: expected item, code, short codes, frequency" % (path, number))
            item, standard, short, freq = parts
            items.append((item, [standard] + [s for s in short.split(",") if s], int(freq)))
    if not items:
        fail("%s holds no items" % path)
    return items


def positions(items):
    """Returns {item: (shortest code, 1-based position under it)}."""
    under = collections.defaultdict(int)
    place = {}
    for item, codes, _ in items:
        for code in codes:
            under[code] += 1
            place[(item, code)] = under[code]
    result = {}
    for item, codes, _ in items:
        shortest = min(codes, key=len)
        result[item] = (shortest, place[(item, shortest)])
    return result


def figures(items, page_size, words):
    """The figures over the words (words=True) or the characters."""
    where = positions(items)
    total = first = first_page = keys = count = 0
    hardest = []
    for item, _, freq in items:
        if (len(item) > 1) != words:
            continue
        code, pos = where[item]
        weight = max(freq, 0)
        count += 1
        total += weight
        first += weight if pos == 1 else 0
        first_page += weight if pos <= page_size else 0
        keys += weight * (len(code) + 1 + (pos - 1) // page_size)
        if pos > page_size:
            hardest.append((-weight, item, code, pos))
    hardest.sort()
    total = total or 1
    return {
        "items": count,
        "first_candidate_percent": round(100.0 * first / total, 2),
        "first_page_percent": round(100.0 * first_page / total, 2),
        "average_keys": round(keys / total, 3),
        "most_frequent_beyond_the_first_page": [
            {"item": i, "code": c, "position": p} for _, i, c, p in hardest[:5]],
    }


def short_code_lengths(items):
    lengths = collections.Counter()
    for item, codes, _ in items:
        for code in codes[1:]:
            lengths["%s %d" % ("words" if len(item) > 1 else "characters", len(code))] += 1
    return dict(sorted(lengths.items()))


def busiest_codes(items):
    sizes = collections.Counter(code for _, codes, _ in items for code in codes)
    (code, most), = sizes.most_common(1)
    return {"codes": len(sizes), "items_under_the_busiest": most, "busiest": code}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("items", help="qorvan.txt")
    parser.add_argument("--page-size", type=int, default=DEFAULT_PAGE_SIZE,
                        help="candidates a page (default %(default)s, as both tables set it)")
    parser.add_argument("--json", action="store_true", help="print the figures as JSON")
    parser.add_argument("--require-first", type=float, metavar="PERCENT")
    parser.add_argument("--require-first-page", type=float, metavar="PERCENT")
    args = parser.parse_args()
    if args.page_size < 1:
        fail("the page size must be at least 1")

    items = read_items(args.items)
    report = {
        "page_size": args.page_size,
        "words": figures(items, args.page_size, True),
        "characters": figures(items, args.page_size, False),
        "short_codes": short_code_lengths(items),
        "codes": busiest_codes(items),
    }
    if args.json:
        print(json.dumps(report, ensure_ascii=False, indent=1))
    else:
        print("page size %d" % args.page_size)
        for what in ("words", "characters"):
            f = report[what]
            print("%s: %d; by frequency %.2f %% first candidate of their shortest code, "
                  "%.2f %% on the first page, %.3f keys on average"
                  % (what, f["items"], f["first_candidate_percent"],
                     f["first_page_percent"], f["average_keys"]))
            if f["most_frequent_beyond_the_first_page"]:
                print("  most frequent beyond the first page: " + ", ".join(
                    "%s (%s, %d.)" % (h["item"], h["code"], h["position"])
                    for h in f["most_frequent_beyond_the_first_page"]))
        print("short codes: " + ", ".join("%s digits: %d" % kv
                                          for kv in report["short_codes"].items()))
        c = report["codes"]
        print("codes: %d; the busiest, %s, has %d items"
              % (c["codes"], c["busiest"], c["items_under_the_busiest"]))

    words = report["words"]
    status = 0
    for need, got, what in ((args.require_first, words["first_candidate_percent"],
                             "first candidate"),
                            (args.require_first_page, words["first_page_percent"],
                             "on the first page")):
        if need is not None and got < need:
            print("code_figures: only %.2f %% of word occurrences are %s (required %.2f %%)"
                  % (got, what, need), file=sys.stderr)
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
