#!/usr/bin/env python3
"""Draws the built-in panel pictures of Tessaline.dll as 8-bit palette BMP files.

    scripts/make_panel_bitmaps.py [BUILT_IN_FOLDER [LAYOUTS_FOLDER]]
        (defaults: Tessaline/runtime/bitmaps and data/Layouts)

It also draws the layout strip of the input window (bitmap resource 246, layout_strip.bmp: five
pictures of 86 x 62, one per layout, the key outlines of the shipped panel file on black, laid
over the panel by exclusive or while the view slides) and the key pictures that ship as files
beside the dark panel file. Every key picture is
a grid of frames side by side (columns) and two rows: row 0 is the released
look, row 1 the pressed or latched look. Icon pictures hold the image on the left and its mask
on the right (mask white where the background shows through, black under the image; the image
black where the background shows through). Only the standard library is used, and the output is
the same on every run.
"""
import math
import os
import struct
import sys

# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):  # inclusive-exclusive
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def blit(self, other, dx, dy):
        for y in range(other.h):
            for x in range(other.w):
                self.put(dx + x, dy + y, other.px[y][x])


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def quantize(c, step=8):
    return tuple(min(255, (v // step) * step + (step // 2 if v % step else 0)) for v in c)


# ---------------------------------------------------------------- pixel font (5 x 7)

FONT = {
    'a': ["     ", "     ", " ### ", "    #", " ####", "#   #", " ####"],
    'b': ["#    ", "#    ", "#### ", "#   #", "#   #", "#   #", "#### "],
    'c': ["     ", "     ", " ####", "#    ", "#    ", "#    ", " ####"],
    'd': ["    #", "    #", " ####", "#   #", "#   #", "#   #", " ####"],
    'e': ["     ", "     ", " ### ", "#   #", "#####", "#    ", " ####"],
    'l': [" ##  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    'n': ["     ", "     ", "#### ", "#   #", "#   #", "#   #", "#   #"],
    'o': ["     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "],
    'r': ["     ", "     ", "# ## ", "##  #", "#    ", "#    ", "#    "],
    's': ["     ", "     ", " ####", "#    ", " ### ", "    #", "#### "],
    't': [" #   ", " #   ", "#### ", " #   ", " #   ", " #  #", "  ## "],
    'A': [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    'B': ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    'C': [" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"],
    'W': ["#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"],
    '1': ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    '2': [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    '3': ["#### ", "    #", "    #", " ### ", "    #", "    #", "#### "],
}


def text(canvas, s, x, y, c, scale=1, bold=False):
    for i, ch in enumerate(s):
        glyph = FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == '#':
                    for sy in range(scale):
                        for sx in range(scale + (1 if bold else 0)):
                            canvas.put(x + i * 6 * scale + gx * scale + sx, y + gy * scale + sy, c)


def text_width(s, scale=1):
    return len(s) * 6 * scale - scale


# ---------------------------------------------------------------- key faces

# Colour schemes of the keys: (top, bottom, rim light, rim dark) of the released face; the pressed
# face is a darker, inverted gradient.
STYLES = {
    'white': ((252, 252, 253), (226, 230, 236), (255, 255, 255), (150, 158, 170)),
    'gray': ((112, 122, 138), (78, 86, 100), (146, 156, 172), (40, 44, 52)),
    'blue': ((86, 150, 230), (40, 96, 184), (140, 190, 245), (20, 50, 110)),
    'red': ((222, 96, 84), (176, 52, 44), (245, 150, 140), (100, 24, 20)),
    'green': ((104, 186, 110), (52, 136, 64), (160, 220, 164), (24, 74, 30)),
    'dark': ((58, 60, 66), (34, 35, 40), (84, 88, 96), (10, 10, 12)),
}


def key_face(w, h, style, pressed, radius=4):
    top, bottom, light, dark = STYLES[style]
    if pressed:
        top, bottom = mix(bottom, (0, 0, 0), 0.18), mix(top, (0, 0, 0), 0.12)
        light, dark = dark, light
    c = Canvas(w, h, (0, 0, 0))
    edge = (60, 64, 72)  # the seam between two keys; it reads well on light and dark panels
    c.rect(0, 0, w, h, edge)
    for y in range(1, h - 1):
        t = (y - 1) / max(1, h - 3)
        col = quantize(mix(top, bottom, t))
        for x in range(1, w - 1):
            c.put(x, y, col)
    # bevel: a light rim at the top and left, a dark rim at the bottom and right
    for x in range(2, w - 2):
        c.put(x, 1, light)
        c.put(x, h - 2, dark)
    for y in range(2, h - 2):
        c.put(1, y, light)
        c.put(w - 2, y, dark)
    # rounded corners in the seam colour
    for (cx, cy, sx, sy) in ((0, 0, 1, 1), (w - 1, 0, -1, 1), (0, h - 1, 1, -1), (w - 1, h - 1, -1, -1)):
        for i in range(radius):
            for j in range(radius):
                if (i + 0.5 - radius) ** 2 + (j + 0.5 - radius) ** 2 > radius * radius:
                    c.put(cx + sx * i, cy + sy * j, edge)
    return c


def lamp(c, x, y, w, on, colour=(255, 196, 40)):
    """A small indicator bar drawn into a key frame (lit or dark)."""
    off = (70, 76, 88)
    c.rect(x, y, x + w, y + 3, colour if on else off)


def glyph_close(c, ox, oy, w, h, colour):
    cx, cy = ox + w // 2, oy + h // 2
    for d in range(-6, 7):
        for t in (0, 1):
            c.put(cx + d + t, cy + d, colour)
            c.put(cx + d + t, cy - d, colour)


def glyph_gear(c, ox, oy, w, h, colour, r=7):
    cx, cy = ox + w / 2 - 0.5, oy + h / 2 - 0.5
    for y in range(oy, oy + h):
        for x in range(ox, ox + w):
            dx, dy = x - cx, y - cy
            d = math.hypot(dx, dy)
            a = math.atan2(dy, dx)
            tooth = (math.cos(a * 8) > 0.3)
            outer = r + (2 if tooth else 0)
            if 2.6 < d <= outer:
                c.put(x, y, colour)


def key_sheet(fw, fh, frames, style, decorate=None):
    c = Canvas(fw * frames, fh * 2)
    for row in (0, 1):
        for f in range(frames):
            face = key_face(fw, fh, style, row == 1)
            if decorate:
                decorate(face, f, row)
            c.blit(face, f * fw, row * fh)
    return c


# ---------------------------------------------------------------- icons

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def icon_pair(w, h, draw):
    """An icon image with its mask to the right: draw(canvas) paints the shape in colours on a
    black canvas; the mask is black wherever the image is not black."""
    img = Canvas(w, h, BLACK)
    draw(img)
    out = Canvas(w * 2, h, BLACK)
    out.blit(img, 0, 0)
    for y in range(h):
        for x in range(w):
            out.put(w + x, y, BLACK if img.get(x, y) != BLACK else WHITE)
    return out


def line(c, x0, y0, x1, y1, col, thick=2):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        x = x0 + (x1 - x0) * i / n
        y = y0 + (y1 - y0) * i / n
        for tx in range(thick):
            for ty in range(thick):
                c.put(int(round(x)) + tx, int(round(y)) + ty, col)


def tri(c, pts, col):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        for x in range(int(min(xs)), int(max(xs)) + 1):
            (x1, y1), (x2, y2), (x3, y3) = pts
            px, py = x + 0.5, y + 0.5
            d1 = (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2)
            d2 = (px - x3) * (y2 - y3) - (x2 - x3) * (py - y3)
            d3 = (px - x1) * (y3 - y1) - (x3 - x1) * (py - y1)
            neg = d1 < 0 or d2 < 0 or d3 < 0
            pos = d1 > 0 or d2 > 0 or d3 > 0
            if not (neg and pos):
                c.put(x, y, col)


def centred_text(c, s, col, scale=1, bold=True, dy=0):
    w = text_width(s, scale) + (1 if bold else 0)
    text(c, s, (c.w - w) // 2, (c.h - 7 * scale) // 2 + dy, col, scale, bold)


LAMP = (255, 200, 60)


def sys_icons():
    """i_sys: 15 icons of 30 x 22, image and mask side by side, one under the other."""
    W, H = 30, 22
    draws = []

    def case_icon(s, underline=None):
        def d(c):
            centred_text(c, s, WHITE, 1, True, -2)
            if underline is not None:
                x0 = (c.w - text_width(s) - 1) // 2
                c.rect(x0 + underline[0], 17, x0 + underline[1], 19, LAMP)
        return d

    def case_icon2(s, underline=None):
        def d(c):
            w = text_width(s, 2) + 1
            x0 = (c.w - w) // 2
            text(c, s, x0, 1, WHITE, 2, True)
            if underline is not None:
                c.rect(x0 + underline[0], 18, x0 + underline[1], 20, LAMP)
        return d

    draws.append(case_icon2("ab"))                 # :abc0: lower case
    draws.append(case_icon2("AB", (0, 23)))        # :abc1: capitals
    draws.append(case_icon2("Ab", (0, 11)))        # :abc2: capitalise the next word

    def letters(c):  # :t90: letter mode: single letters, one tap at a time
        text(c, "a", 4, 4, WHITE, 2, True)
        text(c, "1", 18, 11, LAMP, 1, True)
    draws.append(letters)

    def words(c):  # :t91: word mode: whole words from the vocabulary
        text(c, "W", 4, 4, WHITE, 2, True)
        for i in range(3):
            c.rect(18 + i * 3, 16, 20 + i * 3, 18, LAMP)
    draws.append(words)

    def enter(c):
        line(c, 22, 4, 22, 13, WHITE)
        line(c, 9, 13, 23, 13, WHITE)
        tri(c, [(3, 14), (10, 8), (10, 20)], WHITE)
    draws.append(enter)

    def backspace(c):
        tri(c, [(3, 11), (10, 4), (10, 18)], WHITE)
        c.rect(10, 4, 26, 19, WHITE)
        c.rect(11, 6, 25, 17, BLACK)
        line(c, 14, 8, 21, 14, WHITE)
        line(c, 21, 8, 14, 14, WHITE)
    draws.append(backspace)

    def space(c):
        c.rect(4, 14, 26, 16, WHITE)
        c.rect(4, 9, 6, 16, WHITE)
        c.rect(24, 9, 26, 16, WHITE)
    draws.append(space)

    def nxt(c):
        tri(c, [(5, 4), (14, 11), (5, 18)], WHITE)
        tri(c, [(14, 4), (23, 11), (14, 18)], WHITE)
        c.rect(23, 4, 26, 19, LAMP)
    draws.append(nxt)

    def gear(c):
        glyph_gear(c, 4, 0, 22, 22, WHITE, 7)
    draws.append(gear)

    def globe(c):
        cx, cy, r = 14.5, 10.5, 9
        for y in range(H):
            for x in range(W):
                d = math.hypot(x - cx, y - cy)
                if r - 1.6 <= d <= r or (abs(x - cx) < 1 and d < r) or (abs(y - cy) < 1 and d < r):
                    c.put(x, y, WHITE)
                e = math.hypot((x - cx) * 2.2, y - cy)
                if r - 2 <= e <= r:
                    c.put(x, y, WHITE)
    draws.append(globe)

    def arrow(direction):
        def d(c):
            cx, cy = 15, 11
            if direction == 'left':
                tri(c, [(6, cy), (14, 3), (14, 19)], WHITE); c.rect(14, 8, 24, 14, WHITE)
            elif direction == 'right':
                tri(c, [(24, cy), (16, 3), (16, 19)], WHITE); c.rect(6, 8, 16, 14, WHITE)
            elif direction == 'up':
                tri(c, [(cx, 2), (7, 11), (23, 11)], WHITE); c.rect(12, 11, 18, 20, WHITE)
            else:
                tri(c, [(cx, 20), (7, 11), (23, 11)], WHITE); c.rect(12, 2, 18, 11, WHITE)
        return d
    for direction in ('left', 'right', 'up', 'down'):
        draws.append(arrow(direction))

    sheet = Canvas(W * 2, H * 15, BLACK)
    for i, d in enumerate(draws):
        sheet.blit(icon_pair(W, H, d), 0, i * H)
    return sheet


def edit_icon(kind):
    """The 20 x 20 editing icons with their masks (40 x 20)."""
    ACC = (120, 200, 255)

    def d(c):
        if kind == 'copy':
            c.rect(3, 2, 13, 14, WHITE); c.rect(5, 4, 11, 12, BLACK)
            c.rect(7, 6, 17, 18, WHITE); c.rect(9, 8, 15, 16, ACC)
        elif kind == 'paste':
            c.rect(3, 4, 16, 19, WHITE); c.rect(5, 6, 14, 17, BLACK)
            c.rect(7, 2, 12, 6, LAMP)
            c.rect(8, 10, 18, 19, ACC)
        elif kind == 'cut':
            line(c, 5, 2, 13, 12, WHITE); line(c, 14, 2, 6, 12, WHITE)
            for (cx, cy) in ((5.5, 15.5), (14.5, 15.5)):
                for y in range(20):
                    for x in range(20):
                        if 1.8 <= math.hypot(x - cx, y - cy) <= 3.6:
                            c.put(x, y, ACC)
        elif kind == 'delete':
            c.rect(2, 2, 18, 18, (230, 80, 70)); c.rect(4, 4, 16, 16, BLACK)
            line(c, 6, 6, 13, 13, WHITE); line(c, 13, 6, 6, 13, WHITE)
        elif kind == 'sel_all':
            for x in range(2, 18):
                if (x // 2) % 2 == 0:
                    c.put(x, 2, WHITE); c.put(x, 17, WHITE)
            for y in range(2, 18):
                if (y // 2) % 2 == 0:
                    c.put(2, y, WHITE); c.put(17, y, WHITE)
            c.rect(5, 5, 15, 15, ACC)
        elif kind == 'sel_line':
            c.rect(2, 8, 18, 12, ACC)
            c.rect(1, 5, 3, 15, WHITE); c.rect(17, 5, 19, 15, WHITE)
        elif kind == 'sel_left':
            tri(c, [(2, 10), (9, 3), (9, 17)], WHITE); c.rect(10, 7, 18, 13, ACC)
        elif kind == 'sel_right':
            tri(c, [(17, 10), (10, 3), (10, 17)], WHITE); c.rect(2, 7, 10, 13, ACC)
    return icon_pair(20, 20, d)


# ---------------------------------------------------------------- the pictures

def build():
    pics = {}
    pics['b_white'] = key_sheet(40, 30, 1, 'white')
    pics['b_gray'] = key_sheet(40, 30, 1, 'gray')
    blue = key_sheet(40, 30, 1, 'blue')
    pics['b_blue'] = blue
    pics['b_next'] = blue
    pics['b_close'] = key_sheet(40, 30, 1, 'red',
                                lambda c, f, r: glyph_close(c, 0, r, 40, 30, WHITE))
    pics['b_options'] = key_sheet(40, 30, 1, 'gray',
                                  lambda c, f, r: glyph_gear(c, 9, 4 + r, 22, 22, WHITE, 6))

    def case_lamps(c, f, r, w=40):
        # frame 0 lower case, 1 capitals (lamp lit), 2 next word capitalised (half lit)
        lamp(c, 6, c.h - 6, w - 12, False)
        if f == 1:
            lamp(c, 6, c.h - 6, w - 12, True)
        elif f == 2:
            lamp(c, 6, c.h - 6, (w - 12) // 3, True)

    def mode_lamps(c, f, r):
        # frame 0 letter mode, frame 1 word mode (lamp lit)
        lamp(c, 6, c.h - 6, c.w - 12, f == 1, (110, 220, 120))

    pics['b_abc'] = key_sheet(40, 30, 3, 'gray', case_lamps)
    pics['lb_abc'] = key_sheet(40, 40, 3, 'gray', case_lamps)
    pics['b_t9'] = key_sheet(40, 30, 2, 'gray', mode_lamps)
    pics['lb_t9'] = key_sheet(50, 40, 2, 'gray', mode_lamps)
    pics['lb_white'] = key_sheet(50, 40, 1, 'white')
    pics['lb_gray'] = key_sheet(50, 40, 1, 'gray')
    pics['lb2_gray'] = key_sheet(40, 40, 1, 'gray')
    pics['mb_white'] = key_sheet(48, 40, 1, 'white')
    pics['b_userbutton'] = key_sheet(60, 40, 1, 'green')

    # splitter: a full-width handle bar with a grip in the middle
    def grip(c, f, r):
        for i in range(5):
            c.rect(104 + i * 7, 6 + r, 108 + i * 7, 9 + r, (230, 236, 245))
    pics['splitter'] = key_sheet(240, 15, 1, 'gray', grip)

    for kind in ('copy', 'paste', 'cut', 'delete', 'sel_all', 'sel_line', 'sel_left', 'sel_right'):
        pics['i_' + kind] = edit_icon(kind)
    pics['i_sys'] = sys_icons()
    return pics


SIZES = {
    'b_abc': (120, 60), 'lb_abc': (120, 80), 'b_blue': (40, 60), 'b_close': (40, 60),
    'b_next': (40, 60), 'b_t9': (80, 60), 'lb_t9': (100, 80), 'b_white': (40, 60),
    'b_gray': (40, 60), 'lb_white': (50, 80), 'lb_gray': (50, 80), 'lb2_gray': (40, 80),
    'mb_white': (48, 80), 'b_options': (40, 60), 'b_userbutton': (60, 80), 'splitter': (240, 30),
    'i_copy': (40, 20), 'i_paste': (40, 20), 'i_cut': (40, 20), 'i_delete': (40, 20),
    'i_sel_all': (40, 20), 'i_sel_line': (40, 20), 'i_sel_left': (40, 20), 'i_sel_right': (40, 20),
    'i_sys': (60, 330),
}


def to_bmp8(c):
    colours = sorted({p for row in c.px for p in row})
    if len(colours) > 256:
        raise SystemExit("too many colours")
    index = {col: i for i, col in enumerate(colours)}
    row_bytes = (c.w + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):  # bottom-up
        line_ = bytes(index[p] for p in c.px[y])
        pixels += line_ + b'\0' * (row_bytes - c.w)
    palette = b''.join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 8, 0, len(pixels), 2835, 2835,
                       len(colours), len(colours))
    return header + info + palette + bytes(pixels)


def to_bmp4(c):
    """A 16-colour BMP (4 bits a pixel, bottom-up), for pictures the system loads at that depth."""
    colours = sorted({p for row in c.px for p in row})
    if len(colours) > 16:
        raise SystemExit("too many colours for 4 bits")
    index = {col: i for i, col in enumerate(colours)}
    row_bytes = ((c.w + 1) // 2 + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):
        line_ = bytearray(row_bytes)
        for x, p in enumerate(c.px[y]):
            line_[x // 2] |= index[p] << (0 if x % 2 else 4)
        pixels += line_
    palette = b''.join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 4, 0, len(pixels), 2835, 2835,
                       len(colours), len(colours))
    return header + info + palette + bytes(pixels)


def taskbar_icon():
    """The taskbar icon of the input method (bitmap 201): a small keypad of three by three keys
    on a blue body, on white, which the icon list treats as transparent."""
    c = Canvas(16, 16, WHITE)
    body = (24, 72, 160)
    c.rect(1, 2, 15, 15, body)
    for corner in ((1, 2), (14, 2), (1, 14), (14, 14)):
        c.put(corner[0], corner[1], WHITE)
    c.rect(3, 3, 13, 5, (200, 220, 250))  # the display above the keys
    for row in range(3):
        for col in range(3):
            x, y = 3 + col * 4, 6 + row * 3
            c.rect(x, y, x + 2, y + 2, WHITE if (row, col) != (2, 1) else (255, 196, 40))
    return c


# ---------------------------------------------------------------- the layout strip

STRIP_LAYOUTS = ('main', 'symbols', 'qwerty', 'words', 'userpad')
STRIP_CELL = (86, 62)


def read_panel(path):
    """The button layouts' frame sizes and, per layout, its design size and its buttons' design
    rectangles, from a panel file (only what the strip needs)."""
    import re
    sizes, layouts = {}, {}
    section, layout, button = [], None, None
    for raw in open(path, encoding='latin-1'):
        line = raw.split('//')[0].strip()
        m = re.match(r'\[(\w+)(?:=(\w+))?\]', line)
        if m:
            name, arg = m.group(1).lower(), (m.group(2) or '').lower()
            if name == 'end':
                closed = section.pop() if section else None
                if closed and closed[0] == 'button' and layout is not None and button:
                    layouts[layout]['buttons'].append(button)
                    button = None
                elif closed and closed[0] == 'layout':
                    layout = None
                continue
            section.append((name, arg))
            if name == 'layout':
                layout = arg
                layouts[layout] = {'sx': 240, 'sy': 80, 'buttons': []}
            elif name == 'button':
                button = {'x': 0.0, 'y': 0.0, 'layout': -1}
            continue
        for statement in line.split(';'):
            if '=' not in statement:
                continue
            key, value = (part.strip() for part in statement.split('=', 1))
            key, values = key.lower(), [v.strip() for v in value.split(',')]
            top = section[-1] if section else ('', '')
            if top[0] == 'button_layout' and key == 'size' and len(values) == 4:
                sizes.setdefault(int(top[1]), (int(values[2]), int(values[3])))
            elif top[0] == 'layout' and key in ('default_sx', 'default_sy'):
                layouts[layout][key[-2:]] = int(float(values[0]))
            elif top[0] == 'button' and button is not None:
                if key == 'pos' and len(values) == 2:
                    button['x'], button['y'] = float(values[0]), float(values[1])
                elif key == 'layout':
                    button['layout'] = int(values[0])
    return sizes, layouts


def layout_strip(panel_path):
    """Five cells side by side: each layout's keys as light outlines with a dark face on black,
    which leaves the panel beneath unchanged where nothing is drawn."""
    sizes, layouts = read_panel(panel_path)
    cw, ch = STRIP_CELL
    strip = Canvas(cw * len(STRIP_LAYOUTS), ch, BLACK)
    face, rim = (40, 44, 52), (120, 128, 140)
    for i, name in enumerate(STRIP_LAYOUTS):
        layout = layouts[name]
        for b in layout['buttons']:
            if b['layout'] not in sizes:
                continue
            w, h = sizes[b['layout']]
            x0 = i * cw + int(b['x'] * cw / layout['sx']) + 1
            y0 = int(b['y'] * ch / layout['sy']) + 1
            x1 = i * cw + int((b['x'] + w) * cw / layout['sx']) - 1
            y1 = int((b['y'] + h) * ch / layout['sy']) - 1
            strip.rect(x0, y0, x1, y1, rim)
            strip.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, face)
    return strip


# Pictures that ship as files beside the dark panel file (data/Layouts), not built in.
def panel_files():
    return {
        'dark_key.bmp': key_sheet(50, 40, 1, 'dark'),
        'dark_small.bmp': key_sheet(40, 30, 1, 'dark'),
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'Tessaline', 'runtime', 'bitmaps')
    layouts = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, '..', 'data', 'Layouts')
    os.makedirs(out, exist_ok=True)
    pics = build()
    for name, (w, h) in SIZES.items():
        c = pics[name]
        if (c.w, c.h) != (w, h):
            raise SystemExit(f"{name}: drawn {c.w}x{c.h}, must be {w}x{h}")
        with open(os.path.join(out, name + '.bmp'), 'wb') as f:
            f.write(to_bmp8(c))
    with open(os.path.join(out, 'taskbar_icon.bmp'), 'wb') as f:
        f.write(to_bmp4(taskbar_icon()))
    os.makedirs(layouts, exist_ok=True)
    for name, c in panel_files().items():
        with open(os.path.join(layouts, name), 'wb') as f:
            f.write(to_bmp8(c))
    strip = layout_strip(os.path.join(layouts, 'compact_white.pan'))
    if (strip.w, strip.h) != (430, 62):
        raise SystemExit(f"layout_strip: drawn {strip.w}x{strip.h}, must be 430x62")
    with open(os.path.join(out, 'layout_strip.bmp'), 'wb') as f:
        f.write(to_bmp8(strip))


if __name__ == '__main__':
    main()
