#!/usr/bin/env python3
"""Draws every picture of Pathwick pixel by pixel and writes them next to this script.

Every picture comes in the sizes the program picks from at 100%, 150% and 200% display scaling:
the 16-pixel glyphs also at 24 and 32 pixels, the 32-pixel about pictures also at 48 and 64, the
icons at 16, 24, 32 and 48. The larger sizes are drawn at their size, never stretched: shapes
grow, outlines stay one pixel wide and small details get room.

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


def border(mask, corners=False):
    """The pixels of the mask with a 4-neighbour outside it: a 1-pixel outline. With corners,
    pixels that touch the outside only diagonally belong to it too, so inside corners stay
    square."""
    near = [(-1, 0), (1, 0), (0, -1), (0, 1)]
    if corners:
        near += [(-1, -1), (1, -1), (-1, 1), (1, 1)]
    return {(x, y) for x, y in mask if any((x + dx, y + dy) not in mask for dx, dy in near)}


def shape(canvas, mask, edge, fill, light=None, dark=None, corners=False):
    """Paints a filled mask with a 1-pixel outline; the inside edge next to the outline above and
    to the left gets the light tone, the one below and to the right the dark tone."""
    edges = border(mask, corners)
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


def capsule(ax, ay, bx, by, r):
    """Pixels whose centre lies within r of the segment from (ax, ay) to (bx, by)."""
    lx, ly = bx - ax, by - ay
    out = set()
    for y in range(int(min(ay, by) - r) - 1, int(max(ay, by) + r) + 2):
        for x in range(int(min(ax, bx) - r) - 1, int(max(ax, bx) + r) + 2):
            px, py = x + 0.5 - ax, y + 0.5 - ay
            t = max(0.0, min(1.0, (px * lx + py * ly) / (lx * lx + ly * ly)))
            if math.hypot(px - t * lx, py - t * ly) <= r:
                out.add((x, y))
    return out


def diagonal(u0, u1, v0, v1):
    """A bar at 45 degrees: the pixels with x + y in u0..u1 and x - y in v0..v1."""
    return {((u + v) // 2, (u - v) // 2)
            for u in range(u0, u1 + 1) for v in range(v0, v1 + 1) if (u + v) % 2 == 0}


class Grid:
    """Places on a picture's design grid (16 pixels for the glyphs, 32 for the about pictures)
    taken to the size being drawn. Halves round towards the middle of the picture, so what sits
    symmetrically on the design grid stays symmetric at one and a half times the size."""

    def __init__(self, size, design=16):
        self.k = size / design
        self.mid = size / 2

    def __call__(self, v):
        d = v * self.k - self.mid
        return int(self.mid + math.copysign(math.ceil(abs(d) - 0.5), d))

    def box(self, x0, y0, x1, y1):
        """The first and last pixels that design pixels x0..x1, y0..y1 cover."""
        return self(x0), self(y0), self(x1 + 1) - 1, self(y1 + 1) - 1

    def rect(self, x0, y0, x1, y1):
        return rect(*self.box(x0, y0, x1, y1))

    def span(self, n):
        """A length of n design pixels, halves rounded up."""
        return int(n * self.k + 0.5)


def odd(v):
    """An odd number of pixels next to v, so that an arrow or a stroke has a middle row."""
    return int(v) | 1


# ---------------------------------------------------------------------------------------------
# Small parts that several pictures share. Sizes are in pixels of the picture being drawn.

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


def plus_badge(n):
    """A green plus, n pixels square, for the lower right quarter of a glyph."""
    if n == 8:  # hand-set at the smallest size
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
    c = Canvas(n, n)
    a = n // 4
    shape(c, rect(a, 0, n - 1 - a, n - 1) | rect(0, a, n - 1, n - 1 - a), 'G', 'g', 'h',
          corners=True)
    return c


def x_mark(n, inset, half):
    """Two strokes from corner to corner of an n-pixel square with round ends inset from the
    corners; a row crosses each stroke in 2 * half + 1 pixels."""
    r = (half + 0.5) / math.sqrt(2)
    far = n - inset
    strokes = capsule(inset, inset, far, far, r) | capsule(far, inset, inset, far, r)
    return strokes & rect(0, 0, n - 1, n - 1)


def cross_badge(n):
    """A red cross, n pixels square, for the lower right quarter of a glyph."""
    c = Canvas(n, n)
    shape(c, x_mark(n, n / 16, n // 4 - 1), 'R', 'r', 's' if n > 8 else None)
    return c


def ribbon(s):
    """A bookmark ribbon with a notch cut into its lower end."""
    g = Grid(s)
    c = Canvas(s, s)
    notch_x, notch_top = g(6), 11.5 * g.k
    m = {(x, y) for x, y in g.rect(2, 0, 9, 14) if abs(x + 0.5 - notch_x) >= y + 0.5 - notch_top}
    shape(c, m, 'B', 'b', 'c')
    return c


def clock(c, cx, cy, r, k=1):
    """A blue-rimmed clock face centred on pixel (cx, cy) with its hands at three o'clock; k is
    the drawing's scale, which widens the rim and lengthens the marks and hands."""
    if r % 1 < 0.3:
        # Just past a whole number the rim grows a nub of one to three pixels at each end of
        # its axes; a tenth short of that number it stays round.
        r = math.floor(r) - 0.1
    shape(c, disc(cx + 0.5, cy + 0.5, r), 'B', 'b', 'c')
    c.paint(disc(cx + 0.5, cy + 0.5, r - 1.6 * k), 'w')
    inner = int(r - 2 * k)
    mark = int(k)
    for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
        c.paint(line(cx + dx * inner, cy + dy * inner,
                     cx + dx * (inner - mark + 1), cy + dy * (inner - mark + 1)), '3')
    c.paint(line(cx, cy, cx, cy - inner + mark), 'k')
    c.paint(line(cx, cy, cx + inner - 2 * mark, cy), 'k')


def pencil(s):
    """A pencil lying from its eraser at the top right to its point at the bottom left, for the
    lower right part of an s-pixel glyph."""
    if s == 16:  # hand-set at the smallest size
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
    n = s * 9 // 16
    width = s // 4                           # diagonals across the pencil, outline included
    u0 = n - 1 - width // 2                  # its first diagonal x + y
    middle = u0 + (width - 1) / 2
    tip, end = 1 - n, n - 1 - width // 2     # where it starts and ends along x - y
    length = end - tip
    cone = 0.3 * length                      # the sharpened part
    body = {(x, y) for x, y in diagonal(u0, u0 + width - 1, tip, end)
            if abs(x + y - middle) <= width / 2 * (x - y - tip) / cone + 0.5}
    c = Canvas(n, n)
    shape(c, body, 'k', 'y')
    # From the point up: lead, sharpened wood, painted wood, metal band and eraser, each with
    # its fill and the tone of its lit edge.
    parts = ((0.12, 'k', 'k'), (0.3, 'p', 'p'), (0.68, 'y', 'z'), (0.84, '2', '1'), (1, 's', 's'))
    for x, y in body - border(body):
        along = (x - y - tip) / length
        fill, light = next((fill, light) for upto, fill, light in parts if along <= upto)
        c.set(x, y, light if x + y == u0 + 1 else fill)
    return c


def folder(c, x0, y0, w, h, tab_w, tab_h):
    """A closed yellow folder with its tab at the top left."""
    back = rect(x0, y0 + tab_h, x0 + w - 1, y0 + h - 1)
    tab = set()
    for j in range(tab_h + 1):
        tab |= rect(x0, y0 + j, x0 + tab_w - 1 + j, y0 + j)
    shape(c, back | tab, 'Y', 'y')
    front = rect(x0, y0 + tab_h + max(1, h // 7), x0 + w - 1, y0 + h - 1)
    shape(c, front, 'Y', 'y', 'z')


def sheet(w, h, fold, margin):
    """A page of text, w by h pixels, with its top-right corner folded over."""
    c = Canvas(w, h)
    page = {(x, y) for x, y in rect(0, 0, w - 1, h - 1) if x - y < w - fold}
    shape(c, page, 'k', 'w')
    crease = w - 1 - fold
    c.paint({(x, y) for x, y in page - border(page) if x > crease and y < fold}, '1')
    c.paint(rect(crease, 0, crease, fold) | rect(crease, fold, w - 1, fold), 'k')
    rows = range(fold + 1, h - 1, 2)
    for y in rows:
        c.paint(rect(margin, y, w - 1 - margin - (y == rows[-1]), y), '3')
    return c


def view_square(c, x, y, size):
    """One item of a view-style pictogram; too small a square has no room for a lit edge."""
    fill = 'c' if size > 3 else 'b'
    shape(c, rect(x, y, x + size - 1, y + size - 1), 'B', fill, 'd' if size > 4 else None)


# ---------------------------------------------------------------------------------------------
# The glyphs of the menus, the toolbar and the editor, drawn at s = 16, 24 or 32 pixels.

def icon_explorer(s):
    """A monitor on a stand; its screen shades from light at the top left to dark at the bottom
    right."""
    c = Canvas(s, s)
    m = s // 16                              # margin and bezel width
    right, bottom = s - 1 - m, s * 3 // 4 - 1
    c.paint(border(rect(m, m, right, bottom)), 'k')
    c.paint(rect(m + 1, m + 1, right - 1, bottom - 1), '2')
    c.paint(rect(m + 1, m + 1, right - 1, 2 * m) | rect(m + 1, m + 1, 2 * m, bottom - 1 - m), '1')
    screen = rect(2 * m + 1, 2 * m + 1, right - 1 - m, bottom - 1 - m)
    c.paint(border(screen), 'k')
    glass = screen - border(screen)
    x0, y0 = min(glass)
    span = max(x + y for x, y in glass) - x0 - y0
    for x, y in glass:
        t = 11 * (x - x0 + y - y0)
        c.set(x, y, 'd' if t <= span else 'b' if t >= 7 * span else 'c')
    base = s - 3 - (s - 16) // 8
    shape(c, rect(s // 4, base, s - 1 - s // 4, s - 1), 'k', '2')
    neck0, neck1 = s // 2 - s // 8, s // 2 + s // 8 - 1
    c.paint(rect(neck0, bottom + 1, neck1, base), 'k')
    c.paint(rect(neck0 + 1, bottom + 1, neck1 - 1, base), '3')
    return c


def icon_exit(s):
    """A door with a green arrow leaving through it."""
    g = Grid(s)
    c = Canvas(s, s)
    shape(c, g.rect(1, 1, 9, 14), 'O', 'o', 'p')
    c.paint(border(g.rect(3, 3, 7, 6)), 'O')
    knob = s // 16
    c.paint(rect(g(3), g(9), g(3) + knob - 1, g(9) + knob - 1), 'z')
    c.paste(arrow_sprite(s - g(5), odd(11 * g.k - 1), odd(5 * g.k - 1), 'G', 'g', 'h'), g(5), g(3))
    return c


def icon_update(s):
    """A floppy disk."""
    g = Grid(s)
    c = Canvas(s, s)
    x0, y0, x1, y1 = g.box(1, 1, 14, 14)
    cut = s // 16                            # the bevelled top right corner
    shape(c, {(x, y) for x, y in rect(x0, y0, x1, y1) if x - y <= x1 - y0 - cut}, 'B', 'b', 'c')
    shape(c, g.rect(4, 1, 11, 6), 'B', '2', '1')
    c.paint(g.rect(8, 2, 9, 5), '4')
    shape(c, g.rect(3, 8, 12, 14), 'B', 'w')
    for y in (10, 12):
        c.paint(rect(g(5), g(y), g(11) - 1, g(y) + s // 16 - 1), '2')
    return c


def icon_add_bookmark(s):
    c = ribbon(s)
    c.paste(plus_badge(s // 2), s // 2, s // 2)
    return c


def icon_remove_bookmark(s):
    c = ribbon(s)
    c.paste(cross_badge(s // 2), s // 2, s // 2)
    return c


def icon_refresh(s):
    """A ring open at the top right, running clockwise into an arrowhead at the top."""
    k = s / 16
    c = Canvas(s, s)
    cx, cy = 8 * k, 9 * k
    ring = disc(cx, cy, 7.2 * k) - disc(cx, cy, 3.2 * k)
    ring = {(x, y) for x, y in ring if x < cx or y >= cy}
    mid = int(cy - 5.2 * k + 0.5)           # the row through the middle of the ring's top
    head = set()
    for i in range(mid + 1):
        head |= rect(int(cx) + i, i, int(cx) + i, 2 * mid - i)
    shape(c, ring | head, 'G', 'g', 'h')
    return c


def icon_large_icons(s):
    g = Grid(s)
    c = Canvas(s, s)
    for x in (1, 9):
        for y in (1, 9):
            view_square(c, g(x), g(y), g(x + 6) - g(x))
    return c


def icon_small_icons(s):
    g = Grid(s)
    c = Canvas(s, s)
    for x in (1, 6, 11):
        for y in (1, 6, 11):
            view_square(c, g(x), g(y), g(x + 4) - g(x))
    return c


def icon_list(s):
    c = Canvas(s, s)
    step = s // 4
    for x in (0, s // 2):
        for y in range(0, s, step):
            view_square(c, x, y, step - 1)
            c.paint(rect(x + step, y + step // 2 - 1, x + 2 * step - 2, y + step // 2 - 1), 'k')
    return c


def icon_details(s):
    g = Grid(s)
    c = Canvas(s, s)
    step = s // 4
    split = g(9)
    c.paint(rect(0, 0, s - 1, step - 2), '2')
    c.paint(rect(0, step - 2, s - 1, step - 2) | rect(split, 0, split, step - 3), '3')
    for y in range(step, s, step):
        view_square(c, 0, y, step - 1)
        c.paint(rect(step, y + step // 2 - 1, split - 1, y + step // 2 - 1), 'k')
        c.paint(rect(split + 2, y + step // 2 - 1, s - 2, y + step // 2 - 1), '4')
    return c


def icon_attributes(s):
    """A price tag with a punched hole and three lines of writing."""
    g = Grid(s)
    c = Canvas(s, s)
    tip, mid, half, right = s // 16 - 0.5, s // 2, s // 2 - g(3), s - s // 16
    shoulder = tip + half
    tag = polygon([(tip, mid), (shoulder, mid - half), (right, mid - half), (right, mid + half),
                   (shoulder, mid + half)])
    shape(c, tag, 'Y', 'y', 'z')
    hole = disc(shoulder, mid + 0.5, 1.6 * g.k)
    c.paint(border(hole), 'Y')
    for x, y in hole - border(hole):
        c.set(x, y, None)
    for y, end in ((6, 14), (8, 14), (10, 13)):
        c.paint(rect(g(9), g(y), g(end) - 1, g(y)), 'Y')
    return c


def icon_columns(s):
    """A table whose middle column is highlighted."""
    g = Grid(s)
    c = Canvas(s, s)
    m = s // 16
    shape(c, rect(m, m, s - 1 - m, s - 1 - m), 'k', 'w')
    top, bottom = m + 1, s - 2 - m
    rule = top + g.span(3) - 1               # the line under the column headers
    left, right = g(5), s - 1 - g(5)
    c.paint(rect(top, top, bottom, rule - 1), '2')
    c.paint(rect(top, rule, bottom, rule), '3')
    c.paint(rect(left + 1, rule + 1, right - 1, bottom), 'd')
    c.paint(rect(left + 1, top, right - 1, rule - 1), 'c')
    for x in (left, right):
        c.paint(rect(x, top, x, bottom), '3')
    return c


def icon_view_type(s):
    """An open eye."""
    k = s / 16
    c = Canvas(s, s)
    mid = s / 2
    lids = disc(mid, mid - 3.6 * k, 8.6 * k) & disc(mid, mid + 3.6 * k, 8.6 * k)
    shape(c, lids, 'k', 'w')
    iris = disc(mid, mid, {16: 3, 24: 4.2, 32: 6}[s])  # 4.5 would square it off at 24
    inner = shape(c, iris, 'B', 'b')
    c.paint({(x, y) for x, y in inner if x + y + 1 - 2 * mid <= -2 * k}, 'c')
    c.paint(disc(mid, mid, 1.2 * k), 'k')
    c.paint(disc(mid - k / 2, mid - k / 2, k / 2), 'w')
    return c


def icon_copy_path(s):
    g = Grid(s)
    c = Canvas(s, s)
    page = sheet(g.span(9), g.span(12), g.span(3), g.span(2))
    c.paste(page, g(1), 0)
    c.paste(page, g(6), g(4))
    return c


def icon_edit_params(s):
    g = Grid(s)
    c = Canvas(s, s)
    centre = int(6.5 * g.k)
    clock(c, centre, centre, 6.5 * g.k, g.k)
    c.paste(pencil(s), g(6), g(6))
    return c


def glyph_set_now(s):
    k = s / 16
    c = Canvas(s, s)
    centre = int(7.5 * k)
    clock(c, centre, centre, 7.4 * k, k)
    return c


def glyph_clear_time(s):
    k = s / 16
    c = Canvas(s, s)
    centre = int(6.5 * k)
    clock(c, centre, centre, 6.5 * k, k)
    c.paste(cross_badge(s // 2), s // 2, s // 2)
    return c


def glyph_update(s):
    """A green tick: a short stroke down to the right, a long one up to the right."""
    k = s / 16
    c = Canvas(s, s)
    width = s // 4                           # across each stroke, in diagonal steps
    u0, v0 = int(14 * k), -int(6 * k)
    long = diagonal(u0, u0 + width - 1, v0, int(11 * k))
    short = diagonal(int(8 * k), u0 + width - 1, v0, v0 + width - 1)
    inner = shape(c, long | short, 'G', 'g')
    c.paint({(x, y) for x, y in inner
             if x - y == v0 + 1 or (x + y == u0 + 1 and (x, y) not in short)}, 'h')
    return c


def glyph_cancel(s):
    """A red cross."""
    c = Canvas(s, s)
    if s == 16:  # hand-set at the smallest size
        c.paste(sprite([
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
        ]), 2, 2)
        return c
    n = s * 3 // 4
    shape(c, shifted(x_mark(n, 1.8 * s / 16, s // 8), s // 8, s // 8), 'R', 'r', 's')
    return c


# ---------------------------------------------------------------------------------------------
# The icons, drawn at s = 16, 24, 32 or 48 pixels.

def folder_up(s):
    """A yellow folder with a blue arrow pointing up out of it."""
    c = Canvas(s, s)
    (x0, y0, w, h, tab_w, tab_h), (length, height, shaft, ax, ay) = FOLDER_UP[s]
    folder(c, x0, y0, w, h, tab_w, tab_h)
    c.paste(arrow_sprite(length, height, shaft, 'B', 'b', 'c', up=True), ax, ay)
    return c


# Folder (left, top, width, height, tab width, tab height) and arrow (length, height, shaft
# width, left, top) of the folder-up icon at each size.
FOLDER_UP = {
    16: ((0, 1, 16, 14, 6, 2), (10, 9, 5, 4, 4)),
    24: ((0, 2, 24, 21, 9, 2), (15, 13, 7, 6, 6)),
    32: ((1, 3, 30, 27, 11, 3), (19, 17, 7, 8, 9)),
    48: ((1, 4, 46, 41, 17, 4), (29, 25, 11, 12, 14)),
}


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


def program_icon(s):
    """A folder with a magnifying glass over its lower right corner."""
    c = Canvas(s, s)
    folder_at, lens = PROGRAM_ICON[s]
    folder(c, *folder_at)
    magnifier(c, *lens)
    return c


# Folder (left, top, width, height, tab width, tab height) and lens (centre x, centre y, radius,
# handle length, handle thickness) of the program icon at each size.
PROGRAM_ICON = {
    16: ((0, 1, 14, 12, 5, 2), (10.0, 10.0, 3.8, 3.6, 2.9)),
    24: ((0, 2, 21, 18, 8, 2), (15.0, 15.0, 5.6, 5.4, 3.6)),
    32: ((0, 2, 28, 24, 10, 3), (20.0, 20.0, 7.4, 7.2, 4.4)),
    48: ((0, 3, 42, 36, 15, 4), (30.0, 30.0, 11.1, 10.8, 6.4)),
}


# ---------------------------------------------------------------------------------------------
# The pictures of the about box, drawn at s = 32, 48 or 64 pixels (transparent colour = the
# bottom-left pixel).

def about_web(s):
    """A globe: blue sea with a grid of latitude and longitude lines, green land."""
    k = s / 32
    c = Canvas(s, s)
    cx = cy = 16.0 * k
    radius = 14.6 * k
    sphere = disc(cx, cy, radius)
    shape(c, sphere, 'B', 'b')
    sea = sphere - border(sphere)
    latitude = math.floor(7.5 * k) + 0.5     # on pixel centres, so the line stays one pixel
    for x, y in sea:
        dx, dy = x + 0.5 - cx, y + 0.5 - cy
        if math.hypot(x + 0.5 - 10.5 * k, y + 0.5 - 9.5 * k) < 4.2 * k:
            c.set(x, y, 'c')
        elif dx + dy > 14 * k:
            c.set(x, y, 'B')
        grid = (abs(dy) <= 0.5 or abs(dx) <= 0.5 or abs(abs(dy) - latitude) <= 0.5
                or abs((dx / (8.0 * k)) ** 2 + (dy / radius) ** 2 - 1) < 0.13 / k)
        if grid:
            c.set(x, y, 'd')

    def at(points):
        return [(x * k, y * k) for x, y in points]

    land = (ellipse(10.5 * k, 10 * k, 5 * k, 3.6 * k) | ellipse(7.5 * k, 13 * k, 2.6 * k, 3.2 * k)
            | polygon(at([(10.5, 17), (16, 18.5), (14.5, 23), (12.5, 28.5), (10.5, 21)]))
            | ellipse(22 * k, 8.5 * k, 3.4 * k, 2.2 * k)
            | polygon(at([(18.5, 12), (27, 12), (26.5, 18), (22.5, 26), (20, 19), (18, 16)])))
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


def at_sign(n):
    """A blue @, n pixels square."""
    if n == 12:  # hand-set at the smallest size
        return sprite([
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
    c = Canvas(n, n)
    mid, stroke, gap = n / 2, n // 6, 2
    ring = disc(mid, mid, mid) - disc(mid, mid, mid - stroke)
    # The ring opens below three o'clock, where the tail of the a runs into it.
    ring = {(x, y) for x, y in ring if not 0.35 < math.atan2(y + 0.5 - mid, x + 0.5 - mid) < 0.85}
    ax, ay, ar = mid - 0.5, mid, mid - stroke - gap
    bowl = disc(ax, ay, ar) - disc(ax, ay, ar - stroke)
    right, bottom = int(ax + ar), int(ay + ar)
    stem = rect(right - stroke, int(ay - ar) + 1, right - 1, bottom - 1)
    tail = rect(int(ax), bottom - stroke, n - 1, bottom - 1) & disc(mid, mid, mid)
    shape(c, ring | bowl | stem | tail, 'B', 'b')
    return c


def about_mail(s):
    g = Grid(s, 32)
    c = Canvas(s, s)
    envelope(c, *g.box(1, 5, 30, 26))
    k = g.k
    c.paint(disc(16 * k, 17 * k, 7.2 * k), 'w')
    n = 12 if s == 32 else s * 3 // 8 + 2    # drawn, the a needs a little more room to stay open
    c.paste(at_sign(n), int(16 * k - n / 2), int(17 * k - n / 2))
    return c


def about_post(s):
    """A stamped letter with its address written on the front."""
    g = Grid(s, 32)
    c = Canvas(s, s)
    shape(c, g.rect(1, 5, 30, 26), 'k', 'w', None, '1')
    thick = s // 32                          # the width of a written line
    stamp = g.rect(22, 8, 28, 15)
    c.paint(stamp, 'w')
    for x, y in border(stamp):
        c.set(x, y, 'R' if (x + y) % 2 == 0 else 'w')
    picture = stamp - border(stamp)
    c.paint(picture, 'r')
    for _ in range(thick):
        picture -= border(picture)
    split = (min(y for _, y in picture) + max(y for _, y in picture) + 1) / 2
    c.paint({(x, y) for x, y in picture if y < split}, 's')
    c.paint({(x, y) for x, y in picture if y >= split}, 'z')
    wave = [(x, g(10) + thick * ((x // (2 * thick)) % 2)) for x in range(g(15), g(24))]
    postmark = set()
    for (xa, ya), (xb, yb) in zip(wave, wave[1:]):
        postmark |= line(xa, ya, xb, yb)
    c.paint(postmark - stamp, '3')
    c.paint(shifted(postmark, 0, g.span(3)), '3')
    for x, y, spacing, widths, colour in ((4, 8, 2, (6, 4), '2'), (9, 17, 3, (14, 12, 9), 'B')):
        for i, w in enumerate(widths):
            top = g(y) + i * g.span(spacing)
            c.paint(rect(g(x), top, g(x + w) - 1, top + thick - 1), colour)
    return c


# ---------------------------------------------------------------------------------------------
# Header sort arrows: 16 colours, light grey ground, embossed outlined triangle, s = 16, 24 or
# 32 pixels.

SORT_GROUND, SORT_SHADOW, SORT_LIGHT = (192, 192, 192), (128, 128, 128), (255, 255, 255)


def sort_arrow_box(s):
    """Left, top, width and height of the triangle: half the picture wide, centred, one row
    less high than wide."""
    return s // 4, s // 4, s // 2, s // 2 - 1


def sort_arrow(s, down):
    c = Canvas(s, s)
    c.paint(rect(0, 0, s - 1, s - 1), SORT_GROUND)
    # The sides step in by one pixel every two rows and meet in two pixels at the point.
    left, top, width, height = sort_arrow_box(s)
    right = left + width - 1
    for i in range(height):
        step = (i + 1) // 2
        row = top + i if down else top + height - 1 - i
        if i == 0:
            c.paint(rect(left, row, right, row), SORT_SHADOW if down else SORT_LIGHT)
            continue
        c.set(left + step, row, SORT_SHADOW)
        c.set(right - step, row, SORT_LIGHT)
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
    left, top, width, height = sort_arrow_box(c.w)
    drawn = {(x, y) for x, y in c.mask() if c.px[y][x] != SORT_GROUND}
    assert {x for x, _ in drawn} == set(range(left, left + width))
    assert {y for _, y in drawn} == set(range(top, top + height))
    assert {c.px[y][x] for x, y in drawn} == {SORT_SHADOW, SORT_LIGHT}
    base = top if down else top + height - 1
    assert all(c.px[base][x] == (SORT_SHADOW if down else SORT_LIGHT)
               for x in range(left, left + width))


GLYPH_SIZES = (16, 24, 32)
ABOUT_SIZES = (32, 48, 64)
ICON_SIZES = (16, 24, 32, 48)


def file_name(stem, size, first):
    """The smallest size keeps the plain name; the others carry their size."""
    return '%s%s.bmp' % (stem, '' if size == first else size)


def main():
    for s in GLYPH_SIZES:
        menu = [icon_explorer(s), icon_exit(s), icon_update(s), icon_add_bookmark(s),
                icon_remove_bookmark(s), icon_refresh(s), icon_large_icons(s), icon_small_icons(s),
                icon_list(s), icon_details(s), icon_attributes(s), icon_columns(s),
                icon_view_type(s), icon_copy_path(s), icon_edit_params(s)]
        add, remove = menu[3], menu[4]
        strips = {
            'MenuIcons': (menu, 15),
            'BookmarkGlyphs': ([add, embossed(add), remove, embossed(remove)], 4),
            'ToolbarGlyphs': (menu[5:10], 5),
            'EditorGlyphs': ([glyph_set_now(s), glyph_clear_time(s), glyph_update(s),
                              glyph_cancel(s)], 4),
        }
        for stem, (glyphs, count) in strips.items():
            picture = strip(glyphs)
            assert len(glyphs) == count and picture.w == count * s and picture.h == s, stem
            check_keyed(picture, s)
            write_bmp24(file_name(stem, s, 16), picture)
        for stem, down in (('DownBitmap', True), ('UpBitmap', False)):
            arrow = sort_arrow(s, down)
            check_sort_arrow(arrow, down)
            write_bmp4(file_name(stem, s, 16), arrow)
    for s in ABOUT_SIZES:
        for stem, draw in (('AboutWeb', about_web), ('AboutMail', about_mail),
                           ('AboutPost', about_post)):
            picture = draw(s)
            assert picture.w == picture.h == s, stem
            check_keyed(picture, s)
            write_bmp24(file_name(stem, s, 32), picture)
    write_ico('Pathwick.ico', [program_icon(s) for s in ICON_SIZES])
    write_ico('FolderUp.ico', [folder_up(s) for s in ICON_SIZES])


if __name__ == '__main__':
    main()
