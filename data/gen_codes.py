#!/usr/bin/env python3
"""Builds the program's code data from Debian data.

Inputs:
  * the Unihan field kFourCornerCode (Debian package unicode-data):
    every character that has a four-corner code becomes a character of the
    input method, its standard code being the four digits and the
    supplementary digit (0 when none is given);
  * the word list of jieba (Debian package python3-jieba, MIT licence):
    words whose characters all have codes and whose frequency is at least
    MIN_FREQ become the input method's words.

Outputs (into --out):
  * jtdb.dat    the SQLite code database: jtzi, jtci0..jtci9, jmzici, and
                candidates (each item's shortest code and its place among that
                code's candidates in the input-method tables)
  * marvik.dic  the segmentation library's dictionary
  * qorvan.txt  every item with its codes and frequency, for building the
                input-method tables (one line: item, standard code, short
                codes, frequency)

The output depends only on the inputs: two runs give byte-identical files.
"""
import argparse
import bz2
import os
import sqlite3
import sys
import tempfile

MIN_FREQ = 5

PACKAGE_OF = {
    "unihan": "unicode-data",
    "jieba": "python3-jieba",
}


def fail(message):
    print("gen_codes: " + message, file=sys.stderr)
    sys.exit(1)


def open_text(path, what):
    if not os.path.isfile(path):
        fail("%s not found: install the Debian package %s (apt-get install %s)"
             % (path, PACKAGE_OF[what], PACKAGE_OF[what]))
    if path.endswith(".bz2"):
        return bz2.open(path, "rt", encoding="utf-8")
    return open(path, "rt", encoding="utf-8")


def read_four_corner(path):
    """Returns {character: five-digit code}."""
    codes = {}
    with open_text(path, "unihan") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3 or parts[1] != "kFourCornerCode":
                continue
            first = parts[2].split()[0]
            main, _, extra = first.partition(".")
            if len(main) != 4 or not main.isdigit():
                continue
            extra = extra or "0"
            if len(extra) != 1 or not extra.isdigit():
                continue
            codes[chr(int(parts[0][2:], 16))] = main + extra
    if len(codes) < 1000:
        fail("%s holds no usable kFourCornerCode entries" % path)
    return codes


def read_words(path, codes):
    """Returns {word: frequency} for the words we keep."""
    words = {}
    with open_text(path, "jieba") as f:
        for line in f:
            parts = line.split()
            if len(parts) < 2 or not parts[1].isdigit():
                continue
            word, freq = parts[0], int(parts[1])
            if freq < MIN_FREQ or not all(c in codes for c in word):
                continue
            words[word] = max(freq, words.get(word, 0))
    if len(words) < 1000:
        fail("%s holds no usable words" % path)
    return words


def word_code(word, codes):
    """The standard code of an item from its characters' five-digit codes: a
    character's own code; for a word six digits, the first three of each of two
    characters, the first two of each of three, and for four or more the first
    digit of the first and second character and the first two of the third and
    the last."""
    c = [codes[ch] for ch in word]
    if len(c) == 1:
        return c[0]
    if len(c) == 2:
        return c[0][:3] + c[1][:3]
    if len(c) == 3:
        return c[0][:2] + c[1][:2] + c[2][:2]
    return c[0][0] + c[1][0] + c[2][:2] + c[-1][:2]


def utf16_key(s):
    return [ord(ch) for ch in s]


def short_codes(chars, words, char_freq, word_freq, codes_of):
    """Assigns short codes: unique proper prefixes of the standard code.

    Levels 1 and 2 take characters only, level 3 characters and words, level 4
    words only; within a level items go in descending frequency, ties in code
    point order; an item keeps at most two short codes. Returns {item: [short
    codes, shortest first]}.
    """
    taken = set()
    result = {}
    char_order = sorted(chars, key=lambda c: (-char_freq[c], utf16_key(c)))
    word_order = sorted(words, key=lambda w: (-word_freq[w], utf16_key(w)))
    all_order = sorted(list(chars) + list(words),
                       key=lambda i: (-(char_freq[i] if len(i) == 1 else word_freq[i]),
                                      utf16_key(i)))
    levels = ((1, char_order), (2, char_order), (3, all_order), (4, word_order))
    for level, order in levels:
        for item in order:
            mine = result.setdefault(item, [])
            if len(mine) >= 2:
                continue
            code = codes_of(item)
            prefix = code[:level]
            if len(code) <= level or prefix in taken:
                continue
            taken.add(prefix)
            mine.append(prefix)
    return {k: v for k, v in result.items() if v}


def candidate_positions(items, std, short):
    """Where each item stands among the candidates of its shortest code.

    items are in the order of qorvan.txt, most frequent first; the input-method
    tables list the items of one code in that order. The shortest code is the
    first short code, or the standard code when there is none. Returns {item:
    (shortest code, 1-based position)}."""
    seen = {}
    place = {}
    for item in items:
        for code in [std[item]] + short.get(item, []):
            seen[code] = seen.get(code, 0) + 1
            place[(item, code)] = seen[code]
    result = {}
    for item in items:
        shortest = (short.get(item) or [std[item]])[0]
        result[item] = (shortest, place[(item, shortest)])
    return result


def write_database(path, chars, words, std, short, positions):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("PRAGMA journal_mode=OFF")
    db.execute("PRAGMA page_size=4096")
    cols = "hz TEXT NOT NULL, srm TEXT NOT NULL, jm1 TEXT NOT NULL, jm2 TEXT NOT NULL"
    tables = ["jtzi"] + ["jtci%d" % d for d in range(10)]
    for t in tables:
        db.execute("CREATE TABLE %s (%s)" % (t, cols))
    db.execute("CREATE TABLE jmzici (hz TEXT NOT NULL, srm TEXT NOT NULL)")
    # Every item's shortest code and its place among that code's candidates.
    db.execute("CREATE TABLE candidates (hz TEXT NOT NULL PRIMARY KEY, code TEXT NOT NULL, "
               "position INTEGER NOT NULL) WITHOUT ROWID")

    def row(item):
        s = short.get(item, [])
        return (item, std[item], s[0] if len(s) > 0 else " ", s[1] if len(s) > 1 else " ")

    db.executemany("INSERT INTO jtzi VALUES (?,?,?,?)", [row(c) for c in chars])
    by_table = {d: [] for d in range(10)}
    for w in words:
        if len(w) < 2:
            continue
        by_table[int(std[w[0]][0])].append(row(w))
    for d in range(10):
        db.executemany("INSERT INTO jtci%d VALUES (?,?,?,?)" % d, by_table[d])
    db.executemany("INSERT INTO jmzici VALUES (?,?)",
                   [(i, short[i][0]) for i in sorted(short, key=utf16_key)])
    db.executemany("INSERT INTO candidates VALUES (?,?,?)",
                   [(i,) + positions[i] for i in sorted(positions, key=utf16_key)])
    for t in tables + ["jmzici"]:
        db.execute("CREATE INDEX idx_%s_hz ON %s (hz)" % (t, t))
    db.commit()
    db.execute("VACUUM")
    db.close()


def write_atomic(path, text):
    directory = os.path.dirname(path) or "."
    fd, tmp = tempfile.mkstemp(dir=directory, prefix=".gen-")
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.remove(tmp)
        raise


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--unihan", required=True)
    ap.add_argument("--jieba", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()

    codes = read_four_corner(args.unihan)
    words = read_words(args.jieba, codes)

    chars = sorted(codes, key=utf16_key)
    multi = sorted((w for w in words if len(w) >= 2), key=utf16_key)
    char_freq = {c: 0 for c in chars}
    for w, f in words.items():
        for ch in set(w):
            char_freq[ch] += f
    std = dict(codes)
    for w in multi:
        std[w] = word_code(w, codes)
    word_freq = {w: words[w] for w in multi}
    short = short_codes(chars, multi, char_freq, word_freq, lambda i: std[i])
    items = sorted(list(chars) + multi,
                   key=lambda i: (-(char_freq[i] if len(i) == 1 else word_freq[i]), utf16_key(i)))
    positions = candidate_positions(items, std, short)

    os.makedirs(args.out, exist_ok=True)
    tmp_db = os.path.join(args.out, ".jtdb.dat.tmp")
    write_database(tmp_db, chars, multi, std, short, positions)
    os.replace(tmp_db, os.path.join(args.out, "jtdb.dat"))

    dict_words = sorted(words, key=utf16_key)
    lines = ["MARVIK-DICT 1 %d %d" % (len(chars), len(dict_words))]
    lines += ["%s\t%s" % (c, codes[c]) for c in chars]
    lines += ["%s\t%d" % (w, words[w]) for w in dict_words]
    lines.append("END")
    write_atomic(os.path.join(args.out, "marvik.dic"), "\n".join(lines) + "\n")

    table = []
    for i in items:
        s = short.get(i, [])
        freq = char_freq[i] if len(i) == 1 else word_freq[i]
        table.append("%s\t%s\t%s\t%d" % (i, std[i], ",".join(s), freq))
    write_atomic(os.path.join(args.out, "qorvan.txt"), "\n".join(table) + "\n")

    print("gen_codes: %d characters, %d words, %d items with short codes"
          % (len(chars), len(multi), len(short)))


if __name__ == "__main__":
    main()
