#!/usr/bin/env python3
"""Makes a plain text for "tessaline eval" from HTML documents (Debian's documentation packages).

Every paragraph (<p>) and list item (<li>) of the given pages, in the order given, becomes one
line: its text with the inline markup reduced to the words it holds, runs of white space one
space. Code (<pre>, <code>, <tt>, <kbd>, <samp>, <var>), scripts and styles are left out, and so
are lines without a letter, navigation links ("Next", "Prev") and lines that --skip-from marks
as untranslated (a line also found in the pages of the original language). --no-english leaves
out the lines that are plainly English (a fifth of their words or more are English function
words such as "the", "of", "and"): translations keep English licence texts and untranslated
passages. The text stops after the line that reaches --max-chars characters.

    python3 tools/evaluation/prose_from_html.py OUT.txt PAGE.html... [--max-chars N]
                                               [--skip-from ORIGINAL.html...] [--no-english]
"""
import argparse
import html
import re
from html.parser import HTMLParser

from text_out import write_lines

SKIPPED = {"pre", "code", "tt", "kbd", "samp", "var", "script", "style", "head"}
BLOCKS = {"p", "li", "dd", "td", "h1", "h2", "h3", "h4", "div", "ul", "ol", "dl", "table", "br"}
KEPT = {"p", "li"}
ENGLISH = set("the of and to in is that for with this you are be it on as by or not can will from "
              "which an your if".split())


def looks_english(line):
    words = re.findall(r"[^\W\d_]+", line.lower())
    return bool(words) and sum(w in ENGLISH for w in words) * 5 >= len(words)


class Paragraphs(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.out = []
        self.skip = 0
        self.depth = 0  # open <p>/<li> elements
        self.text = []

    def flush(self):
        if self.text:
            line = re.sub(r"\s+", " ", "".join(self.text)).strip()
            if line and any(ch.isalpha() for ch in line) and len(line.split()) >= 3:
                self.out.append(line)
        self.text = []

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED:
            self.skip += 1
        elif tag in KEPT:
            # A list item inside a paragraph or an item starts a line of its own.
            self.flush()
            self.depth += 1
        elif tag in BLOCKS and self.depth:
            self.text.append(" ")

    def handle_endtag(self, tag):
        if tag in SKIPPED:
            self.skip = max(0, self.skip - 1)
        elif tag in KEPT and self.depth:
            self.flush()
            self.depth -= 1

    def handle_data(self, data):
        if self.depth and not self.skip:
            self.text.append(data)


def paragraphs(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        parser = Paragraphs()
        parser.feed(f.read())
        parser.flush()
    return [html.unescape(line) for line in parser.out]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("pages", nargs="+")
    parser.add_argument("--max-chars", type=int, default=0)
    parser.add_argument("--skip-from", nargs="*", default=[])
    parser.add_argument("--no-english", action="store_true")
    args = parser.parse_args()
    original = set()
    for page in args.skip_from:
        original.update(paragraphs(page))
    lines = (
        line
        for page in args.pages
        for line in paragraphs(page)
        if line not in original and not (args.no_english and looks_english(line))
    )
    write_lines(args.out, lines, args.max_chars)


if __name__ == "__main__":
    main()
