#!/usr/bin/env python3
"""The input-method table sources made by data/ime/make_tables.py from a small
item list: every code of every item, the more frequent item first under a code,
the definitions the frameworks need, and refusal of a damaged list."""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.environ.get("TREVIX_SOURCE_DIR", "."), "data", "ime", "make_tables.py")

ITEMS = (
    "一\t10000\t1,10\t900\n"
    "丁\t10200\t102\t50\n"
    "二\t10100\t\t30\n"
    "下\t10100\t\t70\n"   # same standard code as 二, more frequent
    "一二\t1010\t\t20\n"
)


def run(items, folder):
    path = os.path.join(folder, "qorvan.txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write(items)
    out = os.path.join(folder, "out")
    result = subprocess.run([sys.executable, SCRIPT, "--items", path, "--out", out],
                            capture_output=True, text=True)
    return result, out


def read(out, name):
    with open(os.path.join(out, name), encoding="utf-8") as f:
        return f.read()


class MakeTablesTest(unittest.TestCase):
    def setUp(self):
        self.folder = self.enterContext(tempfile.TemporaryDirectory())
        result, self.out = run(ITEMS, self.folder)
        self.assertEqual(result.returncode, 0, result.stderr)

    def ibus_definition(self):
        text = read(self.out, "qorvan.ibus.txt")
        head = text.split("BEGIN_DEFINITION\n")[1].split("END_DEFINITION")[0]
        return dict(line.split(" = ", 1) for line in head.splitlines() if line)

    def ibus_rows(self):
        text = read(self.out, "qorvan.ibus.txt")
        body = text.split("BEGIN_TABLE\n")[1].split("END_TABLE")[0]
        return [tuple(line.split("\t")) for line in body.splitlines()]

    def fcitx_rows(self):
        lines = read(self.out, "qorvan.fcitx.txt").splitlines()
        self.assertEqual(lines[:3], ["KeyCode=0123456789", "Length=5", "[Data]"])
        return [tuple(line.split(" ")) for line in lines[3:]]

    def test_ibus_definition(self):
        d = self.ibus_definition()
        self.assertEqual(d["NAME"], "Qorvan输入法第四版")
        self.assertNotIn("NAME.zh_CN", d)  # would replace the name under a Chinese locale
        self.assertEqual(d["VALID_INPUT_CHARS"], "0123456789")
        self.assertEqual(d["MAX_KEY_LENGTH"], "5")
        self.assertEqual(d["SELECT_KEYS"], "F1,F2,F3,F4,F5")
        # IBus lists only the codes that begin with what was typed: without the
        # wildcard it refuses a digit after which no code matches exactly.
        self.assertEqual(d["AUTO_WILDCARD"], "TRUE")
        for key in ("PINYIN_MODE", "DYNAMIC_ADJUST"):
            self.assertEqual(d[key], "FALSE", key)
        # The user database (the custom words) is read only with user phrases on;
        # without RULES the engine defines none itself.
        self.assertEqual(d["USER_CAN_DEFINE_PHRASE"], "TRUE")
        self.assertNotIn("RULES", d)

    def test_every_code_of_every_item_with_its_frequency(self):
        rows = self.ibus_rows()
        self.assertEqual(sorted(rows), sorted([
            ("10000", "一", "900"), ("1", "一", "900"), ("10", "一", "900"),
            ("10200", "丁", "50"), ("102", "丁", "50"),
            ("10100", "二", "30"), ("10100", "下", "70"),
            ("1010", "一二", "20")]))
        self.assertEqual(sorted(self.fcitx_rows()), sorted((c, i) for c, i, _ in rows))

    def test_fcitx_keeps_the_more_frequent_item_first_under_a_code(self):
        rows = self.fcitx_rows()
        under = [item for code, item in rows if code == "10100"]
        self.assertEqual(under, ["下", "二"])
        self.assertEqual([c for c, _ in rows], sorted(c for c, _ in rows))

    def test_fcitx_input_method(self):
        conf = read(self.out, "qorvan.conf").splitlines()
        for line in ("Name=Qorvan输入法第四版", "Addon=table", "LangCode=zh_CN",
                     "File=table/qorvan.main.dict", "Learning=False", "AutoSelect=False",
                     "PageSize=5", "0=F1", "4=F5"):
            self.assertIn(line, conf)
        self.assertFalse([l for l in conf if l.startswith("Name[")])

    def test_both_frameworks_page_alike(self):
        # IBus shows as many candidates a page as it has selection keys; Fcitx 5
        # as PageSize says. Both must show the same number, each with its key,
        # and page with the same keys.
        d = self.ibus_definition()
        conf = read(self.out, "qorvan.conf")
        sections = {}
        for block in conf.split("\n["):
            name, _, body = block.partition("]\n")
            sections[name.strip("[")] = dict(
                line.split("=", 1) for line in body.splitlines() if "=" in line)
        ibus_keys = d["SELECT_KEYS"].split(",")
        fcitx_keys = [sections["Table/Selection"][str(i)]
                      for i in range(len(sections["Table/Selection"]))]
        self.assertEqual(int(sections["Table"]["PageSize"]), len(ibus_keys))
        self.assertEqual(fcitx_keys, ibus_keys)
        fcitx_name = {"Prior": "Page_Up", "Next": "Page_Down"}
        for ibus, fcitx in (("PAGE_UP_KEYS", "Table/PrevPage"),
                            ("PAGE_DOWN_KEYS", "Table/NextPage")):
            ibus_paging = set(d[ibus].split(",")) - {"KP_Page_Up", "KP_Page_Down"}
            fcitx_paging = {fcitx_name.get(k, k) for k in sections[fcitx].values()}
            self.assertEqual(fcitx_paging, ibus_paging, ibus)
        self.assertEqual(sections["Table/PrevCandidate"], {"0": "Up"})
        self.assertEqual(sections["Table/NextCandidate"], {"0": "Down"})

    def test_damaged_lists_are_refused_and_write_nothing(self):
        for name, items in [("missing field", "一\t10000\t1\n"),
                            ("letter in code", "一\t1000a\t\t5\n"),
                            ("letter in short code", "一\t10000\tx\t5\n"),
                            ("bad frequency", "一\t10000\t\tmany\n"),
                            ("blank in item", "一 二\t1010\t\t5\n"),
                            ("empty list", "")]:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                result, out = run(items, folder)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("make_tables:", result.stderr)
                self.assertFalse(os.path.exists(os.path.join(out, "qorvan.ibus.txt")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
