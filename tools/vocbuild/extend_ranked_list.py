#!/usr/bin/env python3
"""Extends a ranked word list with the words of longer ranked lists, after its own.

A list of the 10,000 most common words of subtitles knows little of written prose. Longer ranked
lists of other sources (a larger subtitle count, the words of an encyclopaedia) continue it: their
words that the list lacks are written after the list's last word, in the order chosen by
--order:

  concat  all of the first list's new words, then the second's, and so on;
  mix     one word of each list in turn (the first list first), so that two lists of different
          sources share the ranks after the list's own.

A word counts as present when the list (or a list before it) holds it in any case. The new
words of a list given with --checked are written only when one of the --dictionary files knows
them (in any case): some encyclopaedia lists cut words short at letters their tokenizer did not
know (Polish "zosta" for "został"). With --short N, a new word of at most N letters from any list
must be known too: short tokens of no language ("cu", "hm") crowd the candidates of the first
keys, while a long word a dictionary lacks (a name, a term) has its keys mostly to itself. A
dictionary is a plain list (one word a line) or a list of word families (the words of a line
separated by spaces). --drop leaves a word out of the new words (the markup of an encyclopaedia
dump: "curid", "https"). The list's own words are written as they are.

Input lists are JSON arrays of words (most common first) or text files of one word a line.

    python3 tools/vocbuild/extend_ranked_list.py words.txt OUT.txt --list commonWords.json \\
        --checked wikipedia.json --dictionary forms.txt [--short N] [--order mix] [--drop WORD]...
"""
import argparse
import json
import sys


def read_ranked(path):
    """The words of a ranked list, most common first."""
    with open(path, encoding="utf-8") as f:
        if path.endswith(".json"):
            words = json.load(f)
            if not isinstance(words, list) or not all(isinstance(w, str) for w in words):
                raise ValueError(f"{path}: not a JSON array of words")
            return [w.strip() for w in words if w.strip()]
        return [line.strip() for line in f if line.strip()]


def read_dictionary(path):
    """Every word of a plain list or a list of word families, in lower case."""
    known = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            known.update(word.lower() for word in line.split())
    return known


def interleave(lists):
    """One word of each list in turn, until all are used up."""
    out = []
    for i in range(max((len(words) for words in lists), default=0)):
        out.extend(words[i] for words in lists if i < len(words))
    return out


def extend(base, more, order="concat", known=frozenset(), drop=(), short=0):
    """The base list followed by the new words of the lists in `more`, in the given order.

    `more` holds (words, checked) pairs: the words of a checked list must be in `known`, and so
    must every new word of at most `short` letters.
    Returns the words to write and the number of new words left out as unknown."""
    present = {w.lower() for w in base} | {w.lower() for w in drop}
    tagged = [[(word, checked) for word in words] for words, checked in more]
    candidates = interleave(tagged) if order == "mix" else [c for words in tagged for c in words]
    out = list(base)
    unknown = 0
    for word, checked in candidates:
        folded = word.lower()
        if folded in present:
            continue
        if (checked or len(folded) <= short) and folded not in known:
            unknown += 1
            continue
        present.add(folded)
        out.append(word)
    return out, unknown


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("base", help="the ranked list to extend, one word a line")
    parser.add_argument("output")
    parser.add_argument("--list", dest="lists", action="append", default=[],
                        type=lambda path: (path, False),
                        help="a longer ranked list (JSON array or text), in this order")
    parser.add_argument("--checked", dest="lists", action="append",
                        type=lambda path: (path, True),
                        help="a longer ranked list whose new words a dictionary must know")
    parser.add_argument("--order", choices=("concat", "mix"), default="concat")
    parser.add_argument("--dictionary", action="append", default=[],
                        help="a dictionary for the checked lists (repeatable)")
    parser.add_argument("--drop", action="append", default=[], help="a word never added")
    parser.add_argument("--short", type=int, default=0, metavar="N",
                        help="new words of at most N letters must be dictionary words")
    args = parser.parse_args(argv)
    if not args.lists:
        parser.error("no list to extend with (--list or --checked)")
    if (args.short > 0 or any(checked for _, checked in args.lists)) and not args.dictionary:
        parser.error("--checked and --short need a --dictionary")
    try:
        base = read_ranked(args.base)
        more = [(read_ranked(path), checked) for path, checked in args.lists]
        known = set()
        for path in args.dictionary:
            known |= read_dictionary(path)
    except (OSError, ValueError, json.JSONDecodeError) as error:
        print(f"extend_ranked_list: {error}", file=sys.stderr)
        return 1
    words, unknown = extend(base, more, args.order, known, args.drop, args.short)
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        for word in words:
            f.write(word + "\n")
    print(f"{len(base)} listed words, {len(words) - len(base)} added, {unknown} unknown left out",
          file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
