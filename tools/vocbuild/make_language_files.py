#!/usr/bin/env python3
"""Writes data/Languages/<Name>.chr for the shipped languages.

The language files are plain text and may be edited by hand; this script is how the shipped ones
were laid out, so that all of them follow one plan:

- letters packed eight to a charset (ids 0, 1, ...) in keypad order, so every letter code is
  below 0x80 and each pair of letters keeps a pair key of its own in the letter-pair table;
- charset 13 holds the space (key 10), charset 14 the punctuation (key 1 and key 115);
- keys 2-9: the telephone groups, the language's main letters first and its other letters after
  them (chararraybase = number of main letters);
- keys 101-114: a compact QWERTY (two or three letters a key, row by row 101-105, 106-110,
  111-114), each accented letter after its base letter; key 115 repeats the punctuation.

Run from the top of the repository: python3 tools/vocbuild/make_language_files.py
"""
import os
import unicodedata

PUNCT = ".,?!'-:;"
PUNCT_ES = ".,?!¿¡'-"
LATIN_QWERTY = ["qw", "er", "ty", "ui", "op", "as", "df", "gh", "jk", "l", "zx", "cv", "bn", "m"]
PHONE_LATIN = ["abc", "def", "ghi", "jkl", "mno", "pqrs", "tuv", "wxyz"]

# Language: (locale, phone extras per key 2..9, punctuation, qwerty or None for Latin plan)
LANGUAGES = {
    "English": ("en", ["", "", "", "", "", "", "", ""], PUNCT, None),
    "German": ("de", ["ä", "", "", "", "ö", "ß", "ü", ""], PUNCT, None),
    "French": ("fr", ["àâæç", "éèêë", "îï", "", "ôœ", "", "ùûü", "ÿ"], PUNCT, None),
    "Spanish": ("es", ["á", "é", "í", "", "ñó", "", "úü", ""], PUNCT_ES, None),
    "Italian": ("it", ["à", "èé", "ìíî", "", "òó", "", "ùú", ""], PUNCT, None),
    "Portuguese": ("pt", ["áâãàç", "éê", "í", "", "óôõ", "", "úü", ""], PUNCT, None),
    "Dutch": ("nl", ["à", "éèëê", "ï", "", "öó", "", "ü", ""], PUNCT, None),
    "Polish": ("pl", ["ąć", "ę", "", "ł", "ńó", "ś", "", "źż"], PUNCT, None),
    "Swedish": ("sv", ["åä", "é", "", "", "ö", "", "ü", ""], PUNCT, None),
    "Czech": ("cs", ["áč", "ďéě", "í", "", "ňó", "řš", "ťúů", "ýž"], PUNCT, None),
}

CYRILLIC = {
    # Telephone groups (main, extra) and the compact ЙЦУКЕН keys 101-114 (main, extra).
    "Russian": ("ru",
                [("абвг", ""), ("дежз", "ё"), ("ийкл", ""), ("мноп", ""), ("рсту", ""),
                 ("фхцч", ""), ("шщъы", ""), ("ьэюя", "")],
                [("йц", ""), ("ук", ""), ("ен", "ё"), ("гшщ", ""), ("зхъ", ""),
                 ("фы", ""), ("ва", ""), ("пр", ""), ("ол", ""), ("джэ", ""),
                 ("яч", ""), ("см", ""), ("ит", ""), ("ьбю", "")]),
    "Ukrainian": ("uk",
                  [("абвг", "ґ"), ("деєжз", ""), ("иіїйкл", ""), ("мноп", ""), ("рсту", ""),
                   ("фхцч", ""), ("шщь", ""), ("юя", "")],
                  [("йц", ""), ("ук", ""), ("ен", ""), ("гшщ", "ґ"), ("зхї", ""),
                   ("фі", ""), ("ва", ""), ("пр", ""), ("ол", ""), ("джє", ""),
                   ("яч", ""), ("см", ""), ("ит", ""), ("ьбю", "")]),
}

SPECIAL_BASE = {"ß": "s", "æ": "a", "œ": "o", "ł": "l"}

ENGLISH_TEXTS = {
    0: "Active languages",
    1: "Primary",
    2: "Secondary",
    3: "Interface language",
    4: "Apply theme color",
    5: "Panel",
    6: "Skin",
    7: "Letters",
    8: "Symbols",
    9: "Languages",
    10: "Interface",
    11: "About",
    12: "Truncate found words",
    13: "Show one word",
    14: "Auto space",
    15: "The options are already open.",
    16: "Buttons",
    17: "Add",
    18: "Remove",
    19: "Redefine",
    20: "Reduce input noise",
    21: "Dictionary",
    22: "Export complete",
    23: "Could not write the file",
    24: "Import complete",
    25: "Could not open the file",
    26: "Save the changes?",
    27: "Remove the selected word?",
    28: "Remove all entries from the list?",
    29: "Remove",
    30: "Export",
    31: "Import",
    32: "Save",
    33: "Clear",
    34: "Words",
    35: "Learned words",
    36: "Word",
    37: "Count",
    38: "Show hint",
    39: "Make default IM",
    40: "Default",
    41: "Frequency",
    42: "Restore days",
    43: "Remember speed",
    44: "Adaptive vocabulary",
    45: "Days",
    46: "Speed",
    100: "new word",
}

# What each text is for, written beside it in English.chr.
TEXT_ROLES = {
    0: "Languages page: frame of the two language lists",
    1: "Languages page: heading of the primary list",
    2: "Languages page: heading of the secondary list",
    3: "Languages page: label of the interface language list",
    4: "Interface page: check box",
    5: "Interface page: label of the panel list",
    6: "spare (no page shows it yet)",
    7: "spare (no page shows it yet)",
    8: "spare (no page shows it yet)",
    9: "tab: Languages page",
    10: "tab: Interface page",
    11: "tab: About page",
    12: "Interface page: check box",
    13: "Interface page: check box",
    14: "Interface page: check box",
    15: "message: the options were opened while already open",
    16: "tab: Buttons page",
    17: "Buttons page: button",
    18: "Buttons page: button",
    19: "Buttons page: button",
    20: "Interface page: check box",
    21: "tab: Dictionary page",
    22: "Dictionary page: caption of the message after Export",
    23: "Dictionary and Frequency pages: caption of the message when a file could not be written",
    24: "Dictionary page: caption of the message after Import",
    25: "Dictionary page: caption of the message when the import file could not be opened",
    26: "question before Save",
    27: "question before removing a word",
    28: "question before Clear",
    29: "Dictionary page: button",
    30: "Dictionary page: button",
    31: "Dictionary page: button",
    32: "Dictionary and Frequency pages: button",
    33: "Dictionary and Frequency pages: button",
    34: "spare (no page shows it yet)",
    35: "spare (no page shows it yet)",
    36: "spare (no page shows it yet)",
    37: "spare (no page shows it yet)",
    38: "Interface page: check box",
    39: "Interface page: check box (start as the current input method)",
    40: "spare (no page shows it yet)",
    41: "tab: Frequency page",
    42: "Frequency page: label of the restore slider",
    43: "Frequency page: label of the speed slider",
    44: "Interface page: check box (learn committed words)",
    45: "spare (no page shows it yet)",
    46: "spare (no page shows it yet)",
    100: "candidate list: the entry for spelling a new word, while it is empty",
}


def base_letter(ch):
    if ch in SPECIAL_BASE:
        return SPECIAL_BASE[ch]
    decomposed = unicodedata.normalize("NFD", ch)
    return decomposed[0]


def latin_plan(extras):
    phone = [(PHONE_LATIN[i], extras[i]) for i in range(8)]
    accented = "".join(extras)
    qwerty = []
    for group in LATIN_QWERTY:
        extra = "".join(ch for b in group for ch in accented if base_letter(ch) == b)
        qwerty.append((group, extra))
    return phone, qwerty


def quote(text):
    return '"%s"' % text


def write_language(name, locale, phone, qwerty, punct, texts):
    letters = []
    for main, extra in phone:
        for ch in main + extra:
            if ch not in letters:
                letters.append(ch)
    qwerty_letters = {ch for main, extra in qwerty for ch in main + extra}
    assert qwerty_letters == set(letters), (name, qwerty_letters ^ set(letters))
    position = {}
    charsets = []
    for i in range(0, len(letters), 8):
        chunk = letters[i:i + 8]
        cid = len(charsets)
        assert cid <= 6, name  # keep every letter code below 0x80
        for pos, ch in enumerate(chunk):
            position[ch] = cid * 100 + pos
        charsets.append((cid, chunk))
    for ch in punct:
        position[ch] = 1400 + punct.index(ch)
    position[" "] = 1300

    out = []
    out.append("/ %s: letters, keys and interface texts of the Tessaline keypad (UTF-8)." % name)
    out.append("/ Written by tools/vocbuild/make_language_files.py; the vocabulary %s.voc is built" % name)
    out.append("/ from data/wordlists/%s by the vocabulary compiler." % name)
    out.append("locale=%s" % locale)
    out.append("")
    out.append("/ Letters. A letter code is (charset id + 1) * 16 + position; keys name a letter as")
    out.append("/ charset id * 100 + position.")
    for cid, chunk in charsets:
        out.append("charset=%d,%s  / %s" % (cid, ",".join("0x%04x" % ord(c) for c in chunk), " ".join(chunk)))
    out.append("charset=13,0x0020  / space")
    out.append("charset=14,%s  / %s" % (",".join("0x%04x" % ord(c) for c in punct), " ".join(punct)))
    out.append("")

    def key(k, main, extra, comment):
        values = [str(position[c]) for c in main + extra]
        assert len(values) <= 8, (name, k)
        out.append("chararray=%d,%s; chararraybase=%d,%d  / %s" %
                   (k, ",".join(values), k, len(main), comment))

    out.append("/ Key 1: punctuation (multi-tap); key 10: the space.")
    key(1, punct[:4], punct[4:], " ".join(punct))
    out.append("chararray=10,1300  / space")
    out.append("")
    out.append("/ Telephone keys 2-9: main letters first, then the language's other letters.")
    for i, (main, extra) in enumerate(phone):
        key(i + 2, main, extra, " ".join(main) + (" | " + " ".join(extra) if extra else ""))
    out.append("")
    out.append("/ Compact QWERTY: rows 101-105, 106-110, 111-115; key 115 is punctuation.")
    for i, (main, extra) in enumerate(qwerty):
        key(101 + i, main, extra, " ".join(main) + (" | " + " ".join(extra) if extra else ""))
    key(115, punct[:4], punct[4:], " ".join(punct))

    if texts:
        out.append("")
        out.append("/ Interface texts: text<number>=\"text\" (what each number is for follows it).")
        for n in sorted(texts):
            t = texts[n]
            assert '"' not in t and len(t.encode("utf-8")) <= 127
            out.append("text%d=%s  / %s" % (n, quote(t), TEXT_ROLES[n]))
    path = os.path.join("data", "Languages", name + ".chr")
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")


def main():
    os.makedirs(os.path.join("data", "Languages"), exist_ok=True)
    for name, (locale, extras, punct, _) in LANGUAGES.items():
        phone, qwerty = latin_plan(extras)
        write_language(name, locale, phone, qwerty, punct, ENGLISH_TEXTS if name == "English" else None)
    for name, (locale, phone, qwerty) in CYRILLIC.items():
        write_language(name, locale, phone, qwerty, PUNCT, None)


if __name__ == "__main__":
    main()
