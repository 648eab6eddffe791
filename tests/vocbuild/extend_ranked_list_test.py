#!/usr/bin/env python3
"""Extending a ranked word list with longer lists, on tiny lists."""
import importlib.util
import io
import json
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stderr

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "vocbuild",
                    "extend_ranked_list.py")
module_spec = importlib.util.spec_from_file_location("extend_ranked_list", TOOL)
tool = importlib.util.module_from_spec(module_spec)
module_spec.loader.exec_module(tool)


class ExtendRankedListTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def write(self, name, text):
        path = os.path.join(self.dir.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def run_tool(self, *args):
        errors = io.StringIO()
        with redirect_stderr(errors):
            try:
                status = tool.main([str(a) for a in args])
            except SystemExit as exit:
                status = exit.code
        return status, errors.getvalue()

    def test_new_words_follow_the_list_in_either_order_once_each(self):
        base = ["Ich", "ist"]
        subtitles = ["ich", "nicht", "Haus", "und"]
        encyclopaedia = ["und", "der", "haus", "wurde"]
        words, unknown = tool.extend(base, [(subtitles, False), (encyclopaedia, False)])
        self.assertEqual(words, ["Ich", "ist", "nicht", "Haus", "und", "der", "wurde"])
        self.assertEqual(unknown, 0)
        words, _ = tool.extend(base, [(subtitles, False), (encyclopaedia, False)], "mix")
        # One word of each in turn: "ich" is present, so "und" (first of the second) comes first.
        self.assertEqual(words, ["Ich", "ist", "und", "nicht", "der", "Haus", "wurde"])

    def test_checked_lists_need_the_dictionary_and_dropped_words_never_come(self):
        known = {"został", "roku", "pl"}
        subtitles = ["zosta", "tak"]
        encyclopaedia = ["roku", "zosta", "został", "curid", "pl"]
        words, unknown = tool.extend(["na"], [(encyclopaedia, True), (subtitles, False)],
                                     known=known, drop=["curid", "pl"])
        # "zosta" is cut short: the checked list may not bring it, the unchecked one may.
        self.assertEqual(words, ["na", "roku", "został", "zosta", "tak"])
        self.assertEqual(unknown, 1)

    def test_short_new_words_need_the_dictionary_whatever_their_list(self):
        known = {"tak", "ok"}
        subtitles = ["hm", "tak", "cu", "ok", "Kowalski", "mhm"]
        words, unknown = tool.extend(["na"], [(subtitles, False)], known=known, short=3)
        # The list's own words stay as they are; long names a dictionary lacks come all the same.
        self.assertEqual(words, ["na", "tak", "ok", "Kowalski"])
        self.assertEqual(unknown, 3)
        words, _ = tool.extend(["hm"], [(subtitles, False)], known=known, short=2)
        self.assertEqual(words, ["hm", "tak", "ok", "Kowalski", "mhm"])

    def test_command_reads_json_text_and_family_dictionaries(self):
        base = self.write("words.txt", "na\n\ndo\n")
        subtitles = self.write("common.json", json.dumps(["do", "tak", " "]))
        encyclopaedia = self.write("wiki.txt", "roku\nzosta\nwi\n")
        forms = self.write("forms.txt", "rok roku rokiem\nwiedzieć wiem\n")
        extra = self.write("extra.txt", "wi\n")
        out = os.path.join(self.dir.name, "out.txt")
        status, errors = self.run_tool(base, out, "--list", subtitles, "--checked", encyclopaedia,
                                       "--dictionary", forms, "--dictionary", extra)
        self.assertEqual(status, 0)
        with open(out, encoding="utf-8") as f:
            self.assertEqual(f.read(), "na\ndo\ntak\nroku\nwi\n")
        self.assertIn("2 listed words, 3 added, 1 unknown left out", errors)

    def test_bad_input_is_refused_with_a_message(self):
        base = self.write("words.txt", "na\n")
        out = os.path.join(self.dir.name, "out.txt")
        not_words = self.write("bad.json", json.dumps({"na": 1}))
        status, errors = self.run_tool(base, out, "--list", not_words)
        self.assertEqual(status, 1)
        self.assertIn("not a JSON array of words", errors)
        status, errors = self.run_tool(base, out, "--list", self.write("broken.json", "[\"na\""))
        self.assertEqual(status, 1)
        status, _ = self.run_tool(base, out, "--checked", base)
        self.assertEqual(status, 2)  # a checked list without a dictionary
        status, _ = self.run_tool(base, out)
        self.assertEqual(status, 2)
        self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    unittest.main()
