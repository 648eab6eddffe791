#!/usr/bin/env python3
"""Makes a plain text for "tessaline eval" from the GNOME desktop help (Debian's gnome-user-docs).

The help is written as Mallard pages, one folder per language (usr/share/help/LANG/gnome-help).
Every paragraph (<p>) of every page, in file-name order, becomes one line: its text with the
inline markup (<gui>, <key>, <link>, ...) reduced to the words it holds, runs of white space one
space. A translation keeps the English wording of paragraphs nobody translated yet; those are
left out by comparing with the English pages (folder C), and so are paragraphs without a letter.
The text stops after the paragraph that reaches --max-chars characters.

    python3 tools/evaluation/prose_from_mallard.py HELP_DIR LANG OUT.txt [--max-chars N]

HELP_DIR is usr/share/help of the unpacked package; LANG is the folder name (C, de, pt_BR, ...).
"""
import argparse
import os
import re
import xml.etree.ElementTree as ET

from text_out import write_lines

MALLARD = "{http://projectmallard.org/1.0/}"


def paragraphs(folder):
    out = []
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".page"):
            continue
        try:
            root = ET.parse(os.path.join(folder, name)).getroot()
        except ET.ParseError:
            continue
        for element in root.iter(MALLARD + "p"):
            text = re.sub(r"\s+", " ", "".join(element.itertext())).strip()
            if text and any(ch.isalpha() for ch in text):
                out.append(text)
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("help_dir")
    parser.add_argument("lang")
    parser.add_argument("out")
    parser.add_argument("--max-chars", type=int, default=0)
    args = parser.parse_args()
    english = set(paragraphs(os.path.join(args.help_dir, "C", "gnome-help")))
    lines = (
        text
        for text in paragraphs(os.path.join(args.help_dir, args.lang, "gnome-help"))
        if args.lang == "C" or text not in english
    )
    write_lines(args.out, lines, args.max_chars)


if __name__ == "__main__":
    main()
