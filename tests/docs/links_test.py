#!/usr/bin/env python3
"""Every relative link of the README and the docs names a file of the repository, and every
#anchor a heading of the Markdown file it points to."""
import glob
import os
import re
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
LINK = re.compile(r"\[[^\]]*\]\(([^)\s]+)\)")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*$", re.M)


def documents():
    paths = ["README.md", "bench/README.md", "data/wordlists/README.md"]
    paths += sorted(os.path.relpath(p, ROOT) for p in glob.glob(os.path.join(ROOT, "docs", "*.md")))
    return paths


def anchor(heading):
    """A heading's anchor as Markdown renderers make it: lower case, punctuation dropped, spaces
    as hyphens."""
    text = heading.strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"^(    |\t).*$", "", text, flags=re.M)  # code blocks hold no headings
    return {anchor(h) for h in HEADING.findall(text)}


class LinksTest(unittest.TestCase):
    def test_anchor_of_a_heading(self):
        self.assertEqual(anchor("Installing, removing and resetting the emulated device"),
                         "installing-removing-and-resetting-the-emulated-device")
        self.assertEqual(anchor("Candidate search against two peers (`bench/search`)"),
                         "candidate-search-against-two-peers-benchsearch")

    def test_relative_links_reach_their_files_and_headings(self):
        broken = []
        for document in documents():
            path = os.path.join(ROOT, document)
            self.assertTrue(os.path.exists(path), document)
            with open(path, encoding="utf-8") as f:
                text = f.read()
            for target in LINK.findall(text):
                if re.match(r"^[a-z]+:", target):
                    continue
                file_part, _, fragment = target.partition("#")
                linked = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) \
                    if file_part else path
                if not os.path.exists(linked):
                    broken.append(f"{document}: {target} (no such file)")
                elif fragment and linked.endswith(".md") and fragment not in anchors(linked):
                    broken.append(f"{document}: {target} (no such heading)")
        self.assertEqual(broken, [])


if __name__ == "__main__":
    unittest.main()
