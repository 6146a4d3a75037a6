// Decoder of the "-lh5-" method: LZSS over an 8 KB window whose literals,
// match lengths and match positions are coded with Huffman codes sent anew
// for every block of codes.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t LH5_WINDOW = 8192;

// Where the packed bytes come from and the unpacked ones go.
struct Lh5Io {
  void* user;
  // Fills up to `size` bytes; the count, 0 once the packed bytes are used up
  // (further bits then read as zero), -1 on a read failure.
  long (*read)(void* user, unsigned char* buffer, size_t size);
  // Takes one chunk of output (LH5_WINDOW bytes, the last one shorter); false stops.
  bool (*write)(void* user, const unsigned char* data, size_t size);
};

enum Lh5Result {
  LH5_DONE,          // `size` bytes were produced
  LH5_BAD_STREAM,    // code lengths that make no code, or values out of their range
  LH5_READ_FAILED,
  LH5_STOPPED,       // `write` said stop
};

struct Lh5Decoder;
Lh5Decoder* Lh5Create();
void Lh5Destroy(Lh5Decoder* decoder);
// Decodes exactly `size` bytes of one member.
Lh5Result Lh5Decode(Lh5Decoder* decoder, uint32_t size, const Lh5Io* io);
