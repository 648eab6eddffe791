#!/usr/bin/env python3
"""Writes Composition.inc: the letters of the Latin, Greek and Cyrillic blocks that a base letter
and one combining mark (U+0300 to U+036F) compose to, as (base, mark, letter) rows sorted by base
and mark. Made from Python's own Unicode data, so the rows are the canonical compositions:
  python3 tools/evaluation/make_composition_table.py > tools/evaluation/Composition.inc
"""
import unicodedata

BLOCKS = [(0x00C0, 0x024F), (0x0370, 0x03FF), (0x0400, 0x04FF), (0x1E00, 0x1EFF)]

rows = []
for first, last in BLOCKS:
    for cp in range(first, last + 1):
        parts = unicodedata.decomposition(chr(cp)).split()
        if len(parts) != 2 or parts[0].startswith("<"):
            continue
        base, mark = (int(p, 16) for p in parts)
        if not 0x0300 <= mark <= 0x036F or base > 0xFFFF:
            continue
        # Composition exclusions do not come back from NFC.
        if unicodedata.normalize("NFC", chr(base) + chr(mark)) != chr(cp):
            continue
        rows.append((base, mark, cp))
rows.sort()
print(f"// Made by make_composition_table.py (Unicode {unicodedata.unidata_version}); "
      f"{len(rows)} rows of base, mark, letter.")
for base, mark, cp in rows:
    print(f"{{0x{base:04X}, 0x{mark:04X}, 0x{cp:04X}}},")
