#!/usr/bin/env python3
"""Printer fonts for graphic printing, made from the library's screen fonts.

Writes into OUTPUT_DIR (the build runs it for the folder of the executables)
every font file the graphic print mode reads: the headerless bitmap fonts (glyphs of
characters 32 to 255, rows of whole bytes, the leftmost dot in the most
significant bit) and the three HP PCL soft-font downloads lport.fnt,
courn.fnt and courb.fnt. Glyphs are the screen glyphs scaled to each cell, so
they print the system's own characters; use the original printer fonts
instead where you have them.

    python3 tools/printfonts/printfonts.py OUTPUT_DIR
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, '..', '..', 'resources', 'zelkit5')

# Screen fonts: (file, width, height).
SCREEN = [('2_font8x16.fnt', 8, 16), ('6_font12x24.fnt', 12, 24)]

# Bitmap fonts of graphic mode: file, cell width, cell height.
BITMAP = [
    ('he8x18.fnt', 6, 16), ('le24x52.fnt', 18, 52), ('he8x20.fnt', 7, 20), ('le24x61.fnt', 21, 61),
    ('he11x20.fnt', 11, 20), ('he22x40.fnt', 22, 40), ('he14x25.fnt', 14, 25), ('he28x50.fnt', 28, 50),
    ('he12x32.fnt', 12, 32), ('he14x40.fnt', 14, 40), ('co24x46.fnt', 24, 46), ('he8x21.fnt', 8, 21),
    ('ob15x25.fnt', 15, 25), ('ob18x30.fnt', 18, 30), ('ob30x50.fnt', 30, 50), ('ob36x60.fnt', 36, 60),
    ('ob12x24.fnt', 12, 24), ('ob15x20.fnt', 15, 20), ('ob24x24.fnt', 24, 24), ('cr18x40.fnt', 18, 40),
    ('cr21x48.fnt', 21, 48), ('co16x23.fnt', 12, 23),
]

# Soft fonts: file, glyph width, glyph height (dots at 300 dpi), bold.
SOFT = [('lport.fnt', 17, 50, False), ('courn.fnt', 29, 50, False), ('courb.fnt', 29, 50, True)]


def load_screen(name, width, height):
    data = open(os.path.join(RESOURCES, name), 'rb').read()
    row_bytes = (width + 7) // 8
    glyphs = []
    for c in range(256):
        rows = []
        for r in range(height):
            at = (c * height + r) * row_bytes
            bits = int.from_bytes(data[at:at + row_bytes], 'big')
            rows.append([(bits >> (row_bytes * 8 - 1 - x)) & 1 for x in range(width)])
        glyphs.append(rows)
    return glyphs


def source_for(width, height):
    # The larger screen font for cells over 20 dots high.
    name, w, h = SCREEN[1] if height > 20 else SCREEN[0]
    return load_screen(name, w, h), w, h


def scaled(glyph, sw, sh, width, height, bold=False):
    rows = []
    for y in range(height):
        row = [glyph[y * sh // height][x * sw // width] for x in range(width)]
        if bold:
            row = [row[x] or (x > 0 and row[x - 1]) for x in range(width)]
        rows.append(row)
    return rows


def packed(rows, width):
    row_bytes = (width + 7) // 8
    out = bytearray()
    for row in rows:
        bits = 0
        for x, dot in enumerate(row):
            if dot:
                bits |= 1 << (row_bytes * 8 - 1 - x)
        out += bits.to_bytes(row_bytes, 'big')
    return bytes(out)


def bitmap_font(width, height):
    glyphs, sw, sh = source_for(width, height)
    return b''.join(packed(scaled(glyphs[c], sw, sh, width, height), width) for c in range(32, 256))


def soft_font(width, height, bold):
    glyphs, sw, sh = source_for(width, height)
    baseline = height * 3 // 4
    descriptor = bytearray(64)
    struct.pack_into('>HBBHHHHBB', descriptor, 0, 64, 0, 2, 0, baseline, width + 1, height + 8, 0, 0)
    struct.pack_into('>HH', descriptor, 36, 32, 255)
    out = bytearray(b'\x1b)s64W') + descriptor
    for c in range(33, 256):
        raster = packed(scaled(glyphs[c], sw, sh, width, height, bold), width)
        char = struct.pack('>BBBBBBhhHHh', 4, 0, 14, 1, 0, 0, 0, baseline, width, height, width * 4)
        out += b'\x1b*c%dE' % c + b'\x1b(s%dW' % (len(char) + len(raster)) + char + raster
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    for name, width, height in BITMAP:
        open(os.path.join(target, name), 'wb').write(bitmap_font(width, height))
    for name, width, height, bold in SOFT:
        open(os.path.join(target, name), 'wb').write(soft_font(width, height, bold))


if __name__ == '__main__':
    main()
