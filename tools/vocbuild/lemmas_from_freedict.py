#!/usr/bin/env python3
"""Ranks a language's dictionary words by how often their English translations are used.

A ranked word list of a few thousand words says nothing of the tens of thousands of lemmas behind
it, and a Hunspell dictionary lists those lemmas without telling common from rare. A bilingual
dictionary links them to English words, whose counts a large English list gives: a word that
translates common English words is likely common itself. Each English word's count is shared
among the language's words that translate it (a translation of "get" among the many that do gets
a share of its count, a word that alone translates "bicycle" all of it), and a word's measure is
the sum of its shares. The output is the words most common first, one a line, for
`tessaline voc build --lemmas`.

The dictionaries are the FreeDict ones of Debian's dict-freedict-* packages, read from their
dictd files (NAME.index and NAME.dict.dz): "--to" an English-to-language dictionary (headword
English, translations in the language), "--from" a language-to-English one. Only one-word
headwords and translations count; grammar marks (<n>), pronunciations (/.../), domains ([...])
and glosses ((...)) are left out. English words of one letter other than "a" and "I" are left
out too: in a subtitle list they are mostly contraction parts ("s", "t").

    python3 tools/vocbuild/lemmas_from_freedict.py ENGLISH.tsv OUT.txt \\
        --to /usr/share/dictd/freedict-eng-ces --from /usr/share/dictd/freedict-ces-eng [--max N]
"""
import argparse
import collections
import gzip
import re
import sys

BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"


def decode_number(text):
    """A dictd index number (base 64, most significant digit first)."""
    value = 0
    for ch in text:
        value = value * 64 + BASE64.index(ch)
    return value


def strip_marks(line):
    line = re.sub(r"/[^/]*/", " ", line)
    line = re.sub(r"<[^>]*>", " ", line)
    line = re.sub(r"\[[^\]]*\]", " ", line)
    line = re.sub(r"\([^)]*\)", " ", line)
    line = re.sub(r"\{[^}]*\}", " ", line)
    line = re.sub(r"^\s*([IVX]+\.|\d+\.)\s*", " ", line)
    return re.sub(r"\s\d+\.\s", " ", line)


def single_words(line):
    """The one-word pieces of a line, separated by commas or semicolons, in lower case."""
    words = []
    for piece in re.split(r"[,;]", strip_marks(line)):
        piece = piece.strip()
        if piece and " " not in piece and piece.isalpha():
            words.append(piece.lower())
    return words


def entries(base):
    """(headword, translations) of a dictd dictionary, for one-word headwords."""
    with gzip.open(base + ".dict.dz", "rb") as f:
        data = f.read()
    with open(base + ".index", encoding="utf-8") as index:
        for line in index:
            fields = line.rstrip("\n").split("\t")
            if len(fields) < 3 or fields[0].startswith("00"):
                continue
            start, length = decode_number(fields[1]), decode_number(fields[2])
            body = data[start:start + length].decode("utf-8", "replace").split("\n")
            heads = single_words(body[0])
            if len(heads) != 1:
                continue
            translations = []
            for text in body[1:]:
                translations += single_words(text)
            yield heads[0], translations


def english_counts(path):
    counts = collections.Counter()
    with open(path, encoding="utf-8") as f:
        for line in f:
            word, _, count = line.rstrip("\n").partition("\t")
            word = word.lower()
            if not count.isdigit() or (len(word) == 1 and word not in ("a", "i")):
                continue
            counts[word] += int(count)
    return counts


def rank_lemmas(english, to_english, from_english):
    """The language's words by the summed shares of their English translations' counts."""
    translations = collections.defaultdict(set)  # English word -> the language's words
    for base in to_english:
        for head, words in entries(base):
            translations[head].update(words)
    for base in from_english:
        for head, words in entries(base):
            for word in words:
                translations[word].add(head)
    # Summed in a fixed order, so that equal inputs give the same list whatever Python's hashing.
    measure = collections.Counter()
    for word in sorted(translations):
        count = english.get(word, 0)
        if not count:
            continue
        lemmas = translations[word]
        for lemma in sorted(lemmas):
            measure[lemma] += count / len(lemmas)
    return sorted(measure, key=lambda lemma: (-measure[lemma], lemma))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("english", help="English word list, word<TAB>count lines")
    parser.add_argument("output")
    parser.add_argument("--to", action="append", default=[], help="English-to-language dictionary")
    parser.add_argument("--from", dest="from_", action="append", default=[],
                        help="language-to-English dictionary")
    parser.add_argument("--max", type=int, default=0, help="keep the N first words")
    args = parser.parse_args()
    if not args.to and not args.from_:
        parser.error("give at least one dictionary with --to or --from")
    lemmas = rank_lemmas(english_counts(args.english), args.to, args.from_)
    if args.max > 0:
        lemmas = lemmas[:args.max]
    with open(args.output, "w", encoding="utf-8") as f:
        f.writelines(lemma + "\n" for lemma in lemmas)
    print("%s: %d words" % (args.output, len(lemmas)), file=sys.stderr)


if __name__ == "__main__":
    main()
