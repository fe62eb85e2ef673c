#!/usr/bin/env python3
"""Make src/res/dunko.ico, the application icon.

The icon shows a red toy hammer (yellow caps, yellow handle) coming down on
a grey mole that peeks out of its hole.  It holds two images, 32 x 32 and
16 x 16, both 16-colour (4 bits per pixel) with the standard Windows VGA
palette, in the classic ICO layout: BITMAPINFOHEADER with doubled height,
colour table, bottom-up 4-bit colour bitmap, then the 1-bit AND mask
(1 = transparent).

The pictures are drawn by hand below, one character per pixel, so they can
be edited directly.  Rerun from the repository root:
    python3 tools/make_icon.py
"""

import os
import struct

OUT_PATH = os.path.join("src", "res", "dunko.ico")

# The 16 standard Windows colours, in palette order (R, G, B).
VGA_PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Character -> palette index; "." is transparent.
KEY = {
    "K": 0,   # black outline, eyes, hole
    "M": 1,   # maroon: earth around the hole, hammer ridges
    "O": 3,   # olive: shaded side of the handle
    "S": 7,   # silver: muzzle, fur highlight
    "G": 8,   # grey: fur
    "R": 9,   # red: hammer head
    "Y": 11,  # yellow: hammer caps and handle
    "P": 13,  # pink: nose and paws
    "W": 15,  # white: eye glints, claws, hammer shine
}

ICON_32 = """
........KKKKKKKKKKKK............
........KYYYYYYYYYYK............
........KYYYYYYYYYYK............
........KRWRRRRRRRMK............
........KRWRRRRRRRMKKKKKKKKKKKKK
........KMMMMMMMMMMKYYYYYYYYYYYK
........KRWRRRRRRRMKOOOOOOOOOOOK
........KMMMMMMMMMMKKKKKKKKKKKKK
........KRWRRRRRRRMK............
........KYYYYYYYYYYK............
........KYYYYYYYYYYK............
........KKKKKKKKKKKK............
................................
............KKKKKKKK............
..........KKKGGGGGGKKK..........
........KKGGSSSGGGGGGGKK........
.......KKGSSSGGGGGGGGGGKK.......
......KKGGSGGGGGGGGGGGGGKK......
......KGGGGGGGGGGGGGGGGGGK......
.....KGGGGWKGGGGGGGGWKGGGGK.....
.....KGGGGKKGGGGGGGGKKGGGGK.....
.....KGGGGKKGGGGGGGGKKGGGGK.....
.....KGGGGGGGGGGGGGGGGGGGGK.....
.....KGGGGGGGGWPPPGGGGGGGGK.....
.....KGGGGGGSSPPPPSSGGGGGGK.....
.....KGGGGGSSSSPPSSSSGGGGGK.....
...KKKGGGGGSSSSSSSSSSGGGGGKKK...
.KMMKPPPKGGGSSSSSSSSGGGKPPPKMMK.
KMMMKPPPPKGGGGSSSSGGGGKPPPPKMMMK
.KMMMKWWWKGGGGGGGGGGGGKWWWKMMMK.
...KKKMMMMMMMMMMMMMMMMMMMMKKK...
.........KKKKKKKKKKKKKK.........
"""

ICON_16 = """
..KKKKKKK.......
..KYYYYYK.......
..KRWRRMKKKKKKKK
..KRWRRMKYYYYYYK
..KRWRRMKKKKKKKK
..KYYYYYK.......
..KKKKKKKKK.....
...KKGGGGGGKK...
..KGGGGGGGGGGK..
..KGWKGGGGWKGK..
..KGKKGGGGKKGK..
..KGGGSPPSGGGK..
.KKGGSSPPSSGGKK.
KMMKGGSSSSGGKMMK
KMMMKKKKKKKKMMMK
.KKKMMMMMMMMKKK.
"""


def parse(art, size):
    rows = [line for line in art.strip().splitlines()]
    assert len(rows) == size and all(len(r) == size for r in rows), "bad grid"
    return rows


def image_bytes(rows):
    """One icon image: header, colour table, XOR (colour) and AND (mask)
    bitmaps, both stored bottom row first with rows padded to 4 bytes."""
    size = len(rows)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor, mask = b"", b""
    for row in reversed(rows):
        # Transparent pixels are black in the colour bitmap, 1 in the mask.
        nibbles = [KEY.get(ch, 0) for ch in row]
        packed = bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, size, 2))
        xor += packed + b"\0" * (xor_row - len(packed))
        bits = 0
        for ch in row:
            bits = bits << 1 | (ch == ".")
        packed = bits.to_bytes(size // 8, "big")
        mask += packed + b"\0" * (and_row - len(packed))
    header = struct.pack("<IiiHHIIiiII",
                         40, size, size * 2,  # height covers colour + mask
                         1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA_PALETTE)
    assert len(table) == 64
    assert len(xor) == xor_row * size and len(mask) == and_row * size
    return header + table + xor + mask


def main():
    images = [image_bytes(parse(ICON_32, 32)), image_bytes(parse(ICON_16, 16))]
    assert [len(i) for i in images] == [40 + 64 + 512 + 128, 40 + 64 + 128 + 64]
    out = struct.pack("<HHH", 0, 1, len(images))  # reserved, type 1 = icon, count
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    assert len(out) == offset == 1078
    os.makedirs(os.path.dirname(OUT_PATH), exist_ok=True)
    with open(OUT_PATH, "wb") as f:
        f.write(out)
    print("%s: %d bytes (32x32 and 16x16, 4 bpp)" % (OUT_PATH, len(out)))


if __name__ == "__main__":
    main()
