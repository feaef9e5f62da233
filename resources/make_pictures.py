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


def rotated_ccw(c):
    """The canvas turned a quarter to the left (a right arrow becomes an up arrow)."""
    r = Canvas(c.h, c.w)
    for y in range(c.h):
        for x in range(c.w):
            r.px[c.w - 1 - x][y] = c.px[y][x]
    return r


def flipped(c):
    r = Canvas(c.w, c.h)
    for y in range(c.h):
        r.px[y] = list(reversed(c.px[y]))
    return r


def luminance(colour):
    r, g, b = colour
    return 0.299 * r + 0.587 * g + 0.114 * b


def embossed(c):
    """The look of a disabled button glyph: the darker half of the picture in shadow grey over a
    white copy moved one pixel down and right."""
    marked = {(x, y) for x, y in c.mask() if luminance(c.px[y][x]) < 170}
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
    """A green-style arrow mask pointing right; height odd so the tip is one pixel."""
    mid = height // 2
    head_start = length - mid - 1
    m = set()
    for x in range(head_start, length):
        half = length - 1 - x
        m |= {(x, y) for y in range(mid - half, mid + half + 1)}
    half_shaft = shaft // 2
    m |= rect(0, mid - half_shaft, head_start - 1, mid + half_shaft)
    return m


def arrow_sprite(length, height, shaft, edge, fill, light):
    c = Canvas(length, height)
    shape(c, arrow_right(length, height, shaft), edge, fill, light)
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
        "RRR..RRR",
        "RssRRssR",
        "RRrssrRR",
        ".RRrrRR.",
        ".RRrrRR.",
        "RRrRRrRR",
        "RrrRRrrR",
        "RRR..RRR",
    ])


def ribbon():
    c = Canvas(16, 16)
    m = rect(2, 0, 9, 14)
    for y in range(12, 15):
        m -= rect(6 - (y - 12), y, 5 + (y - 12), y)
    shape(c, m, 'B', 'b', 'c')
    # a fold shadow across the top hints at the ribbon hanging over a page
    c.paint(rect(3, 2, 8, 2), 'B')
    return c


def clock(c, cx, cy, r):
    """A blue-rimmed clock face centred on pixel (cx, cy) with hands at ten past twelve."""
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
    c = Canvas(10, 10)
    for y in range(10):
        for x in range(10):
            across = x + y          # constant along the pencil
            along = y - x           # -9 at the eraser end, +9 at the point
            if not 8 <= across <= 11 or along < -7 or along > 7:
                continue
            edge = across in (8, 11)
            if along >= 4:
                # the sharpened wood narrows to a graphite point
                if along >= 6:
                    colour = 'k'
                elif edge:
                    colour = 'O'
                else:
                    colour = 'p'
                if along >= 6 and across not in (9, 10):
                    continue
                if along == 7 and across != 9 and across != 10:
                    continue
            elif along <= -5:
                colour = 'R' if edge or along == -7 else 's'
            elif along == -4:
                colour = '4' if edge else '2'
            else:
                colour = 'Y' if edge else ('z' if across == 9 else 'y')
            c.set(x, y, colour)
    return c


def folder(c, x0, y0, w, h, tab_w, tab_h):
    """A closed yellow folder with its tab at the top left."""
    back = rect(x0, y0 + tab_h, x0 + w - 1, y0 + h - 1)
    tab = rect(x0, y0, x0 + tab_w - 1, y0 + tab_h)
    tab |= {(x0 + tab_w + i, y0 + 1 + i) for i in range(tab_h)}
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
    c.paint(rect(3, 3, 7, 6), 'p')
    c.paint(border(rect(3, 3, 7, 6)), 'O')
    c.set(3, 9, 'z')
    c.paste(arrow_sprite(10, 9, 3, 'G', 'g', 'h'), 6, 4)
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
    c = Canvas(16, 16)
    cx, cy = 8.0, 8.5
    m = set()
    for y in range(16):
        for x in range(16):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            a = math.degrees(math.atan2(dy, dx))
            if 3.3 <= d <= 6.9 and not -90 <= a <= -25:
                m.add((x, y))
    m |= polygon([(7.5, -0.2), (12.6, 3.5), (7.5, 7.2)])
    shape(c, m, 'G', 'g', 'h')
    return c


def view_square(c, x, y, size):
    shape(c, rect(x, y, x + size - 1, y + size - 1), 'B', 'c' if size > 3 else 'b', 'd')


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
        "................",
        ".....kkkkkk.....",
        "...kkwwBBwwkk...",
        "..kwwwBccBwwwk..",
        ".kwwwBbwkbBwwwk.",
        ".kwwwBbkkbBwwwk.",
        "..kwwwBbbBwwwk..",
        "...kkwwBBwwkk...",
        ".....kkkkkk.....",
        "................",
        "................",
        "................",
        "................",
    ])


def sheet(c, x0, y0, x1, y1):
    m = rect(x0, y0, x1, y1) - rect(x1 - 2, y0, x1, y0 + 2) | {(x1 - 2, y0 + 2), (x1 - 2, y0)}
    shape(c, m, 'k', 'w')
    c.paint({(x1 - 2, y0 + 1), (x1 - 1, y0 + 2)}, 'k')
    c.set(x1 - 2, y0 + 2, 'k')
    c.paint(line(x1 - 2, y0, x1, y0 + 2), 'k')
    for y in range(y0 + 4, y1 - 1, 2):
        c.paint(rect(x0 + 2, y, x1 - 2, y), '3')


def icon_copy_path():
    c = Canvas(16, 16)
    sheet(c, 1, 0, 9, 11)
    sheet(c, 6, 4, 14, 15)
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


def folder_up_16():
    c = Canvas(16, 16)
    folder(c, 0, 1, 16, 14, 6, 2)
    c.paste(rotated_ccw(arrow_sprite(9, 9, 3, 'B', 'b', 'c')), 4, 5)
    return c


def folder_up_32():
    c = Canvas(32, 32)
    folder(c, 1, 3, 30, 27, 11, 3)
    c.paste(rotated_ccw(arrow_sprite(19, 17, 7, 'B', 'b', 'c')), 8, 9)
    return c


def magnifier(c, cx, cy, r, handle):
    """A lens centred at pixel edge (cx, cy) with its handle towards the bottom right."""
    reach = r * 0.7
    for i in range(handle):
        x = int(cx + reach) + i
        y = int(cy + reach) + i
        shape(c, rect(x, y, x + 2, y + 2) - {(x, y + 2), (x + 2, y)}, 'k', '4')
    shape(c, disc(cx, cy, r), 'k', 'd')
    glass = disc(cx, cy, r - 1.5)
    c.paint(glass, 'c')
    c.paint({(x, y) for x, y in glass if x + y < cx + cy - r * 0.6}, 'd')


def program_icon_16():
    c = Canvas(16, 16)
    folder(c, 0, 1, 14, 12, 5, 2)
    magnifier(c, 10.5, 10.5, 3.6, 3)
    return c


def program_icon_32():
    c = Canvas(32, 32)
    folder(c, 0, 2, 28, 24, 10, 3)
    magnifier(c, 20.5, 20.5, 7.2, 6)
    return c


# ---------------------------------------------------------------------------------------------
# The 32 x 32 pictures of the about box (transparent colour = the bottom-left pixel).

def about_web():
    c = Canvas(32, 32)
    cx = cy = 16.0
    sphere = disc(cx, cy, 14.6)
    shape(c, sphere, 'B', 'b')
    land = (ellipse(11, 11, 5.5, 4.2) | ellipse(9, 16, 3, 5) | ellipse(21, 18, 4.5, 6.5)
            | ellipse(22, 9, 3.5, 2.2) | ellipse(14, 25, 3, 1.8))
    inner = sphere - border(sphere)
    c.paint(land & inner, 'g')
    c.paint({(x, y) for x, y in land & inner if (x + 1, y + 1) not in land}, 'G')
    # a soft light on the upper left of the sphere
    for x, y in inner:
        if math.hypot(x + 0.5 - 10, y + 0.5 - 9) < 4.5:
            c.set(x, y, 'h' if (x, y) in land else 'c')
    # meridian and equator lines
    for x, y in inner:
        dx, dy = x + 0.5 - cx, y + 0.5 - cy
        on_equator = abs(dy) < 0.5
        on_meridian = abs(dx) < 0.5
        on_ellipse = abs((dx / 7.0) ** 2 + (dy / 14.6) ** 2 - 1) < 0.12
        if on_equator or on_meridian or on_ellipse:
            c.set(x, y, 'd' if (x, y) not in land else 'h')
    return c


def envelope(c, x0, y0, x1, y1):
    shape(c, rect(x0, y0, x1, y1), 'k', 'w', None, '1')
    mx = (x0 + x1) // 2
    my = y0 + (y1 - y0) * 3 // 5
    c.paint(line(x0 + 1, y0 + 1, mx, my), '3')
    c.paint(line(x1 - 1, y0 + 1, mx + 1, my), '3')


def about_mail():
    c = Canvas(32, 32)
    envelope(c, 1, 5, 30, 26)
    at = sprite([
        "...BBBBBB...",
        ".BBbbbbbbBB.",
        ".Bbb....bbB.",
        "Bbb......bbB",
        "Bb..BBBB..bB",
        "Bb.Bbbbb..bB",
        "Bb.Bb.Bb..bB",
        "Bb.Bbbbbbbb.",
        "Bb..BBBBBB..",
        "Bbb.........",
        ".Bbb....BB..",
        "..BBBBBBB...",
    ])
    c.paste(at, 13, 15)
    return c


def about_post():
    c = Canvas(32, 32)
    envelope_front = rect(1, 5, 30, 26)
    shape(c, envelope_front, 'k', 'w', None, '1')
    stamp = rect(22, 8, 28, 15)
    c.paint(stamp, 'w')
    for x, y in border(stamp):
        c.set(x, y, 'R' if (x + y) % 2 == 0 else 'w')
    c.paint(rect(23, 9, 27, 14), 'r')
    c.paint(rect(24, 10, 26, 11), 's')
    c.paint(rect(24, 12, 26, 13), 'z')
    for x, y, w in ((8, 15, 14), (8, 18, 12), (8, 21, 9)):
        c.paint(rect(x, y, x + w - 1, y), '4')
    for x in range(4, 14, 3):
        c.paint(rect(x, 9, x + 1, 9), 'b')
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


def main():
    menu = [icon_explorer(), icon_exit(), icon_update(), icon_add_bookmark(),
            icon_remove_bookmark(), icon_refresh(), icon_large_icons(), icon_small_icons(),
            icon_list(), icon_details(), icon_attributes(), icon_columns(), icon_view_type(),
            icon_copy_path(), icon_edit_params()]
    assert len(menu) == 15
    write_bmp24('MenuIcons.bmp', strip(menu))
    add, remove = menu[3], menu[4]
    write_bmp24('BookmarkGlyphs.bmp', strip([add, embossed(add), remove, embossed(remove)]))
    write_bmp24('ToolbarGlyphs.bmp', strip(menu[5:10]))
    write_bmp24('EditorGlyphs.bmp', strip([glyph_set_now(), glyph_clear_time()]))
    write_bmp24('AboutWeb.bmp', about_web())
    write_bmp24('AboutMail.bmp', about_mail())
    write_bmp24('AboutPost.bmp', about_post())
    write_bmp4('DownBitmap.bmp', sort_arrow(True))
    write_bmp4('UpBitmap.bmp', sort_arrow(False))
    write_ico('Pathwick.ico', [program_icon_16(), program_icon_32()])
    write_ico('FolderUp.ico', [folder_up_16(), folder_up_32()])


if __name__ == '__main__':
    main()
