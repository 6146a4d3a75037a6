#include "installer/lh5_decoder.h"

#include <cstring>

namespace {

constexpr int kMaxCodeLength = 16;
constexpr int kCharCodes = 510;        // 256 literals and match lengths 3 to 256
constexpr int kLengthCodes = 19;       // the code that sends the literal/length code lengths
constexpr int kPositionCodes = 14;     // position bit counts 0 to 13
constexpr int kMinMatch = 3;
constexpr size_t kInputSize = 4096;

// A canonical Huffman code: codes are handed out by length, and within one
// length by symbol, so the lengths alone describe it.
struct Code {
  int single;                           // >= 0: the only symbol, sent with no bits
  uint16_t count[kMaxCodeLength + 1];   // symbols per length
  uint16_t symbol[kCharCodes];          // symbols ordered by length, then value
};

struct BadStream {};
struct ReadFailed {};

}  // namespace

struct Lh5Decoder {
  unsigned char input[kInputSize];
  size_t inputPos, inputEnd;
  bool inputDone;
  uint64_t bits;       // the low `bitCount` bits are unread, first bit highest
  int bitCount;
  const Lh5Io* io;
  unsigned char window[LH5_WINDOW];
  Code chars, lengths, positions;
  unsigned char lengthTable[kCharCodes];
};

namespace {

unsigned NextByte(Lh5Decoder* d) {
  if (d->inputPos == d->inputEnd) {
    if (d->inputDone) return 0;
    long got = d->io->read(d->io->user, d->input, kInputSize);
    if (got < 0) throw ReadFailed();
    if (got == 0) {
      d->inputDone = true;
      return 0;
    }
    d->inputPos = 0;
    d->inputEnd = static_cast<size_t>(got);
  }
  return d->input[d->inputPos++];
}

unsigned Peek(Lh5Decoder* d, int n) {
  while (d->bitCount < n) {
    d->bits = (d->bits << 8) | NextByte(d);
    d->bitCount += 8;
  }
  return static_cast<unsigned>(d->bits >> (d->bitCount - n)) & ((1u << n) - 1);
}

void Skip(Lh5Decoder* d, int n) {
  d->bitCount -= n;
  d->bits &= (uint64_t(1) << d->bitCount) - 1;
}

unsigned Bits(Lh5Decoder* d, int n) {
  if (n == 0) return 0;
  unsigned value = Peek(d, n);
  Skip(d, n);
  return value;
}

void MakeSingle(Code* code, unsigned symbol, int symbols) {
  if (symbol >= unsigned(symbols)) throw BadStream();
  code->single = int(symbol);
}

// Lengths that do not fill the code space exactly (too many or too few codes) are damage.
void MakeCode(Code* code, const unsigned char* lengths, int symbols) {
  code->single = -1;
  std::memset(code->count, 0, sizeof code->count);
  for (int s = 0; s < symbols; s++) {
    if (lengths[s] > kMaxCodeLength) throw BadStream();
    code->count[lengths[s]]++;
  }
  code->count[0] = 0;
  long left = 1;
  for (int len = 1; len <= kMaxCodeLength; len++) {
    left = (left << 1) - code->count[len];
    if (left < 0) throw BadStream();
  }
  if (left != 0) throw BadStream();
  uint16_t offset[kMaxCodeLength + 2] = {};
  for (int len = 1; len <= kMaxCodeLength; len++) offset[len + 1] = uint16_t(offset[len] + code->count[len]);
  for (int s = 0; s < symbols; s++)
    if (lengths[s]) code->symbol[offset[lengths[s]]++] = uint16_t(s);
}

int DecodeSymbol(Lh5Decoder* d, const Code& code) {
  if (code.single >= 0) return code.single;
  unsigned peeked = Peek(d, kMaxCodeLength);
  int first = 0, index = 0;
  for (int len = 1; len <= kMaxCodeLength; len++) {
    int value = int(peeked >> (kMaxCodeLength - len));
    int count = code.count[len];
    if (value - first < count) {
      Skip(d, len);
      return code.symbol[index + value - first];
    }
    index += count;
    first = (first + count) << 1;
  }
  throw BadStream();   // a complete code always ends above
}

// The lengths of the small codes: 3 bits each, 7 followed by a run of 1 bits
// for longer ones; after the `skipAt`-th length a 2-bit count of zero lengths.
void ReadSmallCode(Lh5Decoder* d, Code* code, int symbols, int countBits, int skipAt) {
  unsigned n = Bits(d, countBits);
  if (n == 0) {
    MakeSingle(code, Bits(d, countBits), symbols);
    return;
  }
  if (n > unsigned(symbols)) throw BadStream();
  unsigned char lengths[kLengthCodes] = {};
  unsigned i = 0;
  while (i < n) {
    unsigned len = Peek(d, 3);
    if (len == 7) {
      unsigned peeked = Peek(d, 16);
      for (unsigned mask = 1u << 12; mask & peeked; mask >>= 1) len++;
      if (len > kMaxCodeLength) throw BadStream();
      Skip(d, int(len) - 3);
    } else {
      Skip(d, 3);
    }
    lengths[i++] = static_cast<unsigned char>(len);
    if (int(i) == skipAt) {
      i += Bits(d, 2);
      if (i > unsigned(symbols)) throw BadStream();
    }
  }
  MakeCode(code, lengths, symbols);
}

void ReadCharCode(Lh5Decoder* d) {
  unsigned n = Bits(d, 9);
  if (n == 0) {
    MakeSingle(&d->chars, Bits(d, 9), kCharCodes);
    return;
  }
  if (n > unsigned(kCharCodes)) throw BadStream();
  std::memset(d->lengthTable, 0, sizeof d->lengthTable);
  unsigned i = 0;
  while (i < n) {
    int c = DecodeSymbol(d, d->lengths);
    if (c <= 2) {
      unsigned zeros = c == 0 ? 1 : c == 1 ? Bits(d, 4) + 3 : Bits(d, 9) + 20;
      if (i + zeros > unsigned(kCharCodes)) throw BadStream();
      i += zeros;
    } else {
      d->lengthTable[i++] = static_cast<unsigned char>(c - 2);
    }
  }
  MakeCode(&d->chars, d->lengthTable, kCharCodes);
}

struct Output {
  Lh5Decoder* d;
  size_t pos;          // in the window
  uint32_t left;       // bytes still to produce
};

bool Put(Output* out, unsigned char byte) {
  out->d->window[out->pos++] = byte;
  out->left--;
  if (out->pos == LH5_WINDOW || out->left == 0) {
    size_t chunk = out->pos;
    if (out->pos == LH5_WINDOW) out->pos = 0;
    return out->d->io->write(out->d->io->user, out->d->window, chunk);
  }
  return true;
}

}  // namespace

Lh5Decoder* Lh5Create() { return new Lh5Decoder(); }
void Lh5Destroy(Lh5Decoder* decoder) { delete decoder; }

Lh5Result Lh5Decode(Lh5Decoder* d, uint32_t size, const Lh5Io* io) {
  d->io = io;
  d->inputPos = d->inputEnd = 0;
  d->inputDone = false;
  d->bits = 0;
  d->bitCount = 0;
  // Positions before the start of the member read as zeros, never as the last member's bytes.
  std::memset(d->window, 0, sizeof d->window);
  Output out{d, 0, size};
  try {
    unsigned blockLeft = 0;
    while (out.left > 0) {
      if (blockLeft == 0) {
        // Every block holds at least one code, so each step makes output.
        blockLeft = Bits(d, 16);
        if (blockLeft == 0) throw BadStream();
        ReadSmallCode(d, &d->lengths, kLengthCodes, 5, 3);
        ReadCharCode(d);
        ReadSmallCode(d, &d->positions, kPositionCodes, 4, -1);
      }
      blockLeft--;
      int c = DecodeSymbol(d, d->chars);
      if (c < 256) {
        if (!Put(&out, static_cast<unsigned char>(c))) return LH5_STOPPED;
        continue;
      }
      int length = c - 256 + kMinMatch;
      unsigned bitsOfDistance = unsigned(DecodeSymbol(d, d->positions));
      unsigned distance = bitsOfDistance == 0 ? 0 : (1u << (bitsOfDistance - 1)) + Bits(d, int(bitsOfDistance) - 1);
      size_t from = (out.pos + LH5_WINDOW - distance - 1) % LH5_WINDOW;
      for (int k = 0; k < length && out.left > 0; k++) {
        unsigned char byte = d->window[from];
        from = (from + 1) % LH5_WINDOW;
        if (!Put(&out, byte)) return LH5_STOPPED;
      }
    }
  } catch (const BadStream&) {
    return LH5_BAD_STREAM;
  } catch (const ReadFailed&) {
    return LH5_READ_FAILED;
  }
  return LH5_DONE;
}
