#!/usr/bin/env python3
"""Draws the start-up picture of Zelsal (resource 175, a 256-colour PCX) with
the library's own bold 8 x 16 screen font, enlarged. Run by hand; the build never runs it.

  tools/logogen/logogen.py [repository root]
"""
import os
import struct
import sys

WIDTH, HEIGHT, SCALE = 360, 150, 4
TEXT = "Zelsal"
FONT = "resources/zelkit5/1_font8x16.fnt"
CELL_W, CELL_H = 8, 16


def palette():
    pal = [(0, 0, 0)]
    for i in range(1, 256):   # dark blue to white
        t = i / 255
        pal.append((int(40 + 215 * t * t), int(60 + 195 * t), int(168 + 87 * t)))
    return pal


def draw(root):
    font = open(os.path.join(root, FONT), "rb").read()
    bpr = (CELL_W + 7) // 8
    pixels = [[0] * WIDTH for _ in range(HEIGHT)]
    text_w = len(TEXT) * CELL_W * SCALE
    x0 = (WIDTH - text_w) // 2
    y0 = (HEIGHT - CELL_H * SCALE) // 2 - 8
    for i, ch in enumerate(TEXT.encode("ascii")):
        glyph = font[ch * CELL_H * bpr:(ch + 1) * CELL_H * bpr]
        for y in range(CELL_H * SCALE):
            gy = y // SCALE
            for x in range(CELL_W * SCALE):
                gx = x // SCALE
                if glyph[gy * bpr + gx // 8] & (0x80 >> (gx % 8)):
                    colour = 80 + 175 * y // (CELL_H * SCALE)
                    pixels[y0 + y][x0 + i * CELL_W * SCALE + x] = colour
    for x in range(20, WIDTH - 20):   # a line under the name
        pixels[HEIGHT - 14][x] = pixels[HEIGHT - 13][x] = 120
    return pixels


def encode_row(row):
    out = bytearray()
    i = 0
    while i < len(row):
        n = 1
        while i + n < len(row) and row[i + n] == row[i] and n < 63:
            n += 1
        if n > 1 or row[i] >= 0xC0:
            out += bytes((0xC0 | n, row[i]))
        else:
            out.append(row[i])
        i += n
    return out


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "../..")
    header = bytearray(128)
    header[0:4] = bytes((10, 5, 1, 8))
    struct.pack_into("<HHHHHH", header, 4, 0, 0, WIDTH - 1, HEIGHT - 1, 72, 72)
    header[65] = 1
    struct.pack_into("<HH", header, 66, WIDTH, 1)
    data = bytearray(header)
    for row in draw(root):
        data += encode_row(row)
    data.append(12)
    for r, g, b in palette():
        data += bytes((r, g, b))
    out = os.path.join(root, "resources/zelsal/175_logo.pcx")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "wb") as f:
        f.write(data)
    print("%s: %d bytes" % (out, len(data)))


if __name__ == "__main__":
    main()
