#!/usr/bin/env python3
"""The ranking of a language's words by their English translations' counts, on tiny dictd files."""
import gzip
import importlib.util
import os
import sys
import tempfile
import unittest

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "vocbuild",
                    "lemmas_from_freedict.py")
module_spec = importlib.util.spec_from_file_location("lemmas_from_freedict", TOOL)
lemmas = importlib.util.module_from_spec(module_spec)
module_spec.loader.exec_module(lemmas)


def encode_number(value):
    digits = ""
    while True:
        digits = lemmas.BASE64[value % 64] + digits
        value //= 64
        if value == 0:
            return digits


def write_dictd(base, articles):
    """A dictd dictionary of (headword, article text) pairs, indexed as dictd indexes them."""
    data = b""
    index = ["00-database-info\tA\tB\n"]
    for head, text in articles:
        body = text.encode("utf-8")
        index.append("%s\t%s\t%s\n" % (head, encode_number(len(data)), encode_number(len(body))))
        data += body
    with gzip.open(base + ".dict.dz", "wb") as f:
        f.write(data)
    with open(base + ".index", "w", encoding="utf-8") as f:
        f.writelines(index)


class RankLemmasTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def test_counts_are_shared_among_translations_of_both_directions(self):
        # Enough padding before the later articles that their offsets take two base-64 digits.
        write_dictd(self.path("eng-xx"), [
            ("padding", "padding\n" + "x" * 100 + "\n"),
            ("get", "get /get/\n<verb>\n1. dostat, získat (something); obdržet\n"),
            ("bicycle", "bicycle\nkolo [sport]\n"),
            ("ice cream", "ice cream\nzmrzlina\n"),
            ("s", "s\nesko\n"),
        ])
        write_dictd(self.path("xx-eng"), [
            ("dostat", "dostat\nget, receive\n"),
            ("velo", "velo\nbicycle\n"),
            ("x-ray", "x-ray\nrentgen\n"),
        ])
        english = self.path("english.tsv")
        with open(english, "w", encoding="utf-8") as f:
            f.write("get\t900\nbicycle\t300\nBicycle\t60\nreceive\t50\ns\t10000\nicecream\t5\nnan\tx\n")
        ranked = lemmas.rank_lemmas(lemmas.english_counts(english), [self.path("eng-xx")],
                                    [self.path("xx-eng")])
        # "get" (900) among dostat, získat, obdržet: 300 each, and dostat also has all of
        # "receive" (50). "bicycle" (360 in either case) among kolo and velo: 180 each. Glosses,
        # domains, grammar marks and pronunciations are no translations; two-word headwords,
        # headwords with a hyphen and one-letter English words count for nothing.
        self.assertEqual(ranked, ["dostat", "obdržet", "získat", "kolo", "velo"])

    def test_equal_measures_rank_in_letter_order_and_the_output_is_one_word_a_line(self):
        write_dictd(self.path("eng-xx"), [("house", "house\ndům, budova, stavení\n")])
        english = self.path("english.tsv")
        with open(english, "w", encoding="utf-8") as f:
            f.write("house\t30\n")
        out = self.path("out.txt")
        argv = sys.argv
        sys.argv = ["lemmas_from_freedict.py", english, out, "--to", self.path("eng-xx"),
                    "--max", "2"]
        try:
            lemmas.main()
        finally:
            sys.argv = argv
        with open(out, encoding="utf-8") as f:
            self.assertEqual(f.read(), "budova\ndům\n")


if __name__ == "__main__":
    unittest.main()
