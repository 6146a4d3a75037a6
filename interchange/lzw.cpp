#include "interchange/lzw.h"

#include <cstring>

#include "env/crc16.h"

namespace {

int HashSlot(uint16_t prefix, uint8_t character) {
  uint32_t t = uint16_t(prefix + character) | 0x0800u;
  return int(((t * t) >> 6) & 0x0FFF);
}

void TableAdd(LzwSlot* table, uint16_t prefix, uint8_t character) {
  int slot = HashSlot(prefix, character);
  if (table[slot].used) {
    int last = slot;
    while (table[last].link != 0) last = table[last].link;
    // The table never holds more than 256 + 3840 strings, so a free slot exists.
    slot = (last + 101) & 0x0FFF;
    while (table[slot].used) slot = (slot + 1) & 0x0FFF;
    table[last].link = uint16_t(slot);
  }
  table[slot].used = 1;
  table[slot].character = character;
  table[slot].link = 0;
  table[slot].prefix = prefix;
}

int TableLookup(const LzwSlot* table, uint16_t prefix, uint8_t character) {
  int slot = HashSlot(prefix, character);
  for (int steps = 0; steps < LZW_SLOTS; steps++) {
    const LzwSlot& s = table[slot];
    if (s.used && s.prefix == prefix && s.character == character) return slot;
    if (s.link == 0) return -1;
    slot = s.link;
  }
  return -1;
}

void TableInit(LzwCoder* coder) {
  std::memset(coder->table, 0, sizeof coder->table);
  for (int c = 0; c < 256; c++) TableAdd(coder->table, LZW_NO_PREFIX, uint8_t(c));
  coder->remaining = LZW_ADDITIONS;
}

void StartEntry(LzwCoder* coder) {
  coder->crc = 0;
  coder->encodeHalf = LZW_NO_HALF;
  coder->decodeHalf = LZW_NO_HALF;
  TableInit(coder);
}

// Progress every tenth of the entry; short entries report every byte.
uint32_t ProgressStep(uint32_t length) { return length / 10 ? length / 10 : 1; }

void Progress(const LzwStreams* s, uint32_t done, uint32_t total) {
  if (s->progress) s->progress(s->user, done, total);
}

int EmitCode(LzwCoder* coder, const LzwStreams* s, uint16_t code) {
  if (coder->encodeHalf == LZW_NO_HALF) {
    if (s->writeByte(s->user, uint8_t(code >> 4)) < 0) return -1;
    coder->encodeHalf = code & 0x0F;
    return 0;
  }
  if (s->writeByte(s->user, uint8_t((coder->encodeHalf << 4) | ((code >> 8) & 0x0F))) < 0) return -1;
  if (s->writeByte(s->user, uint8_t(code & 0xFF)) < 0) return -1;
  coder->encodeHalf = LZW_NO_HALF;
  return 0;
}

int ReadCode(LzwCoder* coder, const LzwStreams* s) {
  int x = s->readByte(s->user);
  if (x < 0) return -1;
  if (coder->decodeHalf != LZW_NO_HALF) {
    int code = (coder->decodeHalf << 8) | x;
    coder->decodeHalf = LZW_NO_HALF;
    return code;
  }
  int y = s->readByte(s->user);
  if (y < 0) return -1;
  coder->decodeHalf = uint16_t(y & 0x0F);
  return (x << 4) | (y >> 4);
}

}  // namespace

void LzwCoderInit(LzwCoder* coder) {
  Crc16ArcTable(coder->crcTable);
  coder->encodeHalf = LZW_NO_HALF;
  coder->decodeHalf = LZW_NO_HALF;
}

int LzwEncode(LzwCoder* coder, const LzwStreams* s, uint32_t length) {
  StartEntry(coder);
  if (length > 0) {
    uint32_t step = ProgressStep(length);
    int byte = s->readByte(s->user);
    if (byte < 0) return -1;
    coder->crc = Crc16ArcUpdate(coder->crcTable, coder->crc, uint8_t(byte));
    uint16_t current = uint16_t(TableLookup(coder->table, LZW_NO_PREFIX, uint8_t(byte)));
    for (uint32_t n = 0; n + 1 < length; n++) {
      byte = s->readByte(s->user);
      if (byte < 0) return -1;
      coder->crc = Crc16ArcUpdate(coder->crcTable, coder->crc, uint8_t(byte));
      if (n % step == 0) Progress(s, n + 1, length);
      int found = TableLookup(coder->table, current, uint8_t(byte));
      if (found >= 0) {
        current = uint16_t(found);
        continue;
      }
      if (EmitCode(coder, s, current) < 0) return -1;
      if (coder->remaining != 0) {
        TableAdd(coder->table, current, uint8_t(byte));
        coder->remaining--;
      } else {
        TableInit(coder);
      }
      current = uint16_t(TableLookup(coder->table, LZW_NO_PREFIX, uint8_t(byte)));
    }
    if (EmitCode(coder, s, current) < 0) return -1;
    if (coder->encodeHalf != LZW_NO_HALF) {
      if (s->writeByte(s->user, uint8_t(coder->encodeHalf << 4)) < 0) return -1;
      coder->encodeHalf = LZW_NO_HALF;
    }
  }
  Progress(s, 100, 100);
  return 1;
}

int LzwDecode(LzwCoder* coder, const LzwStreams* s, uint32_t length) {
  StartEntry(coder);
  if (length == 0) {
    Progress(s, 100, 100);
    return 1;
  }
  uint32_t step = ProgressStep(length);
  uint32_t written = 0;
  // 1 when the entry is complete, 0 to go on, -1 on a write failure.
  auto put = [&](uint8_t byte) -> int {
    if (s->writeByte(s->user, byte) < 0) return -1;
    coder->crc = Crc16ArcUpdate(coder->crcTable, coder->crc, byte);
    written++;
    if (written == length) {
      Progress(s, 100, 100);
      return 1;
    }
    if (written % step == 0) Progress(s, written, length);
    return 0;
  };

  int code = ReadCode(coder, s);
  if (code < 0) return -1;
  uint16_t previous = uint16_t(code);
  uint8_t first = coder->table[code].character;
  int r = put(first);
  if (r != 0) return r;

  for (;;) {
    code = ReadCode(coder, s);
    if (code < 0) return -1;
    int walk = code;
    bool followsRemembered = false;
    if (!coder->table[code].used) {
      // The string being defined right now: the previous one and its first character.
      walk = previous;
      followsRemembered = true;
    }
    uint8_t remembered = first;
    int count = 0;
    while (coder->table[walk].prefix != LZW_NO_PREFIX) {
      if (count + 1 >= LZW_SLOTS) return 0;
      coder->stack[count++] = coder->table[walk].character;
      walk = coder->table[walk].prefix & 0x0FFF;
    }
    uint8_t root = coder->table[walk].character;
    if ((r = put(root)) != 0) return r;
    while (count > 0)
      if ((r = put(coder->stack[--count])) != 0) return r;
    if (followsRemembered && (r = put(remembered)) != 0) return r;

    first = root;
    if (coder->remaining != 0) {
      TableAdd(coder->table, previous, first);
      coder->remaining--;
    } else {
      TableInit(coder);
    }
    previous = uint16_t(code);
  }
}
