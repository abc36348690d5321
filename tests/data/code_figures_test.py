#!/usr/bin/env python3
"""data/code_figures.py on small item lists whose figures are worked out by hand,
and its thresholds."""
import json
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.environ.get("TREVIX_SOURCE_DIR", "."), "data", "code_figures.py")

# Under 111111 the words go 甲乙 (freq 50), 丙丁 (30), 戊己 (10), 庚辛 (6), 壬癸 (4),
# 子丑 (3), 寅卯 (2): with a page of five, 子丑 and 寅卯 are on the second page.
# 天地 (100) has the short code 2222: first, four digits. 人 is a character.
ITEMS = (
    "人\t80000\t8\t1000\n"
    "天地\t222222\t2222\t100\n"
    "甲乙\t111111\t\t50\n"
    "丙丁\t111111\t\t30\n"
    "戊己\t111111\t\t10\n"
    "庚辛\t111111\t\t6\n"
    "壬癸\t111111\t\t4\n"
    "子丑\t111111\t\t3\n"
    "寅卯\t111111\t\t2\n"
)


def run(items, *options):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "qorvan.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write(items)
        return subprocess.run([sys.executable, SCRIPT, path] + list(options),
                              capture_output=True, text=True)


class CodeFiguresTest(unittest.TestCase):
    def figures(self, *options):
        result = run(ITEMS, "--json", *options)
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def test_word_figures_weighted_by_frequency(self):
        words = self.figures()["words"]
        total = 100 + 50 + 30 + 10 + 6 + 4 + 3 + 2
        self.assertEqual(words["items"], 8)
        self.assertAlmostEqual(words["first_candidate_percent"],
                               round(100.0 * (100 + 50) / total, 2))
        self.assertAlmostEqual(words["first_page_percent"],
                               round(100.0 * (total - 3 - 2) / total, 2))
        # 天地: 4 digits + Space; the first page: 6 digits + one key; 子丑 and 寅卯
        # one Page Down more.
        keys = 100 * 5 + (total - 100 - 5) * 7 + (3 + 2) * 8
        self.assertAlmostEqual(words["average_keys"], round(keys / total, 3))
        self.assertEqual([h["item"] for h in words["most_frequent_beyond_the_first_page"]],
                         ["子丑", "寅卯"])
        self.assertEqual(words["most_frequent_beyond_the_first_page"][0]["position"], 6)

    def test_characters_and_short_codes_apart(self):
        figures = self.figures()
        self.assertEqual(figures["characters"]["items"], 1)
        self.assertEqual(figures["characters"]["average_keys"], 2.0)
        self.assertEqual(figures["short_codes"], {"characters 1": 1, "words 4": 1})
        self.assertEqual(figures["codes"]["items_under_the_busiest"], 7)

    def test_page_size(self):
        words = self.figures("--page-size", "7")["words"]
        self.assertEqual(words["first_page_percent"], 100.0)

    def test_thresholds(self):
        self.assertEqual(run(ITEMS, "--require-first", "70").returncode, 0)
        failed = run(ITEMS, "--require-first", "80", "--require-first-page", "90")
        self.assertEqual(failed.returncode, 1)
        self.assertIn("first candidate", failed.stderr)
        self.assertNotIn("first page", failed.stderr)

    def test_damaged_list_is_refused(self):
        for name, items in [("empty", ""), ("missing field", "人\t80000\t8\n"),
                            ("bad frequency", "人\t80000\t8\tmany\n")]:
            with self.subTest(name):
                result = run(items)
                self.assertEqual(result.returncode, 2)
                self.assertIn("code_figures:", result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
