#!/usr/bin/env python3
"""Draws every picture of Pathwick pixel by pixel and writes them next to this script.

Standard library only. The build uses the committed .bmp and .ico files, so run this only after
changing a picture:  python3 resources/make_pictures.py
"""

import math
import os
import struct

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

# Never used inside a picture, so the image lists can treat it as transparent.
MAGENTA = (255, 0, 255)

# One small palette for every picture keeps the set consistent. Each hue has a dark outline tone,
# a body tone and a light tone for the lit upper-left edge.
PAL = {
    'k': (36, 40, 52),      # neutral outline
    'w': (255, 255, 255),
    '1': (236, 236, 240),
    '2': (200, 200, 208),
    '3': (150, 150, 160),
    '4': (100, 100, 112),
    'B': (22, 60, 140),     # blue
    'b': (60, 120, 215),
    'c': (130, 180, 245),
    'd': (205, 225, 252),
    'Y': (150, 100, 15),    # folder yellow
    'y': (245, 195, 65),
    'z': (255, 230, 140),
    'G': (25, 105, 30),     # green
    'g': (70, 175, 60),
    'h': (160, 225, 140),
    'R': (155, 25, 20),     # red
    'r': (225, 60, 45),
    's': (250, 150, 130),
    'O': (105, 60, 25),     # wood brown
    'o': (190, 120, 60),
    'p': (225, 170, 110),
}


# ---------------------------------------------------------------------------------------------
# Canvas and shapes. A mask is a set of (x, y) pixels; None in a canvas means transparent.

class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = PAL[colour] if isinstance(colour, str) else colour

    def paint(self, mask, colour):
        for x, y in mask:
            self.set(x, y, colour)

    def paste(self, src, dx, dy):
        for y in range(src.h):
            for x in range(src.w):
                if src.px[y][x] is not None:
                    self.set(dx + x, dy + y, src.px[y][x])

    def mask(self):
        return {(x, y) for y in range(self.h) for x in range(self.w) if self.px[y][x] is not None}


def sprite(rows):
    """A canvas from rows of palette letters; '.' is transparent."""
    c = Canvas(len(rows[0]), len(rows))
    for y, row in enumerate(rows):
        assert len(row) == c.w, row
        for x, ch in enumerate(row):
            if ch != '.':
                c.set(x, y, ch)
    return c


def rect(x0, y0, x1, y1):
    return {(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


def disc(cx, cy, r):
    """Pixels whose centre lies within r of (cx, cy); coordinates are pixel edges."""
    out = set()
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                out.add((x, y))
    return out


def ellipse(cx, cy, rx, ry):
    out = set()
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
            if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0:
                out.add((x, y))
    return out


def polygon(points):
    """Pixels whose centre lies inside the polygon (even-odd rule)."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out = set()
    for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
        for x in range(int(min(xs)) - 1, int(max(xs)) + 2):
            px, py = x + 0.5, y + 0.5
            inside = False
            for i in range(len(points)):
                ax, ay = points[i]
                bx, by = points[i - 1]
                if (ay > py) != (by > py):
                    if px < ax + (py - ay) * (bx - ax) / (by - ay):
                        inside = not inside
            if inside:
                out.add((x, y))
    return out


def line(x0, y0, x1, y1):
    out = set()
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        out.add((x0, y0))
        if x0 == x1 and y0 == y1:
            return out
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def border(mask):
    """The pixels of the mask with a 4-neighbour outside it: a 1-pixel outline."""
    return {(x, y) for x, y in mask
            if {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)} - mask}


def shape(canvas, mask, edge, fill, light=None, dark=None):
    """Paints a filled mask with a 1-pixel outline; the inside edge next to the outline above and
    to the left gets the light tone, the one below and to the right the dark tone."""
    edges = border(mask)
    inner = mask - edges
    canvas.paint(edges, edge)
    canvas.paint(inner, fill)
    if dark:
        canvas.paint({(x, y) for x, y in inner
                      if (x + 1, y) in edges or (x, y + 1) in edges}, dark)
    if light:
        canvas.paint({(x, y) for x, y in inner
                      if (x - 1, y) in edges or (x, y - 1) in edges}, light)
    return inner


def shifted(mask, dx, dy):
    return {(x + dx, y + dy) for x, y in mask}


def luminance(colour):
    r, g, b = colour
    return 0.299 * r + 0.587 * g + 0.114 * b


def embossed(c):
    """The look of a disabled button glyph: the dark outlines in shadow grey over a white copy
    moved one pixel down and right; the body colours drop out."""
    marked = {(x, y) for x, y in c.mask() if luminance(c.px[y][x]) < 100}
    out = Canvas(c.w, c.h)
    out.paint(shifted(marked, 1, 1), (255, 255, 255))
    out.paint(marked, (128, 128, 128))
    return out


def strip(pictures):
    out = Canvas(sum(p.w for p in pictures), max(p.h for p in pictures))
    x = 0
    for p in pictures:
        out.paste(p, x, 0)
        x += p.w
    return out


# ---------------------------------------------------------------------------------------------
# Small parts that several pictures share.

def arrow_right(length, height, shaft):
    """An arrow mask pointing right; an odd height gives a one-pixel tip."""
    mid = height // 2
    head_start = length - mid - 1
    m = set()
    for x in range(head_start, length):
        half = length - 1 - x
        m |= {(x, y) for y in range(mid - half, mid + half + 1)}
    half_shaft = shaft // 2
    m |= rect(0, mid - half_shaft, head_start - 1, mid + half_shaft)
    return m


def arrow_sprite(length, height, shaft, edge, fill, light, up=False):
    """An outlined arrow; an up arrow is turned before it is shaded so its light edge still
    falls on the upper left."""
    m = arrow_right(length, height, shaft)
    if up:
        m = {(y, length - 1 - x) for x, y in m}
        length, height = height, length
    c = Canvas(length, height)
    shape(c, m, edge, fill, light)
    return c


def plus_badge():
    return sprite([
        "..GGGG..",
        "..GhgG..",
        "GGGhgGGG",
        "GhhhggGG",
        "GggggggG",
        "GGGggGGG",
        "..GggG..",
        "..GGGG..",
    ])


def cross_badge():
    return sprite([
        "RR....RR",
        "RrR..RrR",
        ".RrRRrR.",
        "..RrrR..",
        "..RrrR..",
        ".RrRRrR.",
        "RrR..RrR",
        "RR....RR",
    ])


def ribbon():
    c = Canvas(16, 16)
    m = rect(2, 0, 9, 14)
    for y in range(11, 15):
        m -= rect(6 - (y - 11), y, 5 + (y - 11), y)
    shape(c, m, 'B', 'b', 'c')
    return c


def clock(c, cx, cy, r):
    """A blue-rimmed clock face centred on pixel (cx, cy) with its hands at three o'clock."""
    shape(c, disc(cx + 0.5, cy + 0.5, r), 'B', 'b', 'c')
    face = disc(cx + 0.5, cy + 0.5, r - 1.6)
    c.paint(face, 'w')
    inner = int(r - 2)
    for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
        c.set(cx + dx * inner, cy + dy * inner, '3')
    c.paint(line(cx, cy, cx, cy - inner + 1), 'k')
    c.paint(line(cx, cy, cx + inner - 2, cy), 'k')


def pencil():
    """A pencil lying from top right (eraser) to bottom left (point)."""
    return sprite([
        "........kk.",
        ".......kssk",
        "......k22k.",
        ".....kzyk..",
        "....kzyk...",
        "...kzyk....",
        "..kppk.....",
        ".kpk.......",
        "kk.........",
    ])


def folder(c, x0, y0, w, h, tab_w, tab_h):
    """A closed yellow folder with its tab at the top left."""
    back = rect(x0, y0 + tab_h, x0 + w - 1, y0 + h - 1)
    tab = set()
    for j in range(tab_h + 1):
        tab |= rect(x0, y0 + j, x0 + tab_w - 1 + j, y0 + j)
    shape(c, back | tab, 'Y', 'y')
    front = rect(x0, y0 + tab_h + max(1, h // 7), x0 + w - 1, y0 + h - 1)
    shape(c, front, 'Y', 'y', 'z')


# ---------------------------------------------------------------------------------------------
# The 16 x 16 pictures.

def icon_explorer():
    return sprite([
        "................",
        ".kkkkkkkkkkkkkk.",
        ".k111111111111k.",
        ".k1kkkkkkkkkk2k.",
        ".k1kddcccccbk2k.",
        ".k1kdcccccbbk2k.",
        ".k1kcccccbbbk2k.",
        ".k1kccccbbbbk2k.",
        ".k1kcccbbbbbk2k.",
        ".k1kkkkkkkkkk2k.",
        ".k222222222222k.",
        ".kkkkkkkkkkkkkk.",
        "......k33k......",
        "....kkk33kkk....",
        "....k222222k....",
        "....kkkkkkkk....",
    ])


def icon_exit():
    c = Canvas(16, 16)
    shape(c, rect(1, 1, 9, 14), 'O', 'o', 'p')
    c.paint(border(rect(3, 3, 7, 6)), 'O')
    c.set(3, 9, 'z')
    c.paste(arrow_sprite(11, 11, 5, 'G', 'g', 'h'), 5, 3)
    return c


def icon_update():
    c = Canvas(16, 16)
    body = rect(1, 1, 14, 14) - {(14, 1)}
    shape(c, body, 'B', 'b', 'c')
    shape(c, rect(4, 1, 11, 6), 'B', '2', '1')
    c.paint(rect(8, 2, 9, 5), '4')
    shape(c, rect(3, 8, 12, 14), 'B', 'w')
    c.paint(rect(5, 10, 10, 10), '2')
    c.paint(rect(5, 12, 10, 12), '2')
    return c


def icon_add_bookmark():
    c = ribbon()
    c.paste(plus_badge(), 8, 8)
    return c


def icon_remove_bookmark():
    c = ribbon()
    c.paste(cross_badge(), 8, 8)
    return c


def icon_refresh():
    """A ring open at the top right, running clockwise into an arrowhead at the top."""
    c = Canvas(16, 16)
    outer = {1: (5, 10), 2: (3, 12), 3: (2, 13), 4: (2, 13), 11: (2, 13), 12: (2, 13),
             13: (3, 12), 14: (5, 10)}
    hole = {5: (6, 9), 6: (5, 10), 7: (5, 10), 8: (5, 10), 9: (5, 10), 10: (6, 9)}
    ring = set()
    for y in range(1, 15):
        x0, x1 = outer.get(y, (1, 14))
        ring |= rect(x0, y, x1, y)
        if y in hole:
            ring -= rect(hole[y][0], y, hole[y][1], y)
    ring = shifted(ring - rect(8, 0, 15, 7), 0, 1)
    head = set()
    for i in range(5):
        head |= rect(8 + i, i, 8 + i, 8 - i)
    shape(c, ring | head, 'G', 'g', 'h')
    return c


def view_square(c, x, y, size):
    """One item of a view-style pictogram; too small a square has no room for a lit edge."""
    fill = 'c' if size > 3 else 'b'
    shape(c, rect(x, y, x + size - 1, y + size - 1), 'B', fill, 'd' if size > 4 else None)


def icon_large_icons():
    c = Canvas(16, 16)
    for x in (1, 9):
        for y in (1, 9):
            view_square(c, x, y, 6)
    return c


def icon_small_icons():
    c = Canvas(16, 16)
    for x in (1, 6, 11):
        for y in (1, 6, 11):
            view_square(c, x, y, 4)
    return c


def icon_list():
    c = Canvas(16, 16)
    for x in (0, 8):
        for y in (1, 5, 9, 13):
            view_square(c, x, y - 1, 3)
            c.paint(rect(x + 4, y, x + 6, y), 'k')
    return c


def icon_details():
    c = Canvas(16, 16)
    c.paint(rect(0, 0, 15, 2), '2')
    c.paint(rect(0, 2, 15, 2), '3')
    c.paint(rect(9, 0, 9, 1), '3')
    for y in (4, 8, 12):
        view_square(c, 0, y, 3)
        c.paint(rect(4, y + 1, 8, y + 1), 'k')
        c.paint(rect(11, y + 1, 14, y + 1), '4')
    return c


def icon_attributes():
    c = Canvas(16, 16)
    tag = polygon([(0.5, 8), (5.5, 3), (15.5, 3), (15.5, 13), (5.5, 13)])
    shape(c, tag, 'Y', 'y', 'z')
    c.paint(border(rect(4, 7, 6, 9)), 'Y')
    c.set(5, 8, None)
    c.paint(rect(9, 6, 13, 6), 'Y')
    c.paint(rect(9, 8, 13, 8), 'Y')
    c.paint(rect(9, 10, 12, 10), 'Y')
    return c


def icon_columns():
    c = Canvas(16, 16)
    shape(c, rect(1, 1, 14, 14), 'k', 'w')
    c.paint(rect(2, 2, 13, 4), '2')
    c.paint(rect(2, 4, 13, 4), '3')
    c.paint(rect(6, 5, 9, 13), 'd')
    c.paint(rect(6, 2, 9, 3), 'c')
    for x in (5, 10):
        c.paint(rect(x, 2, x, 13), '3')
    return c


def icon_view_type():
    return sprite([
        "................",
        "................",
        "................",
        ".....kkkkkk.....",
        "...kkwwwwwwkk...",
        "..kwwwBBBBwwwk..",
        ".kwwwBccbbBwwwk.",
        "kwwwwBcwkbBwwwwk",
        "kwwwwBbkkbBwwwwk",
        ".kwwwBbbbbBwwwk.",
        "..kwwwBBBBwwwk..",
        "...kkwwwwwwkk...",
        ".....kkkkkk.....",
        "................",
        "................",
        "................",
    ])


def sheet():
    """A page of text with its top-right corner folded over."""
    return sprite([
        "kkkkkk...",
        "kwwwwkk..",
        "kwwwwk1k.",
        "kwwwwkkkk",
        "kw33333wk",
        "kwwwwwwwk",
        "kw33333wk",
        "kwwwwwwwk",
        "kw33333wk",
        "kwwwwwwwk",
        "kw3333wwk",
        "kkkkkkkkk",
    ])


def icon_copy_path():
    c = Canvas(16, 16)
    c.paste(sheet(), 1, 0)
    c.paste(sheet(), 6, 4)
    return c


def icon_edit_params():
    c = Canvas(16, 16)
    clock(c, 6, 6, 6.5)
    c.paste(pencil(), 6, 6)
    return c


def glyph_set_now():
    c = Canvas(16, 16)
    clock(c, 7, 7, 7.4)
    return c


def glyph_clear_time():
    c = Canvas(16, 16)
    clock(c, 6, 6, 6.5)
    c.paste(cross_badge(), 8, 8)
    return c


def glyph_update():
    return sprite([
        "................",
        "................",
        "............GG..",
        "...........GhgG.",
        "..........GhgG..",
        ".........GhgG...",
        "..GG....GhgG....",
        ".GhgG..GhgG.....",
        "..GhgGGhgG......",
        "...GhgggG.......",
        "....GhgG........",
        ".....GG.........",
        "................",
        "................",
        "................",
        "................",
    ])


def glyph_cancel():
    c = Canvas(16, 16)
    big = sprite([
        ".RR......RR.",
        "RrsR....RrsR",
        "RsrrR..RrrrR",
        ".RrrrRRrrrR.",
        "..RrrrrrrR..",
        "...RrrrrR...",
        "...RrrrrR...",
        "..RrrrrrrR..",
        ".RrrrRRrrrR.",
        "RrrrR..RrrrR",
        "RrrR....RrrR",
        ".RR......RR.",
    ])
    c.paste(big, 2, 2)
    return c


def folder_up_16():
    c = Canvas(16, 16)
    folder(c, 0, 1, 16, 14, 6, 2)
    c.paste(arrow_sprite(10, 9, 5, 'B', 'b', 'c', up=True), 4, 4)
    return c


def folder_up_32():
    c = Canvas(32, 32)
    folder(c, 1, 3, 30, 27, 11, 3)
    c.paste(arrow_sprite(19, 17, 7, 'B', 'b', 'c', up=True), 8, 9)
    return c


def magnifier(c, cx, cy, r, handle, thickness):
    """A lens centred at pixel edge (cx, cy) with its handle towards the bottom right."""
    grip = set()
    for y in range(c.h):
        for x in range(c.w):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            along, across = (dx + dy) / math.sqrt(2), (dx - dy) / math.sqrt(2)
            if r - 1 <= along <= r + handle and abs(across) <= thickness / 2:
                grip.add((x, y))
    shape(c, grip, 'k', '4', '3')
    shape(c, disc(cx, cy, r), 'k', 'd')
    glass = disc(cx, cy, r - 1.5)
    c.paint(glass, 'c')
    c.paint({(x, y) for x, y in glass if x + y < cx + cy - r * 0.6}, 'd')


def program_icon_16():
    c = Canvas(16, 16)
    folder(c, 0, 1, 14, 12, 5, 2)
    magnifier(c, 10.0, 10.0, 3.8, 3.6, 2.9)
    return c


def program_icon_32():
    c = Canvas(32, 32)
    folder(c, 0, 2, 28, 24, 10, 3)
    magnifier(c, 20.0, 20.0, 7.4, 7.2, 4.4)
    return c


# ---------------------------------------------------------------------------------------------
# The 32 x 32 pictures of the about box (transparent colour = the bottom-left pixel).

def about_web():
    """A globe: blue sea with a grid of latitude and longitude lines, green land."""
    c = Canvas(32, 32)
    cx = cy = 16.0
    sphere = disc(cx, cy, 14.6)
    shape(c, sphere, 'B', 'b')
    sea = sphere - border(sphere)
    for x, y in sea:
        dx, dy = x + 0.5 - cx, y + 0.5 - cy
        if math.hypot(x + 0.5 - 10.5, y + 0.5 - 9.5) < 4.2:
            c.set(x, y, 'c')
        elif dx + dy > 14:
            c.set(x, y, 'B')
        grid = (abs(dy) <= 0.5 or abs(dx) <= 0.5 or abs(abs(dy) - 7.5) <= 0.5
                or abs((dx / 8.0) ** 2 + (dy / 14.6) ** 2 - 1) < 0.13)
        if grid:
            c.set(x, y, 'd')
    land = (ellipse(10.5, 10, 5, 3.6) | ellipse(7.5, 13, 2.6, 3.2)
            | polygon([(10.5, 17), (16, 18.5), (14.5, 23), (12.5, 28.5), (10.5, 21)])
            | ellipse(22, 8.5, 3.4, 2.2)
            | polygon([(18.5, 12), (27, 12), (26.5, 18), (22.5, 26), (20, 19), (18, 16)]))
    land &= sea
    shape(c, land | {(x, y) for x, y in border(land) if (x, y) in border(sphere)}, 'G', 'g', 'h')
    c.paint(border(sphere), 'B')
    return c


def envelope(c, x0, y0, x1, y1):
    """A white envelope seen from the back, its flap drawn as two lines meeting below the
    middle."""
    shape(c, rect(x0, y0, x1, y1), 'k', 'w', None, '1')
    mx = (x0 + x1) // 2
    my = y0 + (y1 - y0) * 3 // 5
    c.paint(line(x0 + 1, y0 + 1, mx, my), '3')
    c.paint(line(x1 - 1, y0 + 1, mx + 1, my), '3')


def about_mail():
    c = Canvas(32, 32)
    envelope(c, 1, 5, 30, 26)
    c.paint(disc(16, 17, 7.2), 'w')
    at = sprite([
        "...BBBBBB...",
        ".BBbbbbbbBB.",
        ".Bb......bB.",
        "Bb..BBBB..bB",
        "Bb.Bb..Bb.bB",
        "Bb.Bb..Bb.bB",
        "Bb.Bb..Bb.bB",
        "Bb..BBBBBBB.",
        "Bb..........",
        ".Bb.........",
        ".BBbbbbbbB..",
        "...BBBBBB...",
    ])
    c.paste(at, 10, 11)
    return c


def about_post():
    """A stamped letter with its address written on the front."""
    c = Canvas(32, 32)
    shape(c, rect(1, 5, 30, 26), 'k', 'w', None, '1')
    stamp = rect(22, 8, 28, 15)
    c.paint(stamp, 'w')
    for x, y in border(stamp):
        c.set(x, y, 'R' if (x + y) % 2 == 0 else 'w')
    c.paint(rect(23, 9, 27, 14), 'r')
    c.paint(rect(24, 10, 26, 11), 's')
    c.paint(rect(24, 12, 26, 13), 'z')
    for x in range(15, 24):
        y = 10 + (1 if (x // 2) % 2 else 0)
        if (x, y) not in stamp or x < 22:
            c.set(x, y, '3')
        c.set(x, y + 3, '3')
    for x, y, w in ((4, 8, 6), (4, 10, 4)):
        c.paint(rect(x, y, x + w - 1, y), '2')
    for x, y, w in ((9, 17, 14), (9, 20, 12), (9, 23, 9)):
        c.paint(rect(x, y, x + w - 1, y), 'B')
    return c


# ---------------------------------------------------------------------------------------------
# Header sort arrows: 16 colours, light grey ground, embossed outlined triangle.

def sort_arrow(down):
    ground, dark, white = (192, 192, 192), (128, 128, 128), (255, 255, 255)
    c = Canvas(16, 16)
    c.paint(rect(0, 0, 15, 15), ground)
    # Triangle 8 wide (columns 4..11) and 7 high (rows 4..10); its sides step in by one
    # pixel every two rows, meeting in two pixels at the point.
    for i in range(7):
        left, right = 4 + (i + 1) // 2, 11 - (i + 1) // 2
        row = 4 + i if down else 10 - i
        if i == 0:
            c.paint(rect(4, row, 11, row), dark if down else white)
            if not down:
                c.set(4, row, white)
            continue
        c.set(left, row, dark)
        c.set(right, row, white)
    return c


# ---------------------------------------------------------------------------------------------
# File writers.

def bmp_rows(c, background):
    for y in reversed(range(c.h)):
        yield [c.px[y][x] if c.px[y][x] is not None else background for x in range(c.w)]


def write_bmp24(name, c, background=MAGENTA):
    stride = (c.w * 3 + 3) & ~3
    data = bytearray()
    for row in bmp_rows(c, background):
        line_bytes = bytearray()
        for r, g, b in row:
            line_bytes += bytes((b, g, r))
        data += line_bytes + bytes(stride - len(line_bytes))
    save_bmp(name, c, 24, b'', data)


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def write_bmp4(name, c):
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    stride = ((c.w + 1) // 2 + 3) & ~3
    data = bytearray()
    for row in bmp_rows(c, VGA16[7]):
        idx = [VGA16.index(p) for p in row] + [0]
        line_bytes = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, c.w, 2))
        data += line_bytes + bytes(stride - len(line_bytes))
    save_bmp(name, c, 4, palette, data)


def save_bmp(name, c, bits, palette, data):
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    with open(os.path.join(OUT_DIR, name), 'wb') as f:
        f.write(head + info + palette + data)


def ico_image(c):
    """One 32-bit icon image: BGRA colour rows with alpha, then the 1-bit AND mask."""
    colour = bytearray()
    for row in bmp_rows(c, None):
        for p in row:
            colour += bytes((p[2], p[1], p[0], 255)) if p else bytes(4)
    mask_stride = ((c.w + 31) // 32) * 4
    mask = bytearray()
    for row in bmp_rows(c, None):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0, len(colour) + len(mask),
                       0, 0, 0, 0)
    return info + colour + mask


def write_ico(name, images):
    blobs = [ico_image(c) for c in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(os.path.join(OUT_DIR, name), 'wb') as f:
        f.write(out)


def check_keyed(c, cell):
    """Every cell must leave its bottom-left pixel empty (the menus and the about box take that
    pixel's colour as transparent) and never use the key colour itself."""
    for x0 in range(0, c.w, cell):
        assert c.px[c.h - 1][x0] is None, 'bottom-left pixel of cell at %d is painted' % x0
    assert all(p != MAGENTA for row in c.px for p in row)


def check_sort_arrow(c, down):
    ground, dark, white = (192, 192, 192), (128, 128, 128), (255, 255, 255)
    drawn = {(x, y) for x, y in c.mask() if c.px[y][x] != ground}
    assert {x for x, _ in drawn} == set(range(4, 12))
    assert {y for _, y in drawn} == set(range(4, 11))
    assert {c.px[y][x] for x, y in drawn} == {dark, white}
    base = 4 if down else 10
    assert all(c.px[base][x] == (dark if down else white) for x in range(4, 12))


def main():
    menu = [icon_explorer(), icon_exit(), icon_update(), icon_add_bookmark(),
            icon_remove_bookmark(), icon_refresh(), icon_large_icons(), icon_small_icons(),
            icon_list(), icon_details(), icon_attributes(), icon_columns(), icon_view_type(),
            icon_copy_path(), icon_edit_params()]
    add, remove = menu[3], menu[4]
    keyed = {
        'MenuIcons.bmp': (strip(menu), 16),
        'BookmarkGlyphs.bmp': (strip([add, embossed(add), remove, embossed(remove)]), 16),
        'ToolbarGlyphs.bmp': (strip(menu[5:10]), 16),
        'EditorGlyphs.bmp': (strip([glyph_set_now(), glyph_clear_time(), glyph_update(), glyph_cancel()]), 16),
        'AboutWeb.bmp': (about_web(), 32),
        'AboutMail.bmp': (about_mail(), 32),
        'AboutPost.bmp': (about_post(), 32),
    }
    expected_widths = {'MenuIcons.bmp': 240, 'BookmarkGlyphs.bmp': 64, 'ToolbarGlyphs.bmp': 80,
                       'EditorGlyphs.bmp': 64}
    for name, (picture, cell) in keyed.items():
        assert picture.w == expected_widths.get(name, 32) and picture.h == cell, name
        check_keyed(picture, cell)
        write_bmp24(name, picture)
    for name, down in (('DownBitmap.bmp', True), ('UpBitmap.bmp', False)):
        arrow = sort_arrow(down)
        check_sort_arrow(arrow, down)
        write_bmp4(name, arrow)
    write_ico('Pathwick.ico', [program_icon_16(), program_icon_32()])
    write_ico('FolderUp.ico', [folder_up_16(), folder_up_32()])


if __name__ == '__main__':
    main()
