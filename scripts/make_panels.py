#!/usr/bin/env python3
"""Writes the shipped panel files data/Layouts/compact_white.pan and data/Layouts/compact.pan.

    scripts/make_panels.py [OUTPUT_FOLDER]   (default: data/Layouts)

Both files share the key arrangement (layouts "main", "symbols", "qwerty", "words", "userpad" and
the symbols pop-up's "popup"); they differ in the skin: colours, which key pictures the letter
keys use, and caption colours. Everything is designed for a 240-pixel-wide screen at one pixel
per design unit, so the built-in pictures are copied unscaled there.
"""
import os
import sys

# ---------------------------------------------------------------- skins

SKINS = {
    'compact_white.pan': {
        'title': 'white keys on a light panel',
        'backcolor': 0xE0DCD8, 'textcolor': 0x202020,
        'letter_bitmap': 'lb_white', 'letter_text': 0x302820, 'digit_text': 0x9C8C80,
        'small_letter_bitmap': 'b_white', 'small_text': 0x302820,
    },
    'compact.pan': {
        'title': 'slate keys on a dark panel',
        'backcolor': 0x181410, 'textcolor': 0xFFFFFF,
        'letter_bitmap': 'dark_key.bmp', 'letter_text': 0xFFFFFF, 'digit_text': 0xF0C890,
        'small_letter_bitmap': 'dark_small.bmp', 'small_text': 0xFFFFFF,
    },
}

WHITE = 0xFFFFFF

# Icons of the sheet i_sys: 15 pictures of 30 x 22 with their masks to the right.
SYS_ICONS = [':abc0:', ':abc1:', ':abc2:', ':t90:', ':t91:', ':enter:', ':bksp:', ':space:',
             ':next:', ':options:', ':lang:', ':left:', ':right:', ':up:', ':down:']
EDIT_ICONS = [('i_copy', ':copy:'), ('i_paste', ':paste:'), ('i_cut', ':cut:'),
              ('i_delete', ':del:'), ('i_sel_all', ':selall:'), ('i_sel_line', ':selline:'),
              ('i_sel_left', ':selleft:'), ('i_sel_right', ':selright:')]


def skin_text(s):
    out = []
    out.append('// Tessaline panel file: %s.' % s['title'])
    out.append('// Design size 240 units wide: one unit is one pixel on a 240-pixel-wide screen.')
    out.append('backcolor = 0x%06X; textcolor = 0x%06X' % (s['backcolor'], s['textcolor']))
    out.append('')

    def layout(number, comment, bitmap, frames, w, h, cells):
        out.append('// %d: %s' % (number, comment))
        out.append('[button_layout=%d]' % number)
        out.append('  bitmap = %s%s; size = 0, 0, %d, %d' % (bitmap, ', %d' % frames if frames > 1 else '', w, h))
        for (cid, (x, y, cw, ch), font, color) in cells:
            out.append('  [cell=%d]' % cid)
            out.append('    rect = %d, %d, %d, %d; font = %d; color = 0x%06X' % (x, y, cw, ch, font, color))
            out.append('  [end]')
        out.append('[end]')

    layout(1, 'letter key of the phone keypad: letters (cell 0), digit typed on hold (cell 1)',
           s['letter_bitmap'], 1, 50, 40,
           [(0, (1, 12, 48, 24), 2, s['letter_text']), (1, (3, 1, 10, 11), 1, s['digit_text'])])
    layout(2, 'function key of the keypad (icon or short text)', 'lb_gray', 1, 50, 40,
           [(0, (0, 0, 50, 40), 2, WHITE)])
    layout(3, 'space key: the space icon (cell 1) over what the language puts on it (cell 0)',
           'lb_gray', 1, 50, 40,
           [(1, (0, 0, 50, 34), 2, WHITE), (0, (0, 27, 50, 12), 1, 0xD0D0D0)])
    layout(4, 'case key: frame 0 lower case, 1 capitals, 2 capital for the next word', 'b_abc', 3, 40, 30,
           [(0, (0, 0, 40, 26), 2, WHITE)])
    layout(5, 'mode key: frame 0 letter mode, 1 word mode', 'b_t9', 2, 40, 30,
           [(0, (0, 0, 40, 26), 2, WHITE)])
    layout(6, 'blue key with text', 'b_blue', 1, 40, 30, [(0, (0, 0, 40, 30), 2, WHITE)])
    layout(7, 'next candidate', 'b_next', 1, 40, 30, [(0, (0, 0, 40, 30), 2, WHITE)])
    layout(8, 'small character key (compact QWERTY, digits, symbols)', s['small_letter_bitmap'], 1, 40, 30,
           [(0, (0, 3, 40, 24), 2, s['small_text'])])
    layout(9, 'small function key', 'b_gray', 1, 40, 30, [(0, (0, 0, 40, 30), 2, WHITE)])
    layout(10, 'editing key: cell 0 holds the key script and is not shown, cell 1 its label',
           'lb2_gray', 1, 40, 40, [(1, (0, 0, 40, 40), 1, WHITE)])
    layout(11, 'user button: cell 0 holds the key script and is not shown, cell 1 its label',
           'b_userbutton', 1, 60, 40, [(1, (0, 2, 60, 36), 1, WHITE)])
    layout(12, 'options', 'b_options', 1, 40, 30, [])
    layout(13, 'close bar of the symbols pop-up', 'splitter', 1, 240, 15, [])
    layout(14, 'large function key with a small label', 'lb_gray', 1, 50, 40,
           [(0, (0, 0, 50, 40), 1, WHITE)])
    out.append('')
    for i, caption in enumerate(SYS_ICONS):
        out.extend(['[icon]', '  bitmap = i_sys; size = 0, %d, 30, 22; caption = "%s"' % (i * 22, caption), '[end]'])
    for bitmap, caption in EDIT_ICONS:
        out.extend(['[icon]', '  bitmap = %s; size = 0, 0, 20, 20; caption = "%s"' % (bitmap, caption), '[end]'])
    out.append('')
    return out


# ---------------------------------------------------------------- layouts

def button(out, id_, x, y, layout, event0=None, event1=None, captions=(), toggle=False):
    parts = ['pos = %d, %d' % (x, y), 'layout = %d' % layout]
    if event0 is not None:
        parts.append('event0 = %d' % event0)
    if event1 is not None:
        parts.append('event1 = %d' % event1)
    if toggle:
        parts.append('toggle = true')
    for cell, text in captions:
        parts.append('caption = %d, "%s"' % (cell, text))
    out.append('  [button=%d]' % id_)
    out.append('    ' + '; '.join(parts))
    out.append('  [end]')


ENGLISH_KEYS = {1: '.,?!', 2: 'abc', 3: 'def', 4: 'ghi', 5: 'jkl', 6: 'mno', 7: 'pqrs', 8: 'tuv',
                9: 'wxyz'}
QWERTY_KEYS = ['qw', 'er', 'ty', 'ui', 'op', 'as', 'df', 'gh', 'jk', 'l', 'zx', 'cv', 'bn', 'm', "'-"]


def layouts():
    out = []
    # main: the phone keypad. Letter keys carry their digit in cell 1; holding one types it.
    out.append('// main: the phone keypad; swipe down for symbols, left for QWERTY, up for editing,')
    out.append('// right for the user buttons.')
    out.append('[layout=main]')
    out.append('  default_sx = 240; default_sy = 120')
    for k in range(1, 10):
        col, row = (k - 1) % 3, (k - 1) // 3
        button(out, k, col * 50, row * 40, 1, k, 0, [(0, ENGLISH_KEYS[k]), (1, str(k))])
    button(out, 12, 150, 0, 2, 12, None, [(0, ':bksp:')])
    button(out, 10, 150, 40, 3, 10, None, [(1, ':space:')])
    button(out, 11, 150, 80, 2, 11, None, [(0, ':enter:')])
    button(out, 14, 200, 0, 4, 14, None, [(0, ':abc0:')])
    button(out, 15, 200, 30, 5, 15, None, [(0, ':t91:')])
    button(out, 13, 200, 60, 6, 13, None, [(0, '#@')])
    button(out, 16, 200, 90, 7, 16, None, [(0, ':next:')])
    out.append('[end]')
    out.append('')

    out.append('// symbols: digits (typed as the first character of their caption) and symbols.')
    out.append('[layout=symbols]')
    out.append('  default_sx = 240; default_sy = 120')
    digits = '1234567890'
    for i, d in enumerate(digits):
        button(out, 201 + i, (i % 5) * 40, (i // 5) * 30, 8, 0, None, [(0, d)])
    button(out, 12, 200, 0, 9, 12, None, [(0, ':bksp:')])
    button(out, 11, 200, 30, 9, 11, None, [(0, ':enter:')])
    # events 400 + n type symbol n of the pop-up's symbols
    symbols = [(400, "'"), (402, '('), (403, ')'), (404, '@'), (405, '/'),
               (406, ':'), (408, ';'), (409, '+'), (410, '&'), (411, '%')]
    for i, (event, text) in enumerate(symbols):
        button(out, event, (i % 5) * 40, 60 + (i // 5) * 30, 8, event, None, [(0, text)])
    button(out, 13, 200, 60, 6, 13, None, [(0, '#@')])
    button(out, 1, 200, 90, 8, 1, None, [(0, ENGLISH_KEYS[1])])
    out.append('[end]')
    out.append('')

    out.append('// qwerty: the compact QWERTY keys 101-115, two letters a key.')
    out.append('[layout=qwerty]')
    out.append('  default_sx = 240; default_sy = 120')
    for i, letters in enumerate(QWERTY_KEYS):
        button(out, 101 + i, (i % 5) * 40, (i // 5) * 30, 8, 101 + i, None, [(0, letters)])
    button(out, 12, 200, 0, 9, 12, None, [(0, ':bksp:')])
    button(out, 11, 200, 30, 9, 11, None, [(0, ':enter:')])
    button(out, 14, 200, 60, 4, 14, None, [(0, ':abc0:')])
    button(out, 1, 0, 90, 8, 1, None, [(0, ENGLISH_KEYS[1])])
    button(out, 10, 40, 90, 9, 10, None, [(0, ':space:')])
    button(out, 15, 80, 90, 5, 15, None, [(0, ':t91:')])
    button(out, 13, 120, 90, 6, 13, None, [(0, '#@')])
    button(out, 16, 160, 90, 7, 16, None, [(0, ':next:')])
    button(out, 302, 200, 90, 9, 302, None, [(0, ':lang:')])
    out.append('[end]')
    out.append('')

    out.append('// words: editing keys; each sends its key script (cell 0) and shows its label (cell 1).')
    out.append('[layout=words]')
    out.append('  default_sx = 240; default_sy = 120')
    ctrl = 'VK_CONTROLd+%s+VK_CONTROLu'
    shift = 'VK_SHIFTd+%s+VK_SHIFTu'
    edit = [
        [(ctrl % 'VK_C', ':copy:'), (ctrl % 'VK_X', ':cut:'), (ctrl % 'VK_V', ':paste:'),
         ('VK_DELETE', ':del:'), (ctrl % 'VK_A', ':selall:'), None],
        [(shift % 'VK_LEFT', ':selleft:'), ('VK_LEFT', ':left:'), ('VK_UP', ':up:'),
         ('VK_RIGHT', ':right:'), (shift % 'VK_RIGHT', ':selright:'), None],
        [('VK_HOME+' + shift % 'VK_END', ':selline:'), ('VK_HOME', 'Home'), ('VK_DOWN', ':down:'),
         ('VK_END', 'End'), None, None],
    ]
    next_id = 50
    for row, keys in enumerate(edit):
        for col, key in enumerate(keys):
            if key is None:
                continue
            button(out, next_id, col * 40, row * 40, 10, 20, None, [(0, key[0]), (1, key[1])])
            next_id += 1
    button(out, 12, 200, 0, 10, 12, None, [(1, ':bksp:')])
    button(out, 11, 200, 40, 10, 11, None, [(1, ':enter:')])
    button(out, 301, 160, 80, 10, 301, None, [(1, ':options:')])
    button(out, 302, 200, 80, 10, 302, None, [(1, ':lang:')])
    out.append('[end]')
    out.append('')

    out.append('// userpad: the user buttons 30-45; the options give their key scripts and labels.')
    out.append('[layout=userpad]')
    out.append('  default_sx = 240; default_sy = 160')
    for i in range(16):
        button(out, 30 + i, (i % 4) * 60, (i // 4) * 40, 11, 20)
    out.append('[end]')
    out.append('')

    out.append('// popup: the symbols pop-up. Buttons 100-121 get their symbol when the pop-up is made;')
    out.append('// 150 shows the language name and switches language, 151 opens the options, and the')
    out.append('// bar at the bottom only closes the pop-up.')
    out.append('[layout=popup]')
    out.append('  default_sx = 240; default_sy = 135')
    for i in range(22):
        button(out, 100 + i, (i % 6) * 40, (i // 6) * 30, 8, 400 + i)
    button(out, 150, 160, 90, 6, 302, None, [(0, 'Eng')])
    button(out, 151, 200, 90, 12, 301)
    button(out, 152, 0, 120, 13, 300)
    out.append('[end]')
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'data', 'Layouts')
    os.makedirs(folder, exist_ok=True)
    for name, skin in SKINS.items():
        lines = skin_text(skin) + layouts()
        with open(os.path.join(folder, name), 'w', newline='\r\n') as f:
            f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
