#!/usr/bin/env python3
"""Draws the applet's icon and writes it as a Windows icon file (velm.ico).

The icon is a rounded blue tile with four rising signal bars, the usual
picture of a data connection. It holds a 32x32 and a 16x16 image, both
32 bits per pixel with an alpha channel, and the 1-bit AND mask that older
displays use. The file is committed; run this again only to change the
picture:

    python3 resources/make_icon.py resources/velm.ico
"""

import struct
import sys

BLUE = (0x1E, 0x5A, 0xB4)       # tile colour (R, G, B)
BLUE_EDGE = (0x12, 0x3C, 0x7C)  # one-pixel border of the tile
WHITE = (0xFF, 0xFF, 0xFF)


def inside_rounded(x, y, size, radius):
    """Whether pixel (x, y) lies inside a square of the given size whose
    corners are rounded with the given radius."""
    cx = min(max(x + 0.5, radius), size - radius)
    cy = min(max(y + 0.5, radius), size - radius)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2


def draw(size):
    """Returns rows top to bottom of (R, G, B, A) pixels."""
    radius = size / 5
    # Four bars from left to right, each taller than the one before, laid
    # out in whole pixels so both sizes stay crisp.
    width, gap = (4, 2) if size >= 32 else (2, 1)
    left = (size - (4 * width + 3 * gap)) // 2
    bottom = size - size // 5
    step = size // 8
    bars = []
    for i in range(4):
        x = left + i * (width + gap)
        bars.append((x, x + width, bottom - step * (i + 1) - size // 16, bottom))
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside_rounded(x, y, size, radius):
                row.append((0, 0, 0, 0))
                continue
            edge = not (inside_rounded(x - 1, y, size, radius) and
                        inside_rounded(x + 1, y, size, radius) and
                        inside_rounded(x, y - 1, size, radius) and
                        inside_rounded(x, y + 1, size, radius))
            colour = BLUE_EDGE if edge else BLUE
            for left, right, top, bottom in bars:
                if left <= x < right and top <= y < bottom:
                    colour = WHITE
            row.append(colour + (0xFF,))
        rows.append(row)
    return rows


def icon_image(size):
    """One icon image: BITMAPINFOHEADER (height doubled for the two masks),
    the colour pixels bottom-up in B, G, R, A order, then the AND mask."""
    rows = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + pixels + bytes(mask)


def icon_file(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(icon_file([32, 16]))
