#!/usr/bin/env python3
"""The runner's fixtures: how texts are joined and parts merged, and which names are refused;
and that every named text of fixtures.toml expands."""

import sys
import unittest

import run_case
from run_case import CaseError, expand_fixtures

TEXTS = {"a": "A\n", "ab": [{"text": "a"}, "B\n"], "loop": [{"text": "loop"}]}
PARTS = {
    "base": {"library": "lib1", "files": {"x": "X", "y": {"text": "a"}}, "expect": {"exit": 2, "stdout": "out"}},
    "more": {"files": {"y": "Y2", "z": "Z"}, "expect": {"files": {"f": "F"}}},
}


def expand(case):
    return expand_fixtures(case, (TEXTS, PARTS))


class Expansion(unittest.TestCase):
    def test_results(self):
        cases = [
            ("a named text", {"scenario": {"text": "a"}}, {"scenario": "A\n"}),
            ("pieces joined as they stand, names within names",
             {"expect": {"stdout": [{"text": "ab"}, "\n", {"text": "a"}]}}, {"expect": {"stdout": "A\nB\n\nA\n"}}),
            ("parts in order, the case last; tables merge by entry",
             {"fixtures": ["base", "more"], "files": {"z": "own"}, "expect": {"exit": 0}},
             {"library": "lib1", "files": {"x": "X", "y": "Y2", "z": "own"},
              "expect": {"exit": 0, "stdout": "out", "files": {"f": "F"}}}),
            ("other values are replaced whole", {"fixtures": ["base"], "library": "lib2", "files": {"y": ["b"]}},
             {"library": "lib2", "files": {"x": "X", "y": "b"}, "expect": {"exit": 2, "stdout": "out"}}),
        ]
        for name, case, wanted in cases:
            with self.subTest(name):
                self.assertEqual(expand(case), wanted)

    def test_parts_stay_as_defined(self):
        expand({"fixtures": ["base"]})
        self.assertEqual(PARTS["base"]["files"]["y"], {"text": "a"})

    def test_refused(self):
        cases = [
            ("unknown part", {"fixtures": ["none"]}),
            ("unknown text", {"files": {"x": {"text": "none"}}}),
            ("a text that names itself", {"scenario": {"text": "loop"}}),
            ("not a text", {"expect": {"stdout": 3}}),
            ("a reference with more keys", {"scenario": {"text": "a", "more": 1}}),
            ("fixtures not a list", {"fixtures": "base"}),
        ]
        for name, case in cases:
            with self.subTest(name), self.assertRaises(CaseError):
                expand(case)

    def test_every_shared_text_expands(self):
        texts, parts = run_case.load_fixtures()
        for name in texts:
            with self.subTest(name):
                self.assertIsInstance(run_case.expand_text({"text": name}, texts), str)
        for name in parts:
            with self.subTest(name):
                expand_fixtures({"fixtures": [name]})


if __name__ == "__main__":
    sys.exit(unittest.main())
