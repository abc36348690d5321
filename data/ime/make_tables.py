#!/usr/bin/env python3
"""Builds the sources of the Qorvan input method's tables from qorvan.txt.

qorvan.txt (written by data/gen_codes.py) has one item a line:
    item <TAB> standard code <TAB> short codes, comma-separated <TAB> frequency
most frequent first. Every item is typed with its standard code and with each of
its short codes; under one code the more frequent item comes first.

Outputs (into --out):
  * qorvan.ibus.txt   the source of the IBus table (ibus-table-createdb -s)
  * qorvan.fcitx.txt  the source of the Fcitx 5 table (libime_tabledict)
  * qorvan.conf       the Fcitx 5 input method (inputmethod/qorvan.conf)

The output depends only on the input: two runs give byte-identical files.
"""
import argparse
import os
import sys
import tempfile

NAME = "Qorvan输入法第四版"
DIGITS = "0123456789"
# Candidates a page, the same in both frameworks. Every digit is a code key, so the
# candidates of a page are chosen with F1 ... F5; IBus takes its page size from the
# number of selection keys (at most its own setting, 6 unless the user changed it),
# Fcitx 5 from PageSize.
PAGE_SIZE = 5
SELECT_KEYS = ["F%d" % (i + 1) for i in range(PAGE_SIZE)]
# Paging, the same keys in both: Page Up/Page Down and "-"/"=". Fcitx 5 also keeps
# its own Up/Down for paging; under IBus the arrow keys move the highlighted
# candidate instead.
IBUS_PAGE_UP = ["Page_Up", "KP_Page_Up", "minus"]
IBUS_PAGE_DOWN = ["Page_Down", "KP_Page_Down", "equal"]
FCITX_PREV_PAGE = ["Prior", "minus"]
FCITX_NEXT_PAGE = ["Next", "equal"]
FCITX_PREV_CANDIDATE = ["Up"]
FCITX_NEXT_CANDIDATE = ["Down"]
# The Fcitx 5 table file as the input method's configuration names it, relative
# to Fcitx 5's data folders (/usr/share/fcitx5, ~/.local/share/fcitx5, ...).
FCITX_DICT = "table/qorvan.main.dict"


def fail(message):
    print("make_tables: " + message, file=sys.stderr)
    sys.exit(1)


def read_items(path):
    """Returns [(code, item, frequency)] in the order of the file: by item,
    most frequent first; each item's standard code, then its short codes."""
    rows = []
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
            if len(parts) != 4:
                fail("%s:%d: expected 4 tab-separated fields" % (path, number))
            item, standard, short, freq = parts
            codes = [standard] + [s for s in short.split(",") if s]
            if not item or any(c == "" or c.strip(DIGITS) for c in codes):
                fail("%s:%d: bad item or code" % (path, number))
            if any(ch.isspace() for ch in item):
                fail("%s:%d: item contains white space" % (path, number))
            try:
                frequency = int(freq)
            except ValueError:
                fail("%s:%d: bad frequency %r" % (path, number, freq))
            for code in codes:
                rows.append((code, item, frequency))
    if not rows:
        fail("%s holds no items" % path)
    return rows


def ibus_source(rows):
    max_len = max(len(code) for code, _, _ in rows)
    definition = [
        ("UUID", "5b0e8f7e-4c1a-4f5e-9a51-0d3f7c2e6a41"),
        ("SERIAL_NUMBER", "20260101"),
        ("ICON", "ibus-table.svg"),
        ("SYMBOL", "四"),
        # Only NAME: a NAME.zh_CN would replace it under a Chinese locale, and the
        # program finds the input method by this very name.
        ("NAME", NAME),
        ("DESCRIPTION", "Qorvan numeric shape code: characters and words by digits"),
        ("LANGUAGES", "zh_CN"),
        ("LICENSE", "Freely redistributable"),
        ("AUTHOR", "Trevix"),
        ("STATUS_PROMPT", "四"),
        ("VALID_INPUT_CHARS", DIGITS),
        ("LAYOUT", "us"),
        ("MAX_KEY_LENGTH", str(max_len)),
        ("AUTO_COMMIT", "FALSE"),
        ("AUTO_SELECT", "FALSE"),
        # Without it IBus refuses a digit after which no code matches exactly, and
        # the five-digit beginning of a word's six-digit code is usually no code.
        # The items of exactly the typed code still come first.
        ("AUTO_WILDCARD", "TRUE"),
        ("DEF_FULL_WIDTH_PUNCT", "TRUE"),
        ("DEF_FULL_WIDTH_LETTER", "FALSE"),
        # ibus-table reads the user database (the program's custom words) only when
        # user phrases are allowed; without RULES it never makes phrases itself.
        ("USER_CAN_DEFINE_PHRASE", "TRUE"),
        ("PINYIN_MODE", "FALSE"),
        ("SUGGESTION_MODE", "FALSE"),
        ("DYNAMIC_ADJUST", "FALSE"),
        ("LANGUAGE_FILTER", "cm4"),
        # Function keys select, so that every digit stays a code key; their number
        # is the page size.
        ("SELECT_KEYS", ",".join(SELECT_KEYS)),
        ("PAGE_UP_KEYS", ",".join(IBUS_PAGE_UP)),
        ("PAGE_DOWN_KEYS", ",".join(IBUS_PAGE_DOWN)),
        ("ORIENTATION", "1"),
    ]
    out = ["SCIM_Generic_Table_Phrase_Library_TEXT", "VERSION_1_0", "", "BEGIN_DEFINITION"]
    out += ["%s = %s" % kv for kv in definition]
    out += ["END_DEFINITION", "", "BEGIN_TABLE"]
    out += ["%s\t%s\t%d" % row for row in rows]
    out += ["END_TABLE", ""]
    return "\n".join(out)


def fcitx_source(rows):
    max_len = max(len(code) for code, _, _ in rows)
    out = ["KeyCode=" + DIGITS, "Length=%d" % max_len, "[Data]"]
    # Under one code libime keeps the order of this file (OrderPolicy=No), so the
    # rows go by code, most frequent item first.
    order = sorted(range(len(rows)), key=lambda i: (rows[i][0], -rows[i][2], i))
    out += ["%s %s" % (rows[i][0], rows[i][1]) for i in order]
    return "\n".join(out) + "\n"


def fcitx_conf():
    return "\n".join([
        "[InputMethod]",
        "Name=" + NAME,
        "Icon=fcitx-table",
        "Label=四",
        "LangCode=zh_CN",
        "Addon=table",
        "Configurable=True",
        "",
        "[Table]",
        "File=" + FCITX_DICT,
        "OrderPolicy=No",
        "PageSize=%d" % PAGE_SIZE,
        "AutoSelect=False",
        "AutoSelectLength=0",
        "NoMatchAutoSelectLength=0",
        "CommitRawInput=False",
        "Learning=False",
        "AutoPhraseLength=-1",
        "SaveAutoPhraseAfter=-1",
        "ExactMatch=False",
        "Hint=False",
        "UseFullWidth=True",
        "UseSystemLanguageModel=False",
        "UseContextBasedOrder=False",
        "",
        "[Table/Selection]",
    ] + ["%d=%s" % kv for kv in enumerate(SELECT_KEYS)] + [
        "",
        "[Table/PrevPage]",
    ] + ["%d=%s" % kv for kv in enumerate(FCITX_PREV_PAGE)] + [
        "",
        "[Table/NextPage]",
    ] + ["%d=%s" % kv for kv in enumerate(FCITX_NEXT_PAGE)] + [
        "",
        "[Table/PrevCandidate]",
    ] + ["%d=%s" % kv for kv in enumerate(FCITX_PREV_CANDIDATE)] + [
        "",
        "[Table/NextCandidate]",
    ] + ["%d=%s" % kv for kv in enumerate(FCITX_NEXT_CANDIDATE)] + [
        "",
    ])


def write_atomic(path, text):
    folder = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(dir=folder, prefix=".tmp-")
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--items", required=True, help="qorvan.txt")
    parser.add_argument("--out", required=True, help="output folder")
    args = parser.parse_args()
    rows = read_items(args.items)
    os.makedirs(args.out, exist_ok=True)
    write_atomic(os.path.join(args.out, "qorvan.ibus.txt"), ibus_source(rows))
    write_atomic(os.path.join(args.out, "qorvan.fcitx.txt"), fcitx_source(rows))
    write_atomic(os.path.join(args.out, "qorvan.conf"), fcitx_conf())
    print("make_tables: %d codes, longest %d digits"
          % (len(rows), max(len(c) for c, _, _ in rows)))


if __name__ == "__main__":
    main()
