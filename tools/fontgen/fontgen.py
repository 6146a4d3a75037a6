#!/usr/bin/env python3
"""Generates the six screen fonts of the library (resources/zelkit5/1..6)
from free X11 bitmap fonts. Run by hand when the fonts change; the build
never runs it.

  tools/fontgen/fontgen.py [repository root]

Each font is 256 glyphs in the order of the system's character set (read from
env/charset_map.h); a glyph is `height` rows of ceil(width / 8) bytes, most
significant bit leftmost. Eight double-line frame codes are drawn as frame
pieces that hug the cell's edges.
"""
import os
import re
import sys

import pcf

MISC = "/usr/share/fonts/X11/misc/"

# resource number, source font, cell width, height, frame thickness
FONTS = [
    (1, "ter-u16b_unicode.pcf.gz", 8, 16, 2),
    (2, "ter-u16n_unicode.pcf.gz", 8, 16, 1),
    (3, "ter-u16n_unicode.pcf.gz", 8, 16, 2),
    (4, "8x13.pcf.gz", 8, 13, 1),
    (5, "ter-u20n_unicode.pcf.gz", 10, 20, 2),
    (6, "ter-u24n_unicode.pcf.gz", 12, 24, 2),
]

# Codes drawn as edge pieces: which edges of the cell they cover.
EDGE_PIECES = {
    0xB9: "R", 0xBB: "TR", 0xBC: "BR", 0xC8: "BL",
    0xC9: "TL", 0xCA: "B", 0xCB: "T", 0xCC: "L",
}

# Stand-ins for characters a source font lacks.
FALLBACKS = {0x1E9E: 0x00DF, 0x2302: 0x0394}


def charset(root):
    text = open(os.path.join(root, "env/charset_map.h"), encoding="utf-8").read()
    body = re.search(r"kCharsetToUnicode\[256\]\s*=\s*\{(.*?)\};", text, re.S).group(1)
    body = re.sub(r"//[^\n]*", "", body)
    codes = [int(v, 16) for v in re.findall(r"0x[0-9A-Fa-f]+", body)]
    if len(codes) != 256:
        raise SystemExit("charset_map.h: expected 256 code points, found %d" % len(codes))
    return codes


def edge_piece(edges, width, height, t):
    rows = [[0] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if ("T" in edges and y < t) or ("B" in edges and y >= height - t) or \
               ("L" in edges and x < t) or ("R" in edges and x >= width - t):
                rows[y][x] = 1
    return rows


def render(font, codepoint, width, height):
    rows = [[0] * width for _ in range(height)]
    g = font.glyph(codepoint)
    if g is None and codepoint in FALLBACKS:
        g = font.glyph(FALLBACKS[codepoint])
    if g is None or codepoint == 0:
        return rows, g is not None or codepoint in (0, 0x20, 0xA0)
    ink_w = g.right - g.left
    top = font.font_ascent - g.ascent
    for gy, bits in enumerate(g.rows):
        y = top + gy
        if not 0 <= y < height:
            continue
        for gx in range(ink_w):
            x = g.left + gx
            if 0 <= x < width and bits >> (ink_w - 1 - gx) & 1:
                rows[y][x] = 1
    return rows, True


def pack(rows, width):
    out = bytearray()
    per_row = (width + 7) // 8
    for row in rows:
        for b in range(per_row):
            v = 0
            for k in range(8):
                x = b * 8 + k
                if x < width and row[x]:
                    v |= 0x80 >> k
            out.append(v)
    return out


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../..")
    codes = charset(root)
    outdir = os.path.join(root, "resources/zelkit5")
    for number, source, width, height, thickness in FONTS:
        font = pcf.PcfFont(MISC + source)
        data = bytearray()
        missing = []
        for code in range(256):
            if code in EDGE_PIECES:
                rows = edge_piece(EDGE_PIECES[code], width, height, thickness)
            else:
                rows, found = render(font, codes[code], width, height)
                if not found:
                    missing.append("%02X" % code)
            data += pack(rows, width)
        name = os.path.join(outdir, "%d_font%dx%d.fnt" % (number, width, height))
        with open(name, "wb") as f:
            f.write(data)
        print("%s: %d bytes from %s%s" % (name, len(data), source,
                                          ", missing " + " ".join(missing) if missing else ""))


if __name__ == "__main__":
    main()
