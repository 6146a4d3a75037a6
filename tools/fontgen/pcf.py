"""Minimal reader of X11 PCF bitmap fonts (optionally gzipped)."""
import gzip
import struct

PCF_PROPERTIES = 1
PCF_ACCELERATORS = 2
PCF_METRICS = 4
PCF_BITMAPS = 8
PCF_BDF_ENCODINGS = 32
PCF_BDF_ACCELERATORS = 256


class Glyph:
    def __init__(self, left, right, width, ascent, descent, rows):
        self.left, self.right, self.width = left, right, width
        self.ascent, self.descent = ascent, descent
        self.rows = rows  # list of ints, bit (right - left - 1 - x) set = pixel x of the ink box


class PcfFont:
    def __init__(self, path):
        opener = gzip.open if path.endswith(".gz") else open
        with opener(path, "rb") as f:
            self.data = f.read()
        if self.data[:4] != b"\x01fcp":
            raise ValueError(path + ": not a PCF font")
        (count,) = struct.unpack_from("<i", self.data, 4)
        self.tables = {}
        for i in range(count):
            ttype, fmt, size, offset = struct.unpack_from("<iiii", self.data, 8 + 16 * i)
            self.tables[ttype] = (fmt, size, offset)
        self._read_accelerators()
        self._read_metrics()
        self._read_bitmaps()
        self._read_encodings()

    def _table(self, ttype):
        fmt, _size, offset = self.tables[ttype]
        (fmt2,) = struct.unpack_from("<i", self.data, offset)
        endian = ">" if fmt2 & 4 else "<"
        return fmt2, endian, offset + 4

    def _read_accelerators(self):
        ttype = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self.tables else PCF_ACCELERATORS
        _fmt, e, pos = self._table(ttype)
        self.font_ascent, self.font_descent = struct.unpack_from(e + "ii", self.data, pos + 8)

    def _read_metrics(self):
        fmt, e, pos = self._table(PCF_METRICS)
        self.metrics = []
        if fmt & 0x100:
            (n,) = struct.unpack_from(e + "h", self.data, pos)
            pos += 2
            for i in range(n):
                b = self.data[pos + 5 * i: pos + 5 * i + 5]
                self.metrics.append(tuple(x - 0x80 for x in b))
        else:
            (n,) = struct.unpack_from(e + "i", self.data, pos)
            pos += 4
            for i in range(n):
                self.metrics.append(struct.unpack_from(e + "hhhhh", self.data, pos + 12 * i))

    def _read_bitmaps(self):
        fmt, e, pos = self._table(PCF_BITMAPS)
        (n,) = struct.unpack_from(e + "i", self.data, pos)
        pos += 4
        offsets = struct.unpack_from(e + "%di" % n, self.data, pos)
        pos += 4 * n
        sizes = struct.unpack_from(e + "4i", self.data, pos)
        pos += 16
        pad = 1 << (fmt & 3)
        msb_bit = bool(fmt & 8)
        msb_byte = bool(fmt & 4)
        unit = 1 << ((fmt >> 4) & 3)
        base = pos
        self.glyphs = []
        for i in range(n):
            left, right, width, ascent, descent = self.metrics[i]
            w = right - left
            h = ascent + descent
            stride = ((w + 7) // 8 + pad - 1) // pad * pad
            rows = []
            for y in range(h):
                raw = bytearray(self.data[base + offsets[i] + y * stride: base + offsets[i] + (y + 1) * stride])
                if unit > 1 and msb_byte != msb_bit:
                    for k in range(0, len(raw), unit):
                        raw[k:k + unit] = raw[k:k + unit][::-1]
                value = 0
                for x in range(w):
                    byte = raw[x // 8]
                    bit = (byte >> (7 - x % 8)) & 1 if msb_bit else (byte >> (x % 8)) & 1
                    value = (value << 1) | bit
                rows.append(value)
            self.glyphs.append(Glyph(left, right, width, ascent, descent, rows))
        del sizes

    def _read_encodings(self):
        _fmt, e, pos = self._table(PCF_BDF_ENCODINGS)
        min2, max2, min1, max1, _default = struct.unpack_from(e + "hhhhh", self.data, pos)
        pos += 10
        cols = max2 - min2 + 1
        self.index = {}
        for b1 in range(min1, max1 + 1):
            for b2 in range(min2, max2 + 1):
                k = (b1 - min1) * cols + (b2 - min2)
                (g,) = struct.unpack_from(e + "H", self.data, pos + 2 * k)
                if g != 0xFFFF:
                    self.index[(b1 << 8) | b2] = g

    def glyph(self, codepoint):
        g = self.index.get(codepoint)
        return None if g is None else self.glyphs[g]
