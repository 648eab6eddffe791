#!/usr/bin/env python3
"""Writes the word forms of a Hunspell dictionary as families, one family a line.

Hunspell keeps a dictionary as stems with affix flags (NAME.dic) and the affix rules (NAME.aff);
its own tool "unmunch" (Debian package hunspell-tools) expands them into every form. Run on the
whole dictionary it prints the forms of all stems one after another, so this script puts a line
that no rule can change between every two stems of a copy of the .dic and cuts unmunch's output
there: the forms of one dictionary line are one family (a lemma and its inflections), and the
vocabulary compiler uses the families to take every form of a frequent word and to estimate the
frequency of forms that its word list lacks.

A family line holds the forms separated by spaces, the stem's own form (when the dictionary lets
it stand alone) first, each form once, as the dictionary writes it (case kept: the compiler tells
names from abbreviations by it). Forms with an apostrophe or a hyphen are left out: they join a
word that stands alone in the family to a clitic or an elided article ("sobre-o", "dell'anno"),
which the keypad types as separate words anyway. Families are written in dictionary order.

    python3 tools/vocbuild/forms_from_hunspell.py /usr/share/hunspell/cs_CZ OUT.txt

(the argument is the path without .dic/.aff).
"""
import os
import re
import subprocess
import sys
import tempfile

SENTINEL = "qqxqqfamilyqqxqq"


def encoding_of(aff_path):
    with open(aff_path, "rb") as f:
        for raw in f:
            line = raw.decode("latin-1").lstrip("\ufeff\xef\xbb\xbf").strip()
            if line.startswith("SET "):
                name = line.split()[1]
                return {"microsoft-cp1251": "cp1251", "ISO8859-2": "iso8859-2"}.get(name, name)
    return "iso8859-1"


def main():
    base, out_path = sys.argv[1], sys.argv[2]
    aff, dic = base + ".aff", base + ".dic"
    encoding = encoding_of(aff)
    with open(dic, "rb") as f:
        lines = f.read().decode(encoding, errors="replace").splitlines()[1:]
    stems = [l for l in lines if l.strip() and not l.startswith("\t")]
    with tempfile.TemporaryDirectory() as work:
        marked = os.path.join(work, "marked.dic")
        with open(marked, "wb") as f:
            body = [str(2 * len(stems))]
            for stem in stems:
                body.append(stem)
                body.append(SENTINEL)
            f.write(("\n".join(body) + "\n").encode(encoding, errors="replace"))
        result = subprocess.run(["unmunch", marked, aff], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                check=True)
    families, family, seen = [], [], set()
    for form in result.stdout.decode(encoding, errors="replace").splitlines():
        form = form.strip()
        if form == SENTINEL:
            if family:
                families.append(" ".join(family))
            family, seen = [], set()
            continue
        if not form or re.search(r"[\s'\u2019\u02bc\-\u2010\u2011]", form) or form in seen:
            continue
        seen.add(form)
        family.append(form)
    if family:
        families.append(" ".join(family))
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("\n".join(families) + "\n")
    print(f"{out_path}: {len(families)} families, {sum(len(x.split()) for x in families)} forms")


if __name__ == "__main__":
    main()
