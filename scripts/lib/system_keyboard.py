#!/usr/bin/env python3
"""Scripts for the emulator that type a text on the device's system keyboard (MSIM.DLL): four
rows over the 240-pixel panel docked above the menu bar, ten keys a row in the upper three,
the space bar and Enter below. Used by the emulator's tests and by scripts/run's demo.

    system_keyboard.py TEXT...     prints the script that types the text (lines joined by Enter)
"""
import sys

ROWS = ["qwertyuiop", "asdfghjkl\b", "^zxcvbnm,."]
MENU_BAR_TOP = 294
ROW_HEIGHT = 20


def key(ch, row_height=ROW_HEIGHT):
    """The device point of the key that types ch ('^' is the shift key, '\\b' Backspace)."""
    top = MENU_BAR_TOP - 4 * row_height
    if ch == " ":
        return 84, top + 3 * row_height + row_height // 2
    if ch == "\n":
        return 204, top + 3 * row_height + row_height // 2
    for row, letters in enumerate(ROWS):
        if ch in letters:
            return letters.index(ch) * 24 + 12, top + row * row_height + row_height // 2
    raise ValueError("the system keyboard has no key for %r" % ch)


def taps(text, row_height=ROW_HEIGHT):
    """Script lines that type text: capitals through the shift key."""
    lines = []
    for ch in text:
        if ch.isupper():
            lines.append("tap %d %d" % key("^", row_height))
            ch = ch.lower()
        lines.append("tap %d %d" % key(ch, row_height))
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    sys.stdout.write(taps("\n".join(sys.argv[1:])))
