#!/usr/bin/env python3
"""Draws the program's images and writes them in the formats the build uses.

  icons/sacotin.png   32 x 32 window icon, 8-bit palette with a transparent colour
  icons/sacotin-N.png the same icon drawn N pixels wide, for the small icon (16) and for 125 %,
                      150 % and 200 % display scaling (20, 24, 40, 48, 64)
  sacotin.ico         every size of the icon for the Windows resource file (8-bit palette
                      bitmaps)
  images/picture.jpg  40 x 41 picture shown in the Help and About windows (baseline JPEG), and
                      images/picture@Fx.jpg the same drawn for scaling F (1.25, 1.5, 2)

Standard library only, and deterministic: running it again rewrites identical files.
Usage: python3 resources/make_images.py   (writes beside this script)
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

TRANSPARENT = None  # a pixel without colour (icon background)


# ---------------------------------------------------------------------------------------------
# Drawing: a sack of coins, the program's motif. Colours are picked from small fixed ramps so
# that the icon stays well within 256 colours.

SKY_TOP = (70, 110, 190)
SKY_BOTTOM = (170, 200, 240)
SACK_DARK = (92, 58, 28)
SACK = (150, 100, 52)
SACK_LIGHT = (200, 150, 90)
ROPE = (230, 200, 120)
OUTLINE = (40, 24, 10)
GOLD_DARK = (170, 120, 10)
GOLD = (240, 190, 40)
GOLD_LIGHT = (255, 240, 150)


def blank(width, height, fill):
    return [[fill for _ in range(width)] for _ in range(height)]


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0


def draw_sack(img, scale, dx, dy):
    """Draws the sack and a coin in front of it; sizes are given for a 32-pixel square."""
    height, width = len(img), len(img[0])

    def s(v):
        return v * scale

    body = (dx + s(15.5), dy + s(20.0), s(12.0), s(10.5))
    neck = (dx + s(15.5), dy + s(8.5), s(5.0), s(3.5))
    ears = [(dx + s(11.5), dy + s(4.5), s(3.5), s(3.0)), (dx + s(19.5), dy + s(4.5), s(3.5), s(3.0))]
    coin = (dx + s(22.5), dy + s(24.5), s(6.0), s(6.0))

    def in_sack(x, y):
        return (inside_ellipse(x, y, *body) or inside_ellipse(x, y, *neck)
                or any(inside_ellipse(x, y, *e) for e in ears))

    for y in range(height):
        for x in range(width):
            if in_sack(x, y):
                near_edge = not all(in_sack(x + ox, y + oy)
                                    for ox, oy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                if near_edge:
                    img[y][x] = OUTLINE
                else:
                    # light from the top left
                    shade = (x - body[0]) / body[2] + (y - body[1]) / body[3]
                    img[y][x] = SACK_LIGHT if shade < -0.9 else SACK if shade < 0.6 else SACK_DARK
    # the rope round the neck
    rope_y = int(dy + s(7.0))
    for y in range(rope_y, rope_y + max(1, round(s(1.5)))):
        for x in range(width):
            if abs(x + 0.5 - neck[0]) <= s(5.5) and 0 <= y < height:
                img[y][x] = ROPE
    # the coin
    for y in range(height):
        for x in range(width):
            if inside_ellipse(x, y, *coin):
                inner = inside_ellipse(x, y, coin[0], coin[1], coin[2] - 1.2, coin[3] - 1.2)
                if not inner:
                    img[y][x] = GOLD_DARK
                else:
                    shade = (x - coin[0]) + (y - coin[1])
                    img[y][x] = GOLD_LIGHT if shade < -3 else GOLD


# Icon sizes: the small (16) and large (32) icons at 100 %, then 125 %, 150 % and 200 % display
# scaling of both.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)
PICTURE_SCALES = ("1.25", "1.5", "2")


def icon_image(size=32):
    img = blank(size, size, TRANSPARENT)
    draw_sack(img, size / 32, 0.0, 0.0)
    return img


def picture_image(scale=1.0):
    width, height = round(40 * scale), round(41 * scale)
    img = blank(width, height, None)
    for y in range(height):
        t = y / (height - 1)
        row = tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM))
        for x in range(width):
            img[y][x] = row
    draw_sack(img, 1.15 * scale, 1.5 * scale, 2.0 * scale)
    return img


# ---------------------------------------------------------------------------------------------
# PNG with an 8-bit palette

def palette_of(img):
    colours = []
    for row in img:
        for px in row:
            if px not in colours:
                colours.append(px)
    # the transparent entry first, so that index 0 is the background
    colours.sort(key=lambda c: (c is not TRANSPARENT, c or (0, 0, 0)))
    assert len(colours) <= 256, "the icon must fit a 256-colour palette"
    return colours


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def write_palette_png(path, img):
    height, width = len(img), len(img[0])
    colours = palette_of(img)
    index = {c: i for i, c in enumerate(colours)}
    plte = b"".join(bytes(c or (0, 0, 0)) for c in colours)
    raw = b"".join(b"\x00" + bytes(index[px] for px in row) for row in img)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    data += png_chunk(b"PLTE", plte)
    if TRANSPARENT in colours:
        data += png_chunk(b"tRNS", bytes(0 if c is TRANSPARENT else 255 for c in colours))
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------------------------
# ICO holding 8-bit palette bitmaps (colour table of 256 entries, XOR rows then AND mask)

def palette_bitmap(img):
    height, width = len(img), len(img[0])
    colours = palette_of(img)
    index = {c: i for i, c in enumerate(colours)}
    table = b"".join(bytes((c or (0, 0, 0))[::-1]) + b"\x00" for c in colours)
    table += b"\x00\x00\x00\x00" * (256 - len(colours))
    xor_rows = b"".join(bytes(index[px] for px in row) for row in reversed(img))  # bottom-up
    mask_stride = ((width + 31) // 32) * 4
    and_rows = b""
    for row in reversed(img):
        bits = 0
        for x, px in enumerate(row):
            if px is TRANSPARENT:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        and_rows += bits.to_bytes(mask_stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 8, 0,
                         len(xor_rows) + len(and_rows), 0, 0, 256, 0)
    return header + table + xor_rows + and_rows


def write_palette_ico(path, imgs):
    bitmaps = [palette_bitmap(img) for img in imgs]
    data = struct.pack("<HHH", 0, 1, len(imgs))
    offset = 6 + 16 * len(imgs)
    for img, bitmap in zip(imgs, bitmaps):
        height, width = len(img), len(img[0])
        data += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 8, len(bitmap), offset)
        offset += len(bitmap)
    with open(path, "wb") as f:
        f.write(data + b"".join(bitmaps))


# ---------------------------------------------------------------------------------------------
# Baseline JPEG (JFIF, 4:4:4, Huffman tables built from the image's own symbols)

ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]

LUMA_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
]
CHROMA_QUANT = [
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
] + [99] * 32


def scaled_quant(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (q * scale + 50) // 100)) for q in table]


def fdct(block):
    out = [0.0] * 64
    for v in range(8):
        for u in range(8):
            cu = math.sqrt(0.5) if u == 0 else 1.0
            cv = math.sqrt(0.5) if v == 0 else 1.0
            total = 0.0
            for y in range(8):
                for x in range(8):
                    total += (block[y * 8 + x] * math.cos((2 * x + 1) * u * math.pi / 16)
                              * math.cos((2 * y + 1) * v * math.pi / 16))
            out[v * 8 + u] = 0.25 * cu * cv * total
    return out


def magnitude(value):
    """(size category, the value's bits) as JPEG codes a coefficient."""
    size = abs(value).bit_length()
    bits = value if value >= 0 else value + (1 << size) - 1
    return size, bits


def huffman_lengths(freq):
    """Code lengths (at most 16) for the symbols of freq, by the usual package merging."""
    nodes = [(f, [s]) for s, f in sorted(freq.items())]
    if len(nodes) == 1:
        return {nodes[0][1][0]: 1}
    lengths = {s: 0 for s in freq}
    while len(nodes) > 1:
        nodes.sort(key=lambda n: (n[0], n[1]))
        (f1, s1), (f2, s2) = nodes[0], nodes[1]
        for s in s1 + s2:
            lengths[s] += 1
        nodes = nodes[2:] + [(f1 + f2, s1 + s2)]
    # An all-ones code is not allowed: give the longest code one more bit if the lengths fill
    # the whole code space (Kraft sum exactly 1).
    if sum(2.0 ** -n for n in lengths.values()) == 1.0:
        longest = max(lengths, key=lambda s: (lengths[s], s))
        lengths[longest] += 1
    assert max(lengths.values()) <= 16, "code too long for this small encoder"
    return lengths


def canonical_table(lengths):
    """(bits counts per length, symbols in code order, symbol -> (code, length))."""
    ordered = sorted(lengths, key=lambda s: (lengths[s], s))
    counts = [0] * 16
    codes = {}
    code = 0
    previous = 0
    for s in ordered:
        n = lengths[s]
        code <<= n - previous
        previous = n
        codes[s] = (code, n)
        counts[n - 1] += 1
        code += 1
    return counts, ordered, codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def write(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)  # byte stuffing
                self.acc = 0
                self.count = 0

    def flush(self):
        while self.count:
            self.write(1, 1)  # pad with one bits
        return bytes(self.out)


def write_jpeg(path, img, quality=92):
    height, width = len(img), len(img[0])
    padded_w, padded_h = (width + 7) // 8 * 8, (height + 7) // 8 * 8

    def ycc(px):
        r, g, b = px
        return (0.299 * r + 0.587 * g + 0.114 * b,
                -0.168736 * r - 0.331264 * g + 0.5 * b + 128,
                0.5 * r - 0.418688 * g - 0.081312 * b + 128)

    planes = [[[0.0] * padded_w for _ in range(padded_h)] for _ in range(3)]
    for y in range(padded_h):
        for x in range(padded_w):
            values = ycc(img[min(y, height - 1)][min(x, width - 1)])  # edges repeated
            for c in range(3):
                planes[c][y][x] = values[c]

    quants = [scaled_quant(LUMA_QUANT, quality), scaled_quant(CHROMA_QUANT, quality)]
    table_of = [0, 1, 1]

    # Quantised coefficients of every block, in MCU order (Y, Cb, Cr for each 8 x 8 square).
    blocks = []
    for by in range(0, padded_h, 8):
        for bx in range(0, padded_w, 8):
            for c in range(3):
                samples = [planes[c][by + y][bx + x] - 128 for y in range(8) for x in range(8)]
                coeffs = fdct(samples)
                q = quants[table_of[c]]
                blocks.append((c, [int(round(coeffs[z] / q[z])) for z in ZIGZAG]))

    # Symbols per table: DC differences and AC run/size pairs.
    symbols = []  # (table class 0 = DC / 1 = AC, table id, symbol, extra bits, extra length)
    previous_dc = [0, 0, 0]
    for c, zz in blocks:
        t = table_of[c]
        diff = zz[0] - previous_dc[c]
        previous_dc[c] = zz[0]
        size, bits = magnitude(diff)
        symbols.append((0, t, size, bits, size))
        run = 0
        last = max((i for i in range(1, 64) if zz[i] != 0), default=0)
        for i in range(1, last + 1):
            if zz[i] == 0:
                run += 1
                continue
            while run > 15:
                symbols.append((1, t, 0xF0, 0, 0))
                run -= 16
            size, bits = magnitude(zz[i])
            symbols.append((1, t, (run << 4) | size, bits, size))
            run = 0
        if last < 63:
            symbols.append((1, t, 0x00, 0, 0))  # end of block

    tables = {}
    for key in [(0, 0), (1, 0), (0, 1), (1, 1)]:
        freq = {}
        for cls, t, sym, _, _ in symbols:
            if (cls, t) == key:
                freq[sym] = freq.get(sym, 0) + 1
        tables[key] = canonical_table(huffman_lengths(freq))

    writer = BitWriter()
    for cls, t, sym, bits, length in symbols:
        code, n = tables[(cls, t)][2][sym]
        writer.write(code, n)
        writer.write(bits, length)
    scan = writer.flush()

    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    data = b"\xff\xd8"
    data += segment(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    for t, q in enumerate(quants):
        data += segment(0xDB, bytes([t]) + bytes(q[z] for z in ZIGZAG))
    data += segment(0xC0, struct.pack(">BHHB", 8, height, width, 3)
                    + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for (cls, t), (counts, ordered, _) in sorted(tables.items()):
        data += segment(0xC4, bytes([(cls << 4) | t]) + bytes(counts) + bytes(ordered))
    data += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    data += scan + b"\xff\xd9"
    with open(path, "wb") as f:
        f.write(data)


def main():
    icons = {size: icon_image(size) for size in ICON_SIZES}
    for size, icon in icons.items():
        name = "sacotin.png" if size == 32 else "sacotin-%d.png" % size
        write_palette_png(os.path.join(HERE, "icons", name), icon)
    write_palette_ico(os.path.join(HERE, "sacotin.ico"), [icons[size] for size in ICON_SIZES])
    write_jpeg(os.path.join(HERE, "images", "picture.jpg"), picture_image())
    for scale in PICTURE_SCALES:
        write_jpeg(os.path.join(HERE, "images", "picture@%sx.jpg" % scale),
                   picture_image(float(scale)))


if __name__ == "__main__":
    main()
