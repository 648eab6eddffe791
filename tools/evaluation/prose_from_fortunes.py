#!/usr/bin/env python3
"""Makes a plain text for "tessaline eval" from fortune files (Debian's fortunes packages).

Entries are separated by "%" lines; within an entry, blank lines separate paragraphs and the other
line breaks only wrap the text. Each paragraph becomes one line, runs of spaces one space.

    python3 tools/evaluation/prose_from_fortunes.py OUT.txt FILE...
"""
import re
import sys


def main():
    out = []
    for path in sys.argv[2:]:
        text = open(path, encoding="utf-8", errors="replace").read()
        for entry in re.split(r"\n%\n", text):
            for paragraph in re.split(r"\n\s*\n", entry):
                lines = [l.strip() for l in paragraph.split("\n") if l.strip() and l.strip() != "%"]
                if lines:
                    out.append(re.sub(r"[ \t]+", " ", " ".join(lines)))
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
