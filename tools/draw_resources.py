#!/usr/bin/env python3
"""Draws Tintora's icons, grab cursor and slider arrow bitmaps.

Every picture is drawn from code and written as a real Windows resource file
(.ico, .cur, .bmp) into resources/art/, which the resource script includes.
Only the standard library is used, and the output is byte-for-byte the same on
every run, so the committed files can be checked against a fresh drawing.

    python3 tools/draw_resources.py                 write resources/art/*
    python3 tools/draw_resources.py --check         parse the files back and verify them
    python3 tools/draw_resources.py --preview DIR   write PNG contact sheets to DIR
"""

import argparse
import math
import os
import struct
import sys
import zlib

ART_DIR = os.path.normpath(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'art'))


# ---------------------------------------------------------------------------
# Palettes

# The 16 colours every Windows display can show, in the order 4-bit DIBs use.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def _make_palette256():
    # The VGA colours first (so a 256-colour display keeps its system colours
    # exact), then the 6x6x6 colour cube, then a fine grey ramp, which is where
    # the cube is weakest and where anti-aliased outlines land.
    pal = list(VGA16)
    seen = set(pal)
    steps = (0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF)
    for r in steps:
        for g in steps:
            for b in steps:
                if (r, g, b) not in seen:
                    pal.append((r, g, b))
                    seen.add((r, g, b))
    spare = 256 - len(pal)
    for i in range(1, spare + 1):
        level = (i * 255 + (spare + 1) // 2) // (spare + 1)
        pal.append((level, level, level))
    assert len(pal) == 256
    return pal


PALETTE256 = _make_palette256()
MONO = [(0, 0, 0), (255, 255, 255)]


def nearest(colour, palette, cache):
    hit = cache.get(colour)
    if hit is not None:
        return hit
    r, g, b = colour
    best, best_d = 0, None
    for i, (pr, pg, pb) in enumerate(palette):
        # Weighted towards green, as the eye is.
        d = 3 * (r - pr) ** 2 + 4 * (g - pg) ** 2 + 2 * (b - pb) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    cache[colour] = best
    return best


# ---------------------------------------------------------------------------
# Finished pictures

class Picture:
    """w x h pixels, each None (transparent) or an (r, g, b) tuple; row 0 on top."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [None] * (w * h)

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y * self.w + x]
        return None

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def opaque(self, x, y):
        return self.get(x, y) is not None

    def copy(self):
        p = Picture(self.w, self.h)
        p.px = list(self.px)
        return p

    def mirrored(self):
        p = Picture(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                p.set(self.w - 1 - x, y, self.get(x, y))
        return p


def edge_pixels(pic, corners=False):
    """Opaque pixels with a transparent (or off-image) neighbour.

    Side neighbours only give a thin rim that follows 45-degree edges as a
    clean single-pixel staircase; with corners the inside corners of square
    shapes are closed as well.
    """
    around = [(-1, 0), (1, 0), (0, -1), (0, 1)]
    if corners:
        around += [(-1, -1), (1, -1), (-1, 1), (1, 1)]
    edges = set()
    for y in range(pic.h):
        for x in range(pic.w):
            if pic.opaque(x, y) and not all(pic.opaque(x + dx, y + dy) for dx, dy in around):
                edges.add((x, y))
    return edges


def fill_notches(pic):
    """Fills single transparent pixels enclosed on three sides; they read as dirt, not detail.

    One pass only, so deliberate waists deeper than a pixel survive.
    """
    fills = []
    for y in range(pic.h):
        for x in range(pic.w):
            if pic.opaque(x, y):
                continue
            around = [pic.get(x - 1, y), pic.get(x + 1, y), pic.get(x, y - 1), pic.get(x, y + 1)]
            solid = [c for c in around if c is not None]
            if len(solid) >= 3:
                fills.append((x, y, solid[0]))
    for x, y, c in fills:
        pic.set(x, y, c)


def outline(pic, colour, corners=False):
    """Paints the silhouette's rim: a 1-pixel outline that follows the mask exactly."""
    edges = edge_pixels(pic, corners)
    for (x, y) in edges:
        pic.set(x, y, colour)
    return edges


def bevel(pic, edges, light, dark):
    """Classic raised look: lighten pixels just inside the top/left rim, darken bottom/right.

    light and dark are either fixed colours or how far to move towards white/black.
    """
    def shade(c, v, towards):
        return v if isinstance(v, tuple) else mix(c, towards, v)
    out = pic.copy()
    for y in range(pic.h):
        for x in range(pic.w):
            c = pic.get(x, y)
            if c is None or (x, y) in edges:
                continue
            if (x - 1, y) in edges or (x, y - 1) in edges:
                out.set(x, y, shade(c, light, (255, 255, 255)))
            elif (x + 1, y) in edges or (x, y + 1) in edges:
                out.set(x, y, shade(c, dark, (0, 0, 0)))
    pic.px = out.px


def mix(a, b, t):
    return tuple(int(round(a[k] + (b[k] - a[k]) * t)) for k in range(3))


# The program asks for each picture at its 96-DPI size times dpi / 96, rounded half up as
# MulDiv does; these are the screens it is drawn larger for.
LARGER_DPIS = (120, 144)


def at_dpi(pixels, dpi):
    return (pixels * dpi + 48) // 96


def snap(v):
    """A scaled coordinate on whole pixels, halves rounded up (as the sizes are)."""
    return int(math.floor(v + 0.5))


def quantised(pic, palette):
    out = Picture(pic.w, pic.h)
    cache = {}
    for i, c in enumerate(pic.px):
        if c is not None:
            out.px[i] = palette[nearest(c, palette, cache)]
    return out


# ---------------------------------------------------------------------------
# Anti-aliased drawing with signed distance functions (negative inside)

def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry, angle=0.0):
    ca, sa = round(math.cos(angle), 12), round(math.sin(angle), 12)

    def d(x, y):
        px, py = x - cx, y - cy
        u, v = px * ca + py * sa, -px * sa + py * ca
        k0 = math.hypot(u / rx, v / ry)
        k1 = math.hypot(u / (rx * rx), v / (ry * ry))
        if k1 == 0.0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1
    return d


def box(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return d


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


class Canvas:
    """Straight-alpha RGBA accumulation; pictures are composed by painting shapes over."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.rgb = [(0.0, 0.0, 0.0)] * (w * h)
        self.a = [0.0] * (w * h)

    @classmethod
    def from_picture(cls, pic):
        cv = cls(pic.w, pic.h)
        for i, c in enumerate(pic.px):
            if c is not None:
                cv.paint(i % pic.w, i // pic.w, c, 1.0)
        return cv

    def paint(self, x, y, colour, cov):
        if cov <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        i = y * self.w + x
        a0, c0 = self.a[i], self.rgb[i]
        a = cov + a0 * (1.0 - cov)
        k = a0 * (1.0 - cov)
        self.rgb[i] = tuple((colour[j] * cov + c0[j] * k) / a for j in range(3))
        self.a[i] = a

    def fill(self, sdf, colour, aa=True):
        for y in range(self.h):
            for x in range(self.w):
                d = sdf(x + 0.5, y + 0.5)
                cov = clamp01(0.5 - d) if aa else (1.0 if d < 0.0 else 0.0)
                if cov > 0.0:
                    c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    self.paint(x, y, c, cov)

    def picture(self):
        # Hard mask: icons without an alpha channel are either in or out.
        p = Picture(self.w, self.h)
        for i in range(self.w * self.h):
            if self.a[i] >= 0.5:
                p.px[i] = tuple(int(round(v)) for v in self.rgb[i])
        return p


def gradient(c0, c1, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    n = dx * dx + dy * dy

    def colour(x, y):
        t = clamp01(((x - x0) * dx + (y - y0) * dy) / n)
        return tuple(c0[k] + (c1[k] - c0[k]) * t for k in range(3))
    return colour


def darker(c, t=0.5):
    return mix(c, (0, 0, 0), t)


# ---------------------------------------------------------------------------
# The pictures

# Paint blobs, clockwise from the left: true colour and where on the arc (degrees).
BLOBS_TRUE = [
    ((220, 20, 20), -175), ((255, 140, 0), -128), ((255, 220, 0), -88),
    ((30, 170, 40), -50), ((30, 80, 230), -8), ((150, 40, 190), 45),
]
# The same blobs for 256 colours: colour, shadow ring, glint, all from the
# colour cube so the images need no dithering.
BLOBS_256 = [
    ((0xFF, 0x00, 0x00), (0x99, 0x00, 0x00), (0xFF, 0x99, 0x99)),
    ((0xFF, 0x99, 0x00), (0xCC, 0x66, 0x00), (0xFF, 0xCC, 0x66)),
    ((0xFF, 0xFF, 0x00), (0xCC, 0x99, 0x00), (0xFF, 0xFF, 0xCC)),
    ((0x00, 0xCC, 0x00), (0x00, 0x66, 0x00), (0x99, 0xFF, 0x99)),
    ((0x00, 0x33, 0xFF), (0x00, 0x00, 0x99), (0x99, 0xCC, 0xFF)),
    ((0x99, 0x33, 0xCC), (0x66, 0x00, 0x99), (0xCC, 0x99, 0xFF)),
]


def draw_palette(size, depth):
    """Program icon: a wooden painter's palette with blobs of paint."""
    s = float(size)
    flat = depth <= 8
    tilt = math.radians(-15)
    body = ellipse(0.5 * s, 0.5 * s, 0.485 * s, 0.40 * s, tilt)
    notch = circle(0.08 * s, 0.90 * s, 0.20 * s)
    if size <= 16:
        hole = circle(6.0, 10.0, 1.0)
    else:
        hole = circle(0.36 * s, 0.69 * s, 0.075 * s)
    shape = minus(minus(body, notch), hole)
    cv = Canvas(size, size)
    if flat:
        cv.fill(shape, (0xCC, 0x99, 0x66), aa=False)
        pic = cv.picture()
        rim = outline(pic, (0x66, 0x33, 0x00))
        bevel(pic, rim, (0xFF, 0xCC, 0x99), (0x99, 0x66, 0x33))
    else:
        cv.fill(shape, gradient((246, 214, 160), (196, 146, 84), 0.2 * s, 0.2 * s, 0.8 * s, 0.9 * s),
                aa=False)
        pic = cv.picture()
        rim = outline(pic, (96, 56, 16))
        bevel(pic, rim, 0.45, 0.18)

    # Blobs on an arc around the upper rim, clear of the thumb hole.
    cv = Canvas.from_picture(pic)
    cx, cy = 0.52 * s, 0.50 * s
    r = 0.085 * s
    # At 16 pixels the dabs move inwards so wood shows between them and the rim.
    arc_x, arc_y = (0.31, 0.25) if size > 16 else (0.27, 0.19)
    for n, (colour, deg) in enumerate(BLOBS_TRUE):
        a = math.radians(deg + (0 if size > 16 else 14)) + tilt
        bx = cx + arc_x * s * round(math.cos(a), 12)
        by = cy + arc_y * s * round(math.sin(a), 12)
        if size <= 16:
            # 2 x 2 dabs on whole pixels stay crisp at this size.
            bx, by = float(round(bx)), float(round(by))
            cv.fill(box(bx - 1, by - 1, bx + 1, by + 1), BLOBS_256[n][0], aa=False)
        elif flat:
            # Whole-pixel centres keep hard-edged discs round and symmetric.
            bx, by = float(round(bx)), float(round(by))
            main, shadow, glint = BLOBS_256[n]
            cv.fill(circle(bx, by, r + 0.2), shadow, aa=False)
            cv.fill(circle(bx - 0.5, by - 0.5, r - 0.6), main, aa=False)
            gx, gy = float(round(bx - 0.4 * r)), float(round(by - 0.4 * r))
            cv.fill(circle(gx, gy, 0.75), glint, aa=False)
        else:
            shadow, glint = darker(colour, 0.45), mix(colour, (255, 255, 255), 0.7)
            cv.fill(circle(bx, by, r), shadow)
            cv.fill(circle(bx - 0.15 * r, by - 0.15 * r, r - 1.0), colour)
            cv.fill(circle(bx - 0.35 * r, by - 0.35 * r, 0.3 * r), glint)
    return cv.picture()


def draw_traffic_light(w=16, h=20):
    """Not-web-safe mark: dark housing with red, amber and green lamps, top to bottom."""
    k = w / 16.0
    cv = Canvas(w, h)
    housing = box(snap(3 * k), 0, snap(13 * k), h, 2.5 * k)
    cv.fill(housing, gradient((88, 88, 88), (28, 28, 28), 3 * k, 0, 13 * k, h), aa=False)
    pic = cv.picture()
    rim = outline(pic, (0, 0, 0))
    bevel(pic, rim, 0.35, 0.0)
    cv = Canvas.from_picture(pic)
    lamps = [((255, 36, 24), 4.0), ((255, 196, 0), 10.0), ((24, 214, 64), 16.0)]
    cx = w / 2.0
    for colour, cy in lamps:
        cy *= h / 20.0
        cv.fill(circle(cx, cy, 2.95 * k), (8, 8, 8))
        cv.fill(circle(cx, cy, 2.45 * k), gradient(mix(colour, (255, 255, 255), 0.1),
                                                  darker(colour, 0.4), cx - 1.5 * k, cy - 1.5 * k,
                                                  cx + 1.5 * k, cy + 1.5 * k))
        cv.fill(circle(cx - k, cy - k, 0.55 * k), mix(colour, (255, 255, 255), 0.6))
    return cv.picture()


def draw_pages(size=16):
    """Two overlapping sheets with folded corners: copy."""
    pic = Picture(size, size)
    black, white, silver, navy = VGA16[0], VGA16[15], VGA16[7], VGA16[4]
    k = size / 16.0
    fold = snap(3 * k)
    # Text lines every other pixel at 16, spread as the page grows.
    step = max(2, snap(2 * k))

    def page(x0, y0, x1, y1, lines):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                # Cut the top-right corner along a diagonal.
                over = (x - (x1 - fold)) - (y - y0)
                if over > 0:
                    continue
                edge = x in (x0, x1) or y in (y0, y1) or over == 0
                pic.set(x, y, black if edge else white)
        # The folded-down flap.
        for i in range(fold + 1):
            pic.set(x1 - fold, y0 + i, black)
            pic.set(x1 - fold + i, y0 + fold, black)
        for y in range(y0 + 1, y0 + fold):
            for x in range(x1 - fold + 1, x1):
                if (x - (x1 - fold)) - (y - y0) < 0:
                    pic.set(x, y, silver)
        for ly in lines:
            right = x1 - 2 if ly > y0 + fold else x1 - fold - 2
            for x in range(x0 + 2, right + 1):
                pic.set(x, ly, navy if ly != lines[-1] or x < right - 1 else white)
    x1, y1 = snap(9 * k), snap(11 * k)
    x0, y0 = size - 1 - x1, size - 1 - y1
    first = snap(5 * k)
    page(0, 0, x1, y1, [first + i * step for i in range(3)])
    page(x0, y0, size - 1, size - 1, [y0 + first + i * step for i in range(3)])
    return pic


def draw_arrow(pointing_right, size=13):
    """Blue arrow (13 x 13 at 96 DPI); a shaft and a 45-degree head, crisp for 16 colours."""
    pic = Picture(size, size)
    blue = VGA16[12]
    k = size / 13.0
    c = (size - 1) / 2.0           # the middle row, or between the two middle rows
    head = snap(6 * k)             # the head's first column
    shaft_half = 2 * k + 0.5

    def half(x):                   # the head's half height in column x: one less per column
        return (c - 1) - (x - head)
    for y in range(size):
        for x in range(size):
            in_shaft = snap(k) <= x < head and abs(y - c) <= shaft_half
            in_head = x >= head and half(x) >= 0 and abs(y - c) <= half(x)
            if in_shaft or in_head:
                pic.set(x, y, blue)
    outline(pic, VGA16[4])
    # A cyan glint along the upper side of the shaft gives the arrow some depth.
    shaft_top = int(math.ceil(c - shaft_half))
    for x in range(snap(k) + 1, head):
        pic.set(x, shaft_top + 1, VGA16[14])
    for x in range(head, head + snap(4 * k)):
        pic.set(x, int(math.ceil(c - half(x))) + 1, VGA16[14])
    return pic if pointing_right else pic.mirrored()


def draw_sign(kind, size=13):
    """Plus (green) or minus (red) with a raised look, 13 x 13 at 96 DPI."""
    cv = Canvas(size, size)
    k = size / 13.0
    near, far = snap(k), size - snap(k)
    bar0, bar1 = snap(4 * k), size - snap(4 * k)
    mid = size / 2.0
    if kind == 'plus':
        shape = union(box(near, bar0, far, bar1), box(bar0, near, bar1, far))
        fill = gradient((80, 220, 60), (10, 150, 10), mid, near, mid, far)
        rim_c = (0, 90, 0)
    else:
        shape = box(near, bar0, far, bar1)
        fill = gradient((255, 80, 60), (190, 0, 0), mid, bar0, mid, bar1)
        rim_c = (120, 0, 0)
    cv.fill(shape, fill, aa=False)
    pic = cv.picture()
    rim = outline(pic, rim_c, corners=True)
    bevel(pic, rim, 0.45, 0.15)
    return pic


def diagonal_tool(w, h, axis, part, colours):
    """Draws a 45-degree tool running from lower left to upper right.

    s = x + y is constant along the tool's axis and t = x - y runs along it
    (two steps of t per pixel), so part(t, s - axis) can describe each piece
    as a band across the axis; the pixels then fall on clean diagonals with
    no stray corners.
    """
    pic = Picture(w, h)
    for y in range(h):
        for x in range(w):
            name = part(x - y, x + y - axis)
            if name is not None:
                c = colours[name]
                pic.set(x, y, c(x - y, x + y - axis) if callable(c) else c)
    return pic


def by_segments(segments):
    """part() for diagonal_tool from (first t, last t, half-width, name) runs.

    Only every other t holds a pixel on a given diagonal, so where runs of
    different widths meet, neighbouring diagonals end a pixel apart; the
    single-pixel notches that leaves are closed by fill_notches.
    """
    def part(t, d):
        for t_from, t_to, half, name in segments:
            if t_from <= t <= t_to:
                return name if abs(d) <= half else None
        return None
    return part


def draw_eyedropper_icon(size=16):
    # Tip at (1, 14) at 16 pixels, bulb at the upper right; axis x + y = size - 1.
    k = size / 16.0
    part = by_segments([(snap(a * k), snap(b * k), snap(w * k), name) for a, b, w, name in [
        (-14, -10, 0, 'tip'), (-9, -7, 1, 'glass'), (-6, 2, 2, 'glass'),
        (3, 5, 3, 'collar'), (6, 6, 2, 'bulb'), (7, 11, 3, 'bulb'),
        (12, 12, 2, 'bulb'),
    ]])
    colours = {
        'tip': VGA16[0],
        'glass': lambda t, d: VGA16[15] if d == -1 else VGA16[14],
        'collar': VGA16[7],
        'bulb': lambda t, d: VGA16[8] if d == -1 and snap(8 * k) <= t <= snap(11 * k) else VGA16[0],
    }
    pic = diagonal_tool(size, size, size - 1, part, colours)
    fill_notches(pic)
    outline(pic, VGA16[0])
    return pic


CURSOR_HOTSPOT = (9, 21)


def cursor_hotspot(size):
    """The tip at a size of the cursor: the 32-pixel one's, scaled."""
    return tuple(snap(v * size / 32.0) for v in CURSOR_HOTSPOT)


def draw_grab_cursor(size=32):
    # Tip exactly on the hot spot; at 32 pixels the axis x + y = 30 passes through it.
    k = size / 32.0
    tx, ty = cursor_hotspot(size)
    axis, t0 = tx + ty, tx - ty
    part = by_segments([(t0 + snap(a * k), t0 + snap(b * k), snap(w * k), name) for a, b, w, name in [
        (-1, 3, 0, 'tip'), (4, 6, 1, 'glass'), (7, 17, 2, 'glass'),
        (18, 21, 4, 'collar'), (22, 23, 3, 'bulb'), (24, 31, 4, 'bulb'),
        (32, 33, 3, 'bulb'), (34, 34, 2, 'bulb'),
    ]])
    white, black = MONO[1], MONO[0]
    # White inside, black outline: visible on light and dark screens alike.
    colours = {'tip': black, 'glass': white, 'collar': black, 'bulb': white}
    pic = diagonal_tool(size, size, axis, part, colours)
    fill_notches(pic)
    outline(pic, black)
    return pic


def draw_slider_arrow(pointing_right):
    """5 x 10 marker ANDed onto the slider: black triangle, white (no change) around it."""
    pic = Picture(5, 10)
    for y in range(10):
        for x in range(5):
            pic.set(x, y, MONO[0] if x <= y <= 9 - x else MONO[1])
    return pic if pointing_right else pic.mirrored()


def draw_binoculars(w=15, h=13):
    """Seen from the front: two barrels on a hinge, objective lenses catching the light."""
    pic = Picture(w, h)
    black, navy, grey, silver, blue, white = (VGA16[0], VGA16[4], VGA16[8], VGA16[7],
                                              VGA16[12], VGA16[15])
    kx, ky = w / 15.0, h / 13.0
    bw = snap(6 * kx)              # a barrel's width
    joint = snap(3 * ky)           # the row between eyepiece and barrel
    rim = snap(7 * ky)             # the row above the lens
    lens = h - 1 - rim - 1         # the lens's side: from below the rim to above the bottom
    for x0 in (0, w - bw):
        for y in range(h):
            for lx in range(bw):
                eyepiece = 1 <= lx <= bw - 2 and y <= joint
                barrel = y >= joint and not (y in (joint, h - 1) and lx in (0, bw - 1))
                if eyepiece or barrel:
                    pic.set(x0 + lx, y, silver if lx == 1 else grey)
    for y in range(joint + 1, rim + 1):
        for x in range(bw, w - bw):
            pic.set(x, y, silver if y == joint + 2 else grey)
    outline(pic, black)
    shade = {'N': navy, 'B': blue, 'W': white}

    def lens_pixel(lx, ly):
        # Navy corners, a white glint up and left of the middle, blue elsewhere.
        last = lens - 1
        if (lx in (0, last)) and (ly in (0, last)):
            return 'N'
        if lx == max(1, lens // 4) and ly == max(1, lens // 4):
            return 'W'
        return 'B'
    for x0 in (0, w - bw):
        for lx in range(1, bw - 1):
            pic.set(x0 + lx, joint, black)
            pic.set(x0 + lx, rim, black)
        for ly in range(lens):
            for lx in range(min(lens, bw - 2)):
                pic.set(x0 + 1 + lx, rim + 1 + ly, shade[lens_pixel(lx, ly)])
    return pic


# ---------------------------------------------------------------------------
# Resource file writers

def _row_bytes(bits):
    return ((bits + 31) // 32) * 4


def dib_image(pic, bpp, palette=None):
    """BITMAPINFOHEADER + colour table + XOR rows + AND rows, as icons and cursors hold them."""
    w, h = pic.w, pic.h
    xor_stride, and_stride = _row_bytes(w * bpp), _row_bytes(w)
    table = b''
    index = {}
    if bpp <= 8:
        assert len(palette) == 1 << bpp
        table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
        index = {c: i for i, c in reversed(list(enumerate(palette)))}
    xor, andm = bytearray(), bytearray()
    for y in range(h - 1, -1, -1):  # DIB rows run bottom-up
        row = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x in range(w):
            c = pic.get(x, y)
            if c is None:
                # Transparent: AND 1 keeps the screen, XOR 0 leaves it alone.
                mrow[x >> 3] |= 0x80 >> (x & 7)
                continue
            if bpp == 24:
                row[x * 3:x * 3 + 3] = bytes((c[2], c[1], c[0]))
            else:
                i = index[c]
                if bpp == 8:
                    row[x] = i
                elif bpp == 4:
                    row[x >> 1] |= i << (4 if x % 2 == 0 else 0)
                else:
                    row[x >> 3] |= i << (7 - (x & 7))
        xor += row
        andm += mrow
    header = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, bpp, 0,
                         len(xor) + len(andm), 0, 0, 0, 0)
    return header + table + bytes(xor) + bytes(andm)


def icon_file(images, hotspot=None):
    """ICONDIR (type 1) or, with hot spots (a function of the size), a cursor directory (type 2)."""
    kind = 2 if hotspot else 1
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for pic, bpp, palette in images:
        data = dib_image(pic, bpp, palette)
        colours = (1 << bpp) if bpp < 8 else 0
        if hotspot:
            f1, f2 = hotspot(pic.w)
        else:
            f1, f2 = 1, bpp
        out += struct.pack('<BBBBHHII', pic.w & 0xFF, pic.h & 0xFF, colours, 0,
                           f1, f2, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b''.join(blobs)


def bmp_file(pic):
    """1-bit .bmp with a black/white colour table."""
    w, h = pic.w, pic.h
    stride = _row_bytes(w)
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if pic.get(x, y) == MONO[1]:
                row[x >> 3] |= 0x80 >> (x & 7)
        pixels += row
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 1, 0, len(pixels), 2835, 2835, 2, 0)
    table = b'\x00\x00\x00\x00\xff\xff\xff\x00'
    offset = 14 + len(info) + len(table)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + table + bytes(pixels)


# ---------------------------------------------------------------------------
# What goes into each file

def build_all():
    """File name -> bytes, for every resource file the program uses."""
    files = {}
    icon100 = []
    # The small sizes of 120 and 144 DPI (20, 24) and the large one of 120 (40) as well.
    for size in (16, 20, 24, 32, 40, 48):
        icon100.append((quantised(draw_palette(size, 8), PALETTE256), 8, PALETTE256))
    for size in (32, 40, 48):
        icon100.append((draw_palette(size, 24), 24, None))
    files['icon100.ico'] = icon_file(icon100)
    # Each picture first at its 96-DPI size (the program scales from the smallest), then larger.
    dpis = (96,) + LARGER_DPIS
    files['icon101.ico'] = icon_file([(draw_traffic_light(at_dpi(16, d), at_dpi(20, d)), 24, None)
                                      for d in dpis])
    pages = [(quantised(draw_pages(at_dpi(16, d)), VGA16), 4, VGA16) for d in dpis]
    files['icon421.ico'] = icon_file(pages)
    files['icon440.ico'] = icon_file(pages)
    files['icon431.ico'] = icon_file([(draw_sign('plus', at_dpi(13, d)), 24, None) for d in dpis])
    files['icon432.ico'] = icon_file([(draw_sign('minus', at_dpi(13, d)), 24, None) for d in dpis])
    files['icon433.ico'] = icon_file([(quantised(draw_arrow(True, at_dpi(13, d)), VGA16), 4, VGA16)
                                      for d in dpis])
    left = [(quantised(draw_arrow(False, at_dpi(13, d)), VGA16), 4, VGA16) for d in dpis]
    files['icon434.ico'] = icon_file(left)
    files['icon438.ico'] = icon_file(left)
    files['icon435.ico'] = icon_file([(quantised(draw_eyedropper_icon(at_dpi(16, d)), VGA16), 4, VGA16)
                                      for d in dpis])
    files['icon439.ico'] = icon_file([(quantised(draw_binoculars(at_dpi(15, d), at_dpi(13, d)), VGA16),
                                       4, VGA16) for d in dpis])
    # The system's cursor size grows with the DPI too: 40 and 48 pixels at 120 and 144.
    files['cursor150.cur'] = icon_file([(draw_grab_cursor(at_dpi(32, d)), 1, MONO) for d in dpis],
                                       hotspot=cursor_hotspot)
    files['bitmap200.bmp'] = bmp_file(draw_slider_arrow(True))
    files['bitmap201.bmp'] = bmp_file(draw_slider_arrow(False))
    return files


# ---------------------------------------------------------------------------
# Reading the files back

class Image:
    """A decoded resource image: XOR colours and AND mask bits, row 0 on top."""

    def __init__(self, w, h, bpp):
        self.w, self.h, self.bpp = w, h, bpp
        self.xor = [[(0, 0, 0)] * w for _ in range(h)]
        self.andm = [[0] * w for _ in range(h)]
        self.palette = None

    def shown_on(self, bg):
        """What the screen shows: (background AND mask) XOR image, per pixel."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                c = self.xor[y][x]
                if self.andm[y][x]:
                    row.append(tuple(bg[k] ^ c[k] for k in range(3)))
                else:
                    row.append(c)
            rows.append(row)
        return rows


def _parse_dib(data, off, size, with_mask):
    (hsize, w, h, planes, bpp, comp, _simg, _xr, _yr, used, _imp) = \
        struct.unpack_from('<IiiHHIIiiII', data, off)
    assert hsize == 40, 'header size %d' % hsize
    assert planes == 1 and comp == 0, 'planes %d compression %d' % (planes, comp)
    height = h // 2 if with_mask else h
    assert h > 0, 'top-down DIB'
    if with_mask:
        assert h == 2 * height, 'odd doubled height %d' % h
    img = Image(w, height, bpp)
    pos = off + hsize
    if bpp <= 8:
        n = used or (1 << bpp)
        img.palette = [struct.unpack_from('<BBB', data, pos + 4 * i)[::-1] for i in range(n)]
        pos += 4 * n
    xor_stride, and_stride = _row_bytes(w * bpp), _row_bytes(w)
    end = pos + xor_stride * height + (and_stride * height if with_mask else 0)
    assert end <= len(data), 'image runs past the end of the file'
    if size is not None:
        assert end - off == size, 'entry size %d but image is %d bytes' % (size, end - off)
    for r in range(height):
        y = height - 1 - r
        row = data[pos + r * xor_stride:pos + (r + 1) * xor_stride]
        for x in range(w):
            if bpp == 24:
                b, g, rr = row[3 * x:3 * x + 3]
                img.xor[y][x] = (rr, g, b)
            else:
                bit = x * bpp
                i = (row[bit >> 3] >> (8 - bpp - (bit & 7))) & ((1 << bpp) - 1)
                img.xor[y][x] = img.palette[i]
    if with_mask:
        mpos = pos + xor_stride * height
        for r in range(height):
            y = height - 1 - r
            row = data[mpos + r * and_stride:mpos + (r + 1) * and_stride]
            for x in range(w):
                img.andm[y][x] = (row[x >> 3] >> (7 - (x & 7))) & 1
    return img


def parse_icon_file(data):
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    assert reserved == 0 and kind in (1, 2), 'not an icon or cursor file'
    entries = []
    for n in range(count):
        w, h, colours, res, f1, f2, size, off = struct.unpack_from('<BBBBHHII', data, 6 + 16 * n)
        img = _parse_dib(data, off, size, True)
        assert (w or 256) == img.w and (h or 256) == img.h, \
            'entry says %dx%d, image is %dx%d' % (w, h, img.w, img.h)
        entry = {'w': img.w, 'h': img.h, 'colours': colours, 'reserved': res,
                 'image': img, 'offset': off, 'size': size}
        if kind == 1:
            entry['planes'], entry['bpp'] = f1, f2
        else:
            entry['hotspot'] = (f1, f2)
        entries.append(entry)
    return kind, entries


def parse_bmp_file(data):
    magic, fsize, _r1, _r2, off = struct.unpack_from('<2sIHHI', data, 0)
    assert magic == b'BM', 'no BM signature'
    assert fsize == len(data), 'file size field %d, file is %d' % (fsize, len(data))
    img = _parse_dib(data, 14, None, False)
    stride = _row_bytes(img.w * img.bpp)
    assert off + stride * img.h == len(data), 'pixel offset does not match the layout'
    return img


# ---------------------------------------------------------------------------
# Checks

# What the program needs, written out independently of the drawing code above.
# The first image of each is the 96-DPI one, then those for 120 and 144 DPI (1.25 and 1.5 times).
EXPECTED_ICONS = {
    'icon100.ico': [(16, 16, 8), (20, 20, 8), (24, 24, 8), (32, 32, 8), (40, 40, 8), (48, 48, 8),
                    (32, 32, 24), (40, 40, 24), (48, 48, 24)],
    'icon101.ico': [(16, 20, 24), (20, 25, 24), (24, 30, 24)],
    'icon421.ico': [(16, 16, 4), (20, 20, 4), (24, 24, 4)],
    'icon431.ico': [(13, 13, 24), (16, 16, 24), (20, 20, 24)],
    'icon432.ico': [(13, 13, 24), (16, 16, 24), (20, 20, 24)],
    'icon433.ico': [(13, 13, 4), (16, 16, 4), (20, 20, 4)],
    'icon434.ico': [(13, 13, 4), (16, 16, 4), (20, 20, 4)],
    'icon435.ico': [(16, 16, 4), (20, 20, 4), (24, 24, 4)],
    'icon438.ico': [(13, 13, 4), (16, 16, 4), (20, 20, 4)],
    'icon439.ico': [(15, 13, 4), (19, 16, 4), (23, 20, 4)],
    'icon440.ico': [(16, 16, 4), (20, 20, 4), (24, 24, 4)],
}


def check(art_dir):
    problems = []

    def expect(cond, msg):
        if not cond:
            problems.append(msg)

    fresh = build_all()
    expected_names = set(EXPECTED_ICONS) | {'cursor150.cur', 'bitmap200.bmp', 'bitmap201.bmp'}
    expect(set(fresh) == expected_names, 'generator writes %s' % sorted(fresh))
    for name in sorted(expected_names):
        path = os.path.join(art_dir, name)
        if not os.path.exists(path):
            problems.append('%s: missing' % name)
            continue
        with open(path, 'rb') as f:
            data = f.read()
        expect(data == fresh.get(name), '%s: differs from a fresh drawing (rerun the tool)' % name)
        try:
            if name.endswith('.ico'):
                check_icon(name, data, expect)
            elif name.endswith('.cur'):
                check_cursor(name, data, expect)
            else:
                check_bitmap(name, data, expect)
        except (AssertionError, struct.error, IndexError, KeyError) as e:
            problems.append('%s: unreadable: %s' % (name, e))
    # Twins share a picture on purpose.
    for a, b in (('icon421.ico', 'icon440.ico'), ('icon434.ico', 'icon438.ico')):
        expect(fresh.get(a) == fresh.get(b), '%s and %s should be identical' % (a, b))
    return problems


def _mask_stats(img):
    opaque = sum(1 for row in img.andm for m in row if m == 0)
    return opaque, img.w * img.h - opaque


def check_icon(name, data, expect):
    kind, entries = parse_icon_file(data)
    expect(kind == 1, '%s: directory type %d, want 1' % (name, kind))
    got = [(e['w'], e['h'], e['bpp']) for e in entries]
    expect(got == EXPECTED_ICONS[name], '%s: images %s, want %s' % (name, got, EXPECTED_ICONS[name]))
    _check_layout(name, data, entries, expect)
    for e in entries:
        img = e['image']
        tag = '%s %dx%d@%d' % (name, e['w'], e['h'], e['bpp'])
        expect(e['planes'] == 1, '%s: planes %d' % (tag, e['planes']))
        expect(img.bpp == e['bpp'], '%s: DIB says %d bpp' % (tag, img.bpp))
        want_count = 16 if e['bpp'] == 4 else 0
        expect(e['colours'] == want_count, '%s: colour count %d' % (tag, e['colours']))
        if e['bpp'] == 4:
            expect(img.palette == VGA16, '%s: not the standard 16-colour palette' % tag)
        if e['bpp'] == 8:
            expect(len(img.palette) == 256, '%s: %d palette entries' % (tag, len(img.palette)))
        opaque, clear = _mask_stats(img)
        expect(opaque > img.w * img.h // 8, '%s: only %d opaque pixels' % (tag, opaque))
        expect(clear > 0, '%s: no transparent pixels' % tag)
        _check_clean_transparency(tag, img, expect)


def _check_layout(name, data, entries, expect):
    # Images must follow the directory, one after another, with nothing overlapping.
    pos = 6 + 16 * len(entries)
    for e in sorted(entries, key=lambda e: e['offset']):
        expect(e['offset'] == pos, '%s: image at %d, expected %d' % (name, e['offset'], pos))
        expect(e['reserved'] == 0, '%s: reserved byte set' % name)
        pos = e['offset'] + e['size']
    expect(pos == len(data), '%s: %d trailing bytes' % (name, len(data) - pos))


def _check_clean_transparency(tag, img, expect):
    # A masked pixel with colour would XOR (invert) the screen behind it.
    for y in range(img.h):
        for x in range(img.w):
            if img.andm[y][x] and img.xor[y][x] != (0, 0, 0):
                expect(False, '%s: transparent pixel (%d,%d) has colour' % (tag, x, y))
                return


# The cursor at the system's cursor sizes for 96, 120 and 144 DPI, and where its tip is.
EXPECTED_CURSOR = [(32, (9, 21)), (40, (11, 26)), (48, (14, 32))]


def check_cursor(name, data, expect):
    kind, entries = parse_icon_file(data)
    expect(kind == 2, '%s: directory type %d, want 2' % (name, kind))
    got = [(e['w'], e['hotspot']) for e in entries]
    expect(got == EXPECTED_CURSOR, '%s: images %s, want %s' % (name, got, EXPECTED_CURSOR))
    _check_layout(name, data, entries, expect)
    for e in entries:
        img, size = e['image'], e['w']
        tag = '%s %dx%d' % (name, e['w'], e['h'])
        expect((e['h'], img.bpp) == (size, 1), '%s: height %d, %d bpp' % (tag, e['h'], img.bpp))
        expect(img.palette == MONO, '%s: palette %s' % (tag, img.palette))
        _check_clean_transparency(tag, img, expect)
        hx, hy = e['hotspot']
        expect(img.andm[hy][hx] == 0, '%s: hot spot pixel is transparent' % tag)
        # The hot spot is the tip: nothing sticks out further down or to the left.
        beyond = [(x, y) for y in range(size) for x in range(size)
                  if img.andm[y][x] == 0 and not (x >= hx and y <= hy)]
        expect(not beyond, '%s: pixels beyond the tip %s' % (tag, beyond[:3]))
        # Both colours are needed to show on light and dark screens alike.
        shown = {img.xor[y][x] for y in range(size) for x in range(size) if img.andm[y][x] == 0}
        expect(shown == set(MONO), '%s: opaque colours %s' % (tag, shown))


def check_bitmap(name, data, expect):
    img = parse_bmp_file(data)
    expect((img.w, img.h, img.bpp) == (5, 10, 1), '%s: %dx%d@%d' % (name, img.w, img.h, img.bpp))
    expect(img.palette == MONO, '%s: palette %s' % (name, img.palette))
    black = {(x, y) for y in range(img.h) for x in range(img.w) if img.xor[y][x] == (0, 0, 0)}
    tip_col = 4 if name == 'bitmap200.bmp' else 0
    tip = {(x, y) for (x, y) in black if x == tip_col}
    expect(tip == {(tip_col, 4), (tip_col, 5)}, '%s: tip column holds %s' % (name, sorted(tip)))
    base_col = 4 - tip_col
    base = {y for (x, y) in black if x == base_col}
    expect(base == set(range(10)), '%s: base column rows %s' % (name, sorted(base)))
    # Each column one pixel shorter at both ends than the one behind it.
    for step in range(5):
        col = base_col + (step if tip_col == 4 else -step)
        rows = sorted(y for (x, y) in black if x == col)
        expect(rows == list(range(step, 10 - step)), '%s: column %d rows %s' % (name, col, rows))


# ---------------------------------------------------------------------------
# Preview sheet

FONT = {
    '0': '111101101101111', '1': '010110010010111', '2': '111001111100111',
    '3': '111001111001111', '4': '101101111001001', '5': '111100111001111',
    '6': '111100111101111', '7': '111001001010010', '8': '111101111101111',
    '9': '111101111001111', 'a': '010101111101101', 'b': '110101110101110',
    'c': '011100100100011', 'd': '110101101101110', 'e': '111100110100111',
    'f': '111100110100100', 'g': '011100101101011', 'h': '101101111101101',
    'i': '111010010010111', 'j': '001001001101010', 'k': '101101110101101',
    'l': '100100100100111', 'm': '101111111101101', 'n': '110101101101101',
    'o': '010101101101010', 'p': '110101110100100', 'q': '010101101110011',
    'r': '110101110101101', 's': '011100010001110', 't': '111010010010010',
    'u': '101101101101111', 'v': '101101101101010', 'w': '101101111111101',
    'x': '101101010101101', 'y': '101101010010010', 'z': '111001010100111',
    ' ': '000000000000000', '.': '000000000000010', ',': '000000000010100',
    '(': '001010010010001', ')': '100010010010100', '-': '000000111000000',
    ':': '000010000010000', '/': '001001010100100', '@': '010101111100011',
}


class Sheet:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [list(bg) for _ in range(w * h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = list(c)

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, c)

    def text(self, x, y, s, c, scale=2):
        for ch in s.lower():
            glyph = FONT.get(ch, FONT[' '])
            for i, bit in enumerate(glyph):
                if bit == '1':
                    self.rect(x + (i % 3) * scale, y + (i // 3) * scale, scale, scale, c)
            x += 4 * scale

    def blit(self, x, y, rows, scale):
        for yy, row in enumerate(rows):
            for xx, c in enumerate(row):
                self.rect(x + xx * scale, y + yy * scale, scale, scale, c)

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                raw += bytes(self.px[y * self.w + x])

        def chunk(tag, body):
            return (struct.pack('>I', len(body)) + tag + body
                    + struct.pack('>I', zlib.crc32(tag + body) & 0xFFFFFFFF))
        return (b'\x89PNG\r\n\x1a\n'
                + chunk(b'IHDR', struct.pack('>IIBBBBB', self.w, self.h, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
                + chunk(b'IEND', b''))


GREY, WHITE, PAPER, INK = (128, 128, 128), (255, 255, 255), (236, 233, 216), (0, 0, 0)
ZOOM = 8


def decoded_images(art_dir):
    """(label, Image) for every image in every file, read back from disk."""
    out = []
    for name in sorted(os.listdir(art_dir)):
        if not name.endswith(('.ico', '.cur', '.bmp')):
            continue
        with open(os.path.join(art_dir, name), 'rb') as f:
            data = f.read()
        base = name.rsplit('.', 1)[0]
        if name.endswith('.bmp'):
            img = parse_bmp_file(data)
            # Bitmaps are ANDed onto the slider: white leaves it, black paints.
            for y in range(img.h):
                for x in range(img.w):
                    if img.xor[y][x] == (255, 255, 255):
                        img.andm[y][x], img.xor[y][x] = 1, (0, 0, 0)
            out.append(('%s %dx%d 1bpp (anded)' % (base, img.w, img.h), img))
        else:
            kind, entries = parse_icon_file(data)
            for e in entries:
                img = e['image']
                label = '%s %dx%d %dbpp' % (base, img.w, img.h, img.bpp)
                if kind == 2:
                    label += ' hot %d,%d' % e['hotspot']
                out.append((label, img))
    return out


def write_preview(art_dir, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    items = decoded_images(art_dir)
    # Each cell: label, then 1x on grey and white, then 8x on grey and white.
    cells = []
    for label, img in items:
        w = max(len(label) * 8, 2 * ZOOM * img.w + 24 + 2 * img.w)
        h = 14 + ZOOM * img.h + 8
        cells.append((label, img, w, h))
    sheet_w = 1200
    x = y = 8
    row_h = 0
    placed = []
    for label, img, w, h in cells:
        if x + w > sheet_w - 8:
            x, y = 8, y + row_h + 12
            row_h = 0
        placed.append((x, y, label, img))
        x += w + 24
        row_h = max(row_h, h)
    sheet = Sheet(sheet_w, y + row_h + 8, PAPER)
    for x, y, label, img in placed:
        sheet.text(x, y, label, INK)
        top = y + 14
        sheet.blit(x, top, img.shown_on(GREY), 1)
        sheet.blit(x, top + img.h + 4, img.shown_on(WHITE), 1)
        zx = x + img.w + 8
        sheet.rect(zx - 1, top - 1, ZOOM * img.w + 2, ZOOM * img.h + 2, INK)
        sheet.blit(zx, top, img.shown_on(GREY), ZOOM)
        zx += ZOOM * img.w + 8
        sheet.rect(zx - 1, top - 1, ZOOM * img.w + 2, ZOOM * img.h + 2, INK)
        sheet.blit(zx, top, img.shown_on(WHITE), ZOOM)
    path = os.path.join(out_dir, 'tintora-art.png')
    with open(path, 'wb') as f:
        f.write(sheet.png())
    # One close-up per image as well, for judging single pixels.
    for label, img in items:
        z = 16
        one = Sheet(2 * z * img.w + 3 * 8 + 2 * img.w + 16, z * img.h + 16, PAPER)
        one.blit(8, 8, img.shown_on(GREY), 1)
        one.blit(8, 8 + img.h + 4, img.shown_on(WHITE), 1)
        one.blit(16 + img.w, 8, img.shown_on(GREY), z)
        one.blit(24 + img.w + z * img.w, 8, img.shown_on(WHITE), z)
        fname = '-'.join(label.split()[:3]).replace(',', '') + '.png'
        with open(os.path.join(out_dir, fname), 'wb') as f:
            f.write(one.png())
    return path


# ---------------------------------------------------------------------------

def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--check', action='store_true', help='verify the files in the art folder')
    ap.add_argument('--preview', metavar='DIR', help='write PNG contact sheets of the files in the art folder to DIR')
    ap.add_argument('--out', default=ART_DIR, help='art folder (default: %(default)s)')
    args = ap.parse_args(argv)
    if args.check:
        problems = check(args.out)
        for p in problems:
            print('FAIL', p)
        print('%d problem(s)' % len(problems) if problems else 'all resource files check out')
        return 1 if problems else 0
    if args.preview:
        print(write_preview(args.out, args.preview))
        return 0
    os.makedirs(args.out, exist_ok=True)
    for name, data in sorted(build_all().items()):
        with open(os.path.join(args.out, name), 'wb') as f:
            f.write(data)
        print('wrote', os.path.join(args.out, name), len(data), 'bytes')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
