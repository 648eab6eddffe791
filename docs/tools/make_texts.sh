#!/usr/bin/env bash
# Writes the evaluation texts of docs/languages.md into DIR: help-CODE.txt (the GNOME desktop
# help) and prose-CODE.txt (a prose text of another kind) for every shipped language that has
# one. The Debian packages are fetched with apt-get download and unpacked into DIR/packages.
#
#   docs/tools/make_texts.sh DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DIR" >&2; exit 2; }
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
tools="$here/tools/evaluation"
mkdir -p "$1/packages"
out="$(cd "$1" && pwd)"
root="$out/packages/root"
cd "$out/packages"
apt-get download gnome-user-docs debian-history installation-guide-amd64 \
  debian-edu-doc-legacy-pl libreoffice-help-pl
for deb in *.deb; do dpkg-deb -x "$deb" root; done

# The help: one translation per language; English is the untranslated C folder.
for pair in en:C de:de fr:fr es:es it:it pt:pt nl:nl pl:pl sv:sv cs:cs ru:ru uk:uk; do
  python3 "$tools/prose_from_mallard.py" "$root/usr/share/help" "${pair#*:}" \
    "$out/help-${pair%%:*}.txt" --max-chars 120000
done

# A Brief History of Debian, where it is translated.
history="$root/usr/share/doc/debian-history/docs"
pages=(intro leaders releases detailed manifesto)
python3 "$tools/prose_from_html.py" "$out/prose-en.txt" \
  $(for p in "${pages[@]}"; do echo "$history/$p.en.html"; done) --max-chars 120000
for code in de es fr it pt ru; do
  python3 "$tools/prose_from_html.py" "$out/prose-$code.txt" \
    $(for p in "${pages[@]}"; do echo "$history/$p.$code.html"; done) --max-chars 120000 \
    --skip-from $(for p in "${pages[@]}"; do echo "$history/$p.en.html"; done) --no-english
done

# The installation guide's introduction and chapters.
guide="$root/usr/share/doc/installation-guide-amd64"
for code in cs nl sv; do
  python3 "$tools/prose_from_html.py" "$out/prose-$code.txt" $(ls "$guide/$code"/ch*.html | sort) \
    --max-chars 120000 --skip-from "$guide"/en/ch*.html --no-english
done

# Polish: the Audacity manual and LibreOffice's guide pages, without the help's page headers.
python3 "$tools/prose_from_html.py" "$out/prose-pl.raw" \
  "$root/usr/share/doc/debian-edu-doc-legacy-pl/audacity-manual.html" \
  $(ls "$root"/usr/share/libreoffice/help/pl/text/shared/guide/*.html | sort) \
  --max-chars 70000 --no-english
grep -v -E '^(This page is|Title is|Pomoc LibreOffice)' "$out/prose-pl.raw" > "$out/prose-pl.txt"
rm "$out/prose-pl.raw"
ls "$out"/*.txt
