#!/usr/bin/env python3
"""Draws the pictures of the sample configuration-menu skins.

The skins "VELMconfig.inf" (portrait) and "VELMconfigLS.inf" (landscape)
name the pictures below; this script draws every one of them with Python's
standard library alone and writes them next to itself:

    background.jpg, background_wide.jpg   the window's backdrop (JPEG)
    entry.png, entry_wide.png             the menu entries' cards, up, down
                                          and disabled (PNG with alpha)
    panel.png, side.png                   plain cards for the automatic-setup
                                          row and the landscape side column
                                          (PNG with alpha)
    scrollbar.png, scrollbar_wide.png     the list's slider: track, thumb and
                                          disabled thumb (PNG with alpha)
    icons.gif                             the entries' icons, on a
                                          transparent colour (GIF)
    signal.gif                            the signal meter's five states, on
                                          a transparent colour (GIF)
    switch.bmp                            the automatic-setup switch: off,
                                          on and disabled (24-bit BMP)
    lcd_digits.bmp                        the glyphs of the bitmap font
                                          (8-bit BMP, markers in its last row)

The pictures are committed; run this again only to change them:

    python3 resources/skins/make_skin_pictures.py

Shapes are drawn from signed distances, which gives smooth edges without
supersampling. Colours are (R, G, B) or (R, G, B, A) with channels 0-255.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The skins' palette.
TITLE_BLUE = (36, 84, 160)
ACCENT_BLUE = (46, 111, 208)
CARD_WHITE = (255, 255, 255)
CARD_PRESSED = (222, 235, 250)
CARD_DISABLED = (240, 242, 245)
CARD_BORDER = (200, 210, 224)
CHEVRON = (150, 164, 186)
SHADOW = (40, 60, 90)


# ---------------------------------------------------------------- canvas

class Canvas:
    """RGBA pixels, rows top to bottom, channels as floats 0-255."""

    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        c = colour if len(colour) == 4 else tuple(colour) + (255,)
        self.pixels = [[list(map(float, c)) for _ in range(width)] for _ in range(height)]

    def blend(self, x, y, colour, coverage):
        """Source-over of colour (RGB or RGBA) at coverage 0..1."""
        if coverage <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        r, g, b = colour[:3]
        a = (colour[3] if len(colour) == 4 else 255) / 255.0 * min(coverage, 1.0)
        p = self.pixels[y][x]
        ta = p[3] / 255.0
        out = a + ta * (1 - a)
        if out > 0:
            for i, s in enumerate((r, g, b)):
                p[i] = (s * a + p[i] * ta * (1 - a)) / out
        p[3] = out * 255

    def shape(self, distance, colour, box=None, soft=0.5):
        """Fills where distance(x, y) < 0, with an edge soft pixels wide."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                d = distance(x + 0.5, y + 0.5)
                self.blend(x, y, colour, 0.5 - d / (2 * soft))

    def vertical_gradient(self, top, bottom, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            c = tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
            for x in range(x0, x1):
                self.blend(x, y, c, 1.0)

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                p = other.pixels[y][x]
                self.blend(left + x, top + y, p[:3], p[3] / 255.0)

    def rgba_rows(self):
        return [[tuple(int(round(max(0, min(255, v)))) for v in p) for p in row] for row in self.pixels]

    def rgb_rows_over(self, backdrop):
        """Rows of RGB with the canvas laid over a solid backdrop colour."""
        rows = []
        for row in self.pixels:
            out = []
            for p in row:
                a = p[3] / 255.0
                out.append(tuple(int(round(p[i] * a + backdrop[i] * (1 - a))) for i in range(3)))
            rows.append(out)
        return rows


# Signed distances (negative inside).

def rounded_box(cx, cy, half_w, half_h, radius):
    def d(x, y):
        qx = abs(x - cx) - half_w + radius
        qy = abs(y - cy) - half_h + radius
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - radius
    return d


def rect_box(left, top, right, bottom, radius):
    return rounded_box((left + right) / 2, (top + bottom) / 2, (right - left) / 2, (bottom - top) / 2, radius)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def ellipse_ring(cx, cy, rx, ry, width):
    def d(x, y):
        # Distance to an ellipse, approximated by scaling: good for the
        # thin outlines of the icons.
        k = math.hypot((x - cx) / rx, (y - cy) / ry)
        return abs(k - 1) * min(rx, ry) - width / 2
    return d


def segment(ax, ay, bx, by, width):
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
        return math.hypot(px - vx * t, py - vy * t) - width / 2
    return d


def triangle(a, b, c):
    def d(x, y):
        def edge(p, q):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
        e = [edge(a, b), edge(b, c), edge(c, a)]
        inside = all(v >= 0 for v in e) or all(v <= 0 for v in e)
        dist = min(segment(*a, *b, 0)(x, y), segment(*b, *c, 0)(x, y), segment(*c, *a, 0)(x, y))
        return -dist if inside else dist
    return d


def union(*ds):
    return lambda x, y: min(d(x, y) for d in ds)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


# ---------------------------------------------------------------- writers

def write_png(path, rows, alpha):
    """8-bit RGB or RGBA."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw.extend(p[:4] if alpha else p[:3])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def write_bmp24(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in (p[:3] for p in row):
            line.extend((b, g, r))
        pixels.extend(line + b"\0" * (stride - len(line)))
    write_bmp(path, width, height, 24, b"", bytes(pixels))


def write_bmp8(path, indices, palette):
    height, width = len(indices), len(indices[0])
    stride = (width + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(indices):
        pixels.extend(bytes(row) + b"\0" * (stride - width))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    write_bmp(path, width, height, 8, table, bytes(pixels), len(palette))


def write_bmp(path, width, height, bits, table, pixels, colours=0):
    offset = 14 + 40 + len(table)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 3780, 3780, colours, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + pixels)


def write_gif(path, indices, palette, transparent):
    """A GIF89a of palette indices (palette padded to a power of two)."""
    height, width = len(indices), len(indices[0])
    bits = max(1, (len(palette) - 1).bit_length())
    size = 1 << bits
    table = b"".join(bytes(c) for c in palette) + b"\0\0\0" * (size - len(palette))
    out = bytearray(b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | (bits - 1), 0, 0) + table)
    if transparent is not None:
        out += b"!\xf9\x04\x01\x00\x00" + bytes((transparent,)) + b"\0"
    out += b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    minimum = max(2, bits)
    out.append(minimum)
    data = lzw(bytes(p for row in indices for p in row), minimum)
    for i in range(0, len(data), 255):
        piece = data[i:i + 255]
        out.append(len(piece))
        out += piece
    out += b"\0;"
    with open(path, "wb") as f:
        f.write(out)


def lzw(pixels, minimum):
    clear, end = 1 << minimum, (1 << minimum) + 1
    size, nxt = minimum + 1, clear + 2
    table = {}
    out, buf, count = bytearray(), 0, 0

    def put(code):
        nonlocal buf, count
        buf |= code << count
        count += size
        while count >= 8:
            out.append(buf & 0xFF)
            buf >>= 8
            count -= 8

    put(clear)
    w = None
    for p in pixels:
        if w is None:
            w = p
            continue
        if (w, p) in table:
            w = table[(w, p)]
            continue
        put(w)
        table[(w, p)] = nxt
        nxt += 1
        if nxt > (1 << size) and size < 12:
            size += 1
        if nxt == 4096:
            put(clear)
            table, size, nxt = {}, minimum + 1, clear + 2
        w = p
    if w is not None:
        put(w)
    put(end)
    if count:
        out.append(buf & 0xFF)
    return bytes(out)


def palette_of(rgb_rows, keep_out=None):
    """Indices and a palette of at most 255 colours (one index is left for
    the transparent colour), merging near colours when there are more."""
    for step in (1, 4, 8, 16, 32):
        colours = {}
        for row in rgb_rows:
            for p in row:
                if p is None:
                    continue
                key = tuple(min(255, (c + step // 2) // step * step) for c in p)
                colours.setdefault(key, len(colours))
        if len(colours) <= 255:
            break
    palette = list(colours)
    indices = []
    for row in rgb_rows:
        line = []
        for p in row:
            if p is None:
                line.append(len(palette))
            else:
                line.append(colours[tuple(min(255, (c + step // 2) // step * step) for c in p)])
        indices.append(line)
    return indices, palette


# A baseline JPEG writer: 4:4:4 YCbCr, Huffman tables made for the picture.

ZIGZAG = sorted(((u, v) for u in range(8) for v in range(8)),
                key=lambda p: (p[0] + p[1], p[1] if (p[0] + p[1]) % 2 == 0 else p[0]))


def write_jpeg(path, rgb_rows):
    height, width = len(rgb_rows), len(rgb_rows[0])
    planes = [[[0.0] * width for _ in range(height)] for _ in range(3)]
    for y, row in enumerate(rgb_rows):
        for x, (r, g, b) in enumerate(p[:3] for p in row):
            planes[0][y][x] = 0.299 * r + 0.587 * g + 0.114 * b - 128
            planes[1][y][x] = -0.168736 * r - 0.331264 * g + 0.5 * b
            planes[2][y][x] = 0.5 * r - 0.418688 * g - 0.081312 * b
    quant = [[[2 + u + v for v in range(8)] for u in range(8)],
             [[3 + 2 * (u + v) for v in range(8)] for u in range(8)]]
    basis = [[(math.sqrt(0.5) if u == 0 else 1.0) / 2 * math.cos((2 * x + 1) * u * math.pi / 16)
              for x in range(8)] for u in range(8)]

    blocks = []  # per MCU: three lists of 64 zigzag coefficients
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            mcu = []
            for c in range(3):
                f = [[planes[c][min(by + y, height - 1)][min(bx + x, width - 1)] for x in range(8)] for y in range(8)]
                rowsT = [[sum(basis[v][x] * f[y][x] for x in range(8)) for v in range(8)] for y in range(8)]
                F = [[sum(basis[u][y] * rowsT[y][v] for y in range(8)) for v in range(8)] for u in range(8)]
                q = quant[0 if c == 0 else 1]
                mcu.append([int(round(F[u][v] / q[u][v])) for (u, v) in ZIGZAG])
            blocks.append(mcu)

    # Symbols per table: 0 DC luma, 1 AC luma, 2 DC chroma, 3 AC chroma.
    def category(v):
        return abs(v).bit_length()

    def symbols(coefs, previous_dc):
        diff = coefs[0] - previous_dc
        out = [("dc", category(diff), diff)]
        run = 0
        for k in range(1, 64):
            v = coefs[k]
            if v == 0:
                run += 1
                continue
            while run > 15:
                out.append(("ac", 0xF0, 0))
                run -= 16
            out.append(("ac", (run << 4) | category(v), v))
            run = 0
        if run:
            out.append(("ac", 0x00, 0))
        return out

    streams, counts = [], [{}, {}, {}, {}]
    previous = [0, 0, 0]
    for mcu in blocks:
        for c in range(3):
            syms = symbols(mcu[c], previous[c])
            previous[c] = mcu[c][0]
            streams.append((c, syms))
            for kind, sym, _ in syms:
                t = (0 if kind == "dc" else 1) + (0 if c == 0 else 2)
                counts[t][sym] = counts[t].get(sym, 0) + 1
    tables = [huffman_table(cnt) for cnt in counts]

    bits = BitWriter()
    for c, syms in streams:
        for kind, sym, value in syms:
            t = (0 if kind == "dc" else 1) + (0 if c == 0 else 2)
            code, length = tables[t][2][sym]
            bits.put(code, length)
            size = sym & 0x0F if kind == "ac" else sym
            if size:
                bits.put(value if value >= 0 else value + (1 << size) - 1, size)
    scan = bits.finish()

    def segment_bytes(marker, payload):
        return struct.pack(">HH", marker, len(payload) + 2) + payload

    out = b"\xff\xd8"
    out += segment_bytes(0xFFE0, b"JFIF\0\x01\x01\x01" + struct.pack(">HH", 96, 96) + b"\0\0")
    for t, q in enumerate(quant):
        out += segment_bytes(0xFFDB, bytes((t,)) + bytes(q[u][v] for (u, v) in ZIGZAG))
    out += segment_bytes(0xFFC0, struct.pack(">BHHB", 8, height, width, 3) +
                         bytes((1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1)))
    for t, (lengths, values, _) in enumerate(tables):
        klass, ident = (0 if t % 2 == 0 else 1), (0 if t < 2 else 1)
        out += segment_bytes(0xFFC4, bytes(((klass << 4) | ident,)) + bytes(lengths) + bytes(values))
    out += segment_bytes(0xFFDA, bytes((3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0)))
    out += scan + b"\xff\xd9"
    with open(path, "wb") as f:
        f.write(out)


def huffman_table(counts):
    """Code lengths limited to 16 bits, as the JPEG standard's annex K
    makes them; returns (count per length, symbols, {symbol: (code, length)})."""
    import heapq
    freq = dict(counts)
    reserved = 256  # takes the all-ones code, which JPEG forbids
    freq[reserved] = 0
    heap = [(f, s, (s,)) for s, f in freq.items()]
    heapq.heapify(heap)
    length = {s: 0 for s in freq}
    if len(heap) == 1:
        length[heap[0][1]] = 1
    while len(heap) > 1:
        f1, s1, m1 = heapq.heappop(heap)
        f2, s2, m2 = heapq.heappop(heap)
        for s in m1 + m2:
            length[s] += 1
        heapq.heappush(heap, (f1 + f2, min(s1, s2), m1 + m2))
    per_length = [0] * 33
    for s, l in length.items():
        per_length[l] += 1
    for i in range(32, 16, -1):
        while per_length[i] > 0:
            j = i - 2
            while per_length[j] == 0:
                j -= 1
            per_length[i] -= 2
            per_length[i - 1] += 1
            per_length[j + 1] += 2
            per_length[j] -= 1
    order = sorted(freq, key=lambda s: (length[s], -freq[s], s))
    order.remove(reserved)
    order.append(reserved)
    last = max(i for i in range(17) if per_length[i] > 0)
    per_length[last] -= 1
    order.pop()
    codes, code, k = {}, 0, 0
    for l in range(1, 17):
        for _ in range(per_length[l]):
            codes[order[k]] = (code, l)
            code += 1
            k += 1
        code <<= 1
    return per_length[1:17], order, codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, length):
        self.acc = (self.acc << length) | (value & ((1 << length) - 1))
        self.count += length
        while self.count >= 8:
            byte = (self.acc >> (self.count - 8)) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)
            self.count -= 8
        self.acc &= (1 << self.count) - 1

    def finish(self):
        if self.count:
            self.put((1 << (8 - self.count)) - 1, 8 - self.count)
        return bytes(self.out)


# ---------------------------------------------------------------- pictures

def backdrop(width, height):
    """A quiet vertical wash with a broad, faint light from the top left."""
    c = Canvas(width, height, (244, 247, 251))
    c.vertical_gradient((246, 249, 253), (218, 227, 239))
    glow = circle(-width * 0.1, -height * 0.3, height * 0.9)
    for y in range(height):
        for x in range(width):
            t = max(0.0, min(1.0, -glow(x + 0.5, y + 0.5) / (height * 0.9)))
            c.blend(x, y, (255, 255, 255), 0.35 * t)
    return c.rgb_rows_over((255, 255, 255))


def cards(width, height):
    """The entry card in three states stacked: up, down, disabled. The card
    leaves two pixels below for its shadow; a chevron points right."""
    sheet = Canvas(width, 3 * height)
    body_bottom = height - 3
    fills = (CARD_WHITE, CARD_PRESSED, CARD_DISABLED)
    chevrons = (CHEVRON, ACCENT_BLUE, (200, 205, 212))
    for state, (fill, chevron) in enumerate(zip(fills, chevrons)):
        top = state * height
        shadow = rect_box(1, top + 2, width - 1, top + body_bottom + 2, 7)
        sheet.shape(shadow, SHADOW + (38,), soft=1.6)
        body = rect_box(1, top + 0.5, width - 1, top + body_bottom, 7)
        sheet.shape(body, CARD_BORDER)
        inner = rect_box(2, top + 1.5, width - 2, top + body_bottom - 1, 6)
        sheet.shape(inner, fill)
        if state == 1:
            # A blue edge on the left marks the pressed card.
            bar = intersect(inner, lambda x, y: x - 5)
            sheet.shape(bar, ACCENT_BLUE)
        mid = top + body_bottom / 2
        cx = width - 12
        arrow = union(segment(cx - 3, mid - 5, cx + 2, mid, 2.2), segment(cx + 2, mid, cx - 3, mid + 5, 2.2))
        sheet.shape(arrow, chevron, box=(cx - 8, mid - 9, cx + 6, mid + 9))
    return sheet.rgba_rows()


def panel(width, height):
    """A plain card: white, rounded, a soft shadow in the last 3 rows."""
    sheet = Canvas(width, height)
    body_bottom = height - 3
    sheet.shape(rect_box(1, 2, width - 1, body_bottom + 2, 7), SHADOW + (38,), soft=1.6)
    sheet.shape(rect_box(1, 0.5, width - 1, body_bottom, 7), CARD_BORDER)
    sheet.shape(rect_box(2, 1.5, width - 2, body_bottom - 1, 6), CARD_WHITE)
    return sheet.rgba_rows()


def scrollbar(length):
    """Track (x 0-7), thumb (x 8-15) and disabled thumb (x 16-23) of an
    8-pixel-wide vertical slider."""
    thumb = 36
    sheet = Canvas(24, length)
    sheet.shape(rect_box(2, 0.5, 6, length - 0.5, 2), (205, 214, 228))
    sheet.shape(rect_box(3, 1.5, 5, length - 1.5, 1), (228, 234, 242))
    for left, colour in ((8, (118, 152, 204)), (16, (196, 202, 212))):
        sheet.shape(rect_box(left + 0.5, 0.5, left + 7.5, thumb - 0.5, 3.5), colour)
        sheet.shape(rect_box(left + 2, 2, left + 4, thumb - 2, 1), (255, 255, 255, 70))
    return sheet.rgba_rows()


def icon_internet(c, x, y, colour):
    cx, cy = x + 12, y + 12
    c.shape(ring(cx, cy, 9, 1.8), colour)
    c.shape(ellipse_ring(cx, cy, 4, 9, 1.5), colour)
    c.shape(intersect(segment(cx - 9, cy, cx + 9, cy, 1.5), circle(cx, cy, 9)), colour)
    for dy in (-5, 5):
        half = math.sqrt(81 - dy * dy)
        c.shape(segment(cx - half + 1, cy + dy, cx + half - 1, cy + dy, 1.3), colour)


def icon_sms(c, x, y, colour):
    bubble = union(rect_box(x + 2, y + 4, x + 22, y + 17, 4),
                   triangle((x + 6, y + 15), (x + 12, y + 15), (x + 5, y + 21)))
    c.shape(bubble, colour)
    for dx in (7, 12, 17):
        c.shape(circle(x + dx, y + 10.5, 1.5), (255, 255, 255))


def icon_mms(c, x, y, colour):
    frame = rect_box(x + 2, y + 4, x + 22, y + 20, 2.5)
    c.shape(frame, colour)
    c.shape(rect_box(x + 4, y + 6, x + 20, y + 18, 1), (255, 255, 255))
    c.shape(intersect(triangle((x + 4, y + 18), (x + 10, y + 10), (x + 16, y + 18)), frame), colour)
    c.shape(intersect(triangle((x + 11, y + 18), (x + 15, y + 13), (x + 20, y + 18)), frame), colour)
    c.shape(circle(x + 16.5, y + 9.5, 1.8), (240, 180, 40))


def icon_wap(c, x, y, colour):
    """A handset whose screen shows a globe: the phone's own web pages."""
    body = rect_box(x + 5, y + 1, x + 19, y + 23, 3)
    c.shape(body, colour)
    c.shape(rect_box(x + 7, y + 3.5, x + 17, y + 17, 1), (255, 255, 255))
    c.shape(circle(x + 12, y + 20, 1.3), (255, 255, 255))
    gx, gy = x + 12, y + 10.2
    c.shape(ring(gx, gy, 4, 1.2), colour)
    c.shape(ellipse_ring(gx, gy, 1.8, 4, 1.0), colour)
    c.shape(segment(gx - 4, gy, gx + 4, gy, 1.0), colour)


def icons():
    """Four 24x24 icons side by side, drawn for a white card: the
    transparent colour shows the card through."""
    sheet = Canvas(96, 24)
    icon_internet(sheet, 0, 0, ACCENT_BLUE)
    icon_sms(sheet, 24, 0, (46, 158, 79))
    icon_mms(sheet, 48, 0, (232, 134, 42))
    icon_wap(sheet, 72, 0, (122, 79, 192))
    return to_gif_rows(sheet, CARD_WHITE)


def signal_states():
    """The signal meter's states stacked, 28x20 each: four bars lit down to
    none lit (state 1 strongest), drawn for the title bar's blue."""
    sheet = Canvas(28, 100)
    for state in range(5):
        lit = 4 - state
        top = state * 20
        for i in range(4):
            h = 5 + 3 * i
            left = 3 + i * 6
            colour = (255, 255, 255) if i < lit else (255, 255, 255, 90)
            sheet.shape(rect_box(left, top + 17 - h, left + 4, top + 17, 1), colour)
    return to_gif_rows(sheet, (46, 110, 190))


def to_gif_rows(canvas, backdrop):
    """RGB rows for a GIF: nearly clear pixels become None (transparent),
    others are laid over the backdrop they will be shown on."""
    rows = []
    for row in canvas.pixels:
        line = []
        for p in row:
            a = p[3] / 255.0
            if a < 0.12:
                line.append(None)
            else:
                line.append(tuple(int(round(p[i] * a + backdrop[i] * (1 - a))) for i in range(3)))
        rows.append(line)
    return rows


def switch():
    """44x24 toggles on a white panel: off, on, disabled, stacked."""
    sheet = Canvas(44, 72, (255, 255, 255, 255))
    looks = (((214, 220, 230), 8), (ACCENT_BLUE, 34), ((232, 235, 240), 8))
    for state, (track, knob_x) in enumerate(looks):
        top = state * 24
        sheet.shape(rect_box(2, top + 3, 42, top + 21, 9), track)
        sheet.shape(circle(knob_x + 1, top + 12.8, 8), SHADOW + (50,), soft=1.2)
        knob = (255, 255, 255) if state != 2 else (246, 247, 249)
        sheet.shape(circle(knob_x + 1, top + 12, 7.5), knob)
    return sheet.rgb_rows_over((255, 255, 255))


# 5x7 digits for the session time, one string per row, '#' ink.
DIGITS = {
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "5": ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    "6": ["  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "],
    "7": ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    "8": [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    "9": [" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "],
    ":": ["     ", "  #  ", "  #  ", "     ", "  #  ", "  #  ", "     "],
}


def lcd_digits():
    """Glyphs for the codes 32 (space) to 58 (':'): 0 ink, 255 paper, and a
    last row with 255 at each glyph's first column. Glyphs the skins do not
    use are blank."""
    glyphs = []
    for code in range(32, 59):
        ch = chr(code)
        if ch in DIGITS:
            glyphs.append(DIGITS[ch] if ch != ":" else [r[1:4] for r in DIGITS[ch]])
        else:
            glyphs.append(["   "] * 7)
    width = sum(len(g[0]) + 1 for g in glyphs)
    rows = [[255] * width for _ in range(8)]
    x = 0
    for g in glyphs:
        for y, line in enumerate(g):
            for i, ch in enumerate(line):
                if ch == "#":
                    rows[y][x + i] = 0
        rows[7][x] = 255
        for i in range(1, len(g[0]) + 1):
            rows[7][x + i] = 0
        x += len(g[0]) + 1
    return rows


def main():
    out = lambda name: os.path.join(HERE, name)
    write_jpeg(out("background.jpg"), backdrop(240, 268))
    write_jpeg(out("background_wide.jpg"), backdrop(320, 188))
    write_png(out("entry.png"), cards(222, 42), alpha=True)
    write_png(out("entry_wide.png"), cards(222, 38), alpha=True)
    write_png(out("panel.png"), panel(222, 32), alpha=True)
    write_png(out("side.png"), panel(72, 150), alpha=True)
    write_png(out("scrollbar.png"), scrollbar(168), alpha=True)
    write_png(out("scrollbar_wide.png"), scrollbar(150), alpha=True)
    indices, palette = palette_of(icons())
    write_gif(out("icons.gif"), indices, palette + [(255, 0, 255)], len(palette))
    indices, palette = palette_of(signal_states())
    write_gif(out("signal.gif"), indices, palette + [(255, 0, 255)], len(palette))
    write_bmp24(out("switch.bmp"), switch())
    write_bmp8(out("lcd_digits.bmp"), lcd_digits(), [(i, i, i) for i in range(256)])


if __name__ == "__main__":
    main()
