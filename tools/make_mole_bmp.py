#!/usr/bin/env python3
"""Make src/res/mole.bmp, the mole that pops out of a hole.

The picture is 49 x 54 pixels: a brown soil background, a dark hole at the
bottom and a round grey-brown mole head peeking out of it, with black eyes,
a pink nose, whiskers and two pink paws gripping the rim.  Every pixel is
painted (no transparency).

It is drawn from simple shapes (ellipses, lines) with 4 x 4 supersampling
for smooth edges, then the colours are reduced to a small palette with a
median cut.  The result is saved as an 8-bit, uncompressed, bottom-up
Windows BMP with a full 256-entry colour table (unused entries are black).
The few "random" soil specks come from a fixed seed, so the output is
always the same.

Rerun from the repository root:
    python3 tools/make_mole_bmp.py
"""

import math
import os
import random
import struct

OUT_PATH = os.path.join("src", "res", "mole.bmp")
WIDTH, HEIGHT = 49, 54
SUPERSAMPLE = 4
MAX_COLOURS = 64

# Colours (R, G, B)
SOIL_TOP = (150, 104, 62)
SOIL_BOTTOM = (118, 78, 44)
SPECK_DARK = (96, 62, 34)
SPECK_LIGHT = (178, 134, 88)
RIM = (170, 122, 74)
HOLE = (34, 20, 14)
HOLE_INNER = (18, 10, 8)
FUR = (92, 76, 72)
FUR_LIGHT = (140, 120, 112)
FUR_DARK = (62, 50, 48)
MUZZLE = (206, 174, 150)
NOSE = (238, 120, 146)
NOSE_LIGHT = (255, 200, 214)
CHEEK = (222, 140, 150)
EYE = (12, 10, 12)
GLINT = (255, 255, 255)
WHISKER = (40, 30, 28)
PAW = (236, 164, 164)
CLAW = (250, 238, 214)

# Hole: an ellipse across the bottom of the picture.
HOLE_CX, HOLE_CY, HOLE_RX, HOLE_RY = 24.5, 45.5, 22.0, 6.0
# Head/body: a tall ellipse that disappears into the hole.
HEAD_CX, HEAD_CY, HEAD_RX, HEAD_RY = 24.5, 26.5, 17.0, 19.5


def mix(a, b, t):
    """Blend colour a towards colour b by t (0..1)."""
    return tuple(int(round(p + (q - p) * t)) for p, q in zip(a, b))


def inside_ellipse(x, y, cx, cy, rx, ry):
    dx, dy = (x - cx) / rx, (y - cy) / ry
    return dx * dx + dy * dy <= 1.0


def near_segment(x, y, x0, y0, x1, y1, half_width):
    """True if (x, y) is within half_width of the segment (x0,y0)-(x1,y1)."""
    vx, vy = x1 - x0, y1 - y0
    t = ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)
    t = max(0.0, min(1.0, t))
    px, py = x0 + t * vx, y0 + t * vy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width


def make_specks():
    rng = random.Random(4649)
    specks = []
    while len(specks) < 22:
        x, y = rng.uniform(1, 48), rng.uniform(1, 40)
        # Keep specks off the mole so they only show on bare soil.
        if inside_ellipse(x, y, HEAD_CX, HEAD_CY, HEAD_RX + 2, HEAD_RY + 2):
            continue
        colour = SPECK_LIGHT if rng.random() < 0.5 else SPECK_DARK
        specks.append((x, y, rng.uniform(0.6, 1.1), colour))
    return specks


SPECKS = make_specks()

# Whiskers: three on each side, fanning out from the muzzle.
WHISKERS = []
for side in (-1, 1):
    for (dy0, dy1) in ((-1.0, -3.0), (0.5, 0.5), (2.0, 4.0)):
        WHISKERS.append((24.5 + side * 6.0, 34.0 + dy0,
                         24.5 + side * 15.5, 34.0 + dy1))

# Paws resting on the front of the hole rim, each with three claws.
PAWS = [(13.0, 42.5), (36.0, 42.5)]


def mole_visible(x, y):
    """The mole shows above the hole's centre line and, below it, only
    inside the hole (the front rim hides the rest)."""
    if not inside_ellipse(x, y, HEAD_CX, HEAD_CY, HEAD_RX, HEAD_RY):
        return False
    return y < HOLE_CY or inside_ellipse(x, y, HOLE_CX, HOLE_CY, HOLE_RX, HOLE_RY)


def colour_at(x, y):
    """Colour of the point (x, y) in pixel units, y going down.
    Later layers paint over earlier ones."""
    # Soil, slightly lighter towards the top.
    c = mix(SOIL_TOP, SOIL_BOTTOM, y / HEIGHT)
    for sx, sy, r, sc in SPECKS:
        if inside_ellipse(x, y, sx, sy, r * 1.3, r):
            c = sc

    # Hole with a raised rim of loose earth around it.
    if inside_ellipse(x, y, HOLE_CX, HOLE_CY + 0.5, HOLE_RX + 2.0, HOLE_RY + 2.2):
        c = RIM
    if inside_ellipse(x, y, HOLE_CX, HOLE_CY, HOLE_RX, HOLE_RY):
        c = HOLE
        if inside_ellipse(x, y, HOLE_CX, HOLE_CY + 1.0, HOLE_RX - 4, HOLE_RY - 2.5):
            c = HOLE_INNER

    # A little tuft of hair on top of the head.
    for k in (-1, 0, 1):
        if near_segment(x, y, 24.5 + k * 1.6, HEAD_CY - HEAD_RY + 1.5,
                        24.5 + k * 3.2, HEAD_CY - HEAD_RY - 2.2, 0.6):
            c = FUR_DARK

    if not mole_visible(x, y):
        return c

    # Fur: lit from the upper left, so it fades from light to dark with the
    # distance from a highlight spot, plus a darker edge on the lower right.
    d = math.hypot(x - (HEAD_CX - 6.0), y - (HEAD_CY - 12.0)) / 30.0
    c = mix(FUR_LIGHT, FUR, min(1.0, d * 2.0))
    if d > 0.5:
        c = mix(FUR, FUR_DARK, min(1.0, (d - 0.5) * 2.5))
    if not inside_ellipse(x, y, HEAD_CX - 1.0, HEAD_CY - 1.0, HEAD_RX - 0.8, HEAD_RY - 0.4):
        c = FUR_DARK
    # The part of the body down inside the hole is in shadow.
    if y > HOLE_CY - 1.0:
        c = FUR_DARK

    # Pale muzzle and rosy cheeks.
    if inside_ellipse(x, y, 24.5, 34.0, 8.0, 6.0):
        c = MUZZLE
    for cx in (12.5, 36.5):
        if inside_ellipse(x, y, cx, 30.0, 2.4, 1.5):
            c = CHEEK

    # Eyes: small black ovals with a white glint.
    for cx in (18.0, 31.0):
        if inside_ellipse(x, y, cx, 25.0, 2.0, 2.5):
            c = EYE
            if inside_ellipse(x, y, cx - 0.6, 24.0, 0.8, 0.8):
                c = GLINT

    # Whiskers go under the nose but over fur and muzzle.
    for x0, y0, x1, y1 in WHISKERS:
        if near_segment(x, y, x0, y0, x1, y1, 0.35):
            c = WHISKER

    # Pink nose with a highlight.
    if inside_ellipse(x, y, 24.5, 31.0, 4.0, 3.0):
        c = NOSE
        if inside_ellipse(x, y, 23.0, 30.0, 1.4, 0.9):
            c = NOSE_LIGHT
    return c


def paw_colour(x, y, base):
    """Paws are drawn last, over the rim, so they look like they grip it."""
    for px, py in PAWS:
        if inside_ellipse(x, y, px, py, 5.0, 3.2):
            base = PAW
            for k in (-1, 0, 1):
                if near_segment(x, y, px + k * 2.6, py - 0.5, px + k * 3.4, py + 3.3, 0.55):
                    base = CLAW
    return base


def render_rgb():
    """Average SUPERSAMPLE x SUPERSAMPLE points inside each pixel."""
    n = SUPERSAMPLE
    rows = []
    for py in range(HEIGHT):
        row = []
        for px in range(WIDTH):
            acc = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = px + (sx + 0.5) / n
                    y = py + (sy + 0.5) / n
                    c = paw_colour(x, y, colour_at(x, y))
                    for i in range(3):
                        acc[i] += c[i]
            row.append(tuple((a + n * n // 2) // (n * n) for a in acc))
        rows.append(row)
    return rows


def median_cut(colours, max_colours):
    """Split the set of distinct colours into boxes along their widest
    channel until there are max_colours boxes; each box becomes the
    average of its colours (weighted by how many pixels use them)."""
    boxes = [sorted(colours.items())]
    while len(boxes) < max_colours:
        best, best_range, best_ch = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[ch] for c, _ in box]
                if max(vals) - min(vals) > best_range:
                    best, best_range, best_ch = i, max(vals) - min(vals), ch
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: (item[0][best_ch], item[0]))
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    palette = []
    for box in boxes:
        total = sum(w for _, w in box)
        palette.append(tuple((sum(c[ch] * w for c, w in box) + total // 2) // total
                             for ch in range(3)))
    return palette


def nearest(palette, c):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], c)))


def bmp_bytes(palette, indices):
    row_size = (WIDTH + 3) // 4 * 4
    image_size = row_size * HEIGHT
    info = struct.pack("<IiiHHIIiiII",
                       40, WIDTH, HEIGHT,  # positive height: rows bottom-up
                       1, 8, 0,            # one plane, 8 bpp, BI_RGB
                       image_size, 2835, 2835,  # 72 dpi
                       256, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    table += b"\0" * (1024 - len(table))  # unused entries are black
    pixels = b"".join(bytes(indices[y]) + b"\0" * (row_size - WIDTH)
                      for y in reversed(range(HEIGHT)))
    dib = info + table + pixels
    assert len(info) == 40 and len(table) == 1024 and len(pixels) == 2808
    assert len(dib) == 3872
    off_bits = 14 + 40 + 1024
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, off_bits)
    return file_header + dib


def main():
    rgb = render_rgb()
    counts = {}
    for row in rgb:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    palette = median_cut(counts, MAX_COLOURS)
    lookup = {c: nearest(palette, c) for c in counts}
    indices = [[lookup[c] for c in row] for row in rgb]
    blob = bmp_bytes(palette, indices)
    assert len(blob) == 3886
    assert struct.unpack_from("<I", blob, 10)[0] == 1078
    assert struct.unpack_from("<I", blob, 34)[0] == 2808
    os.makedirs(os.path.dirname(OUT_PATH), exist_ok=True)
    with open(OUT_PATH, "wb") as f:
        f.write(blob)
    print("%s: %d bytes (%d x %d, %d colours used)"
          % (OUT_PATH, len(blob), WIDTH, HEIGHT, len(palette)))


if __name__ == "__main__":
    main()
