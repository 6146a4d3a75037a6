// On-disk layout of .MDX index files: offsets of the header, the tag table,
// the tag headers and the B-tree blocks, and little-endian field access.
#pragma once
#include <cstdint>

#include "platform/byte_order.h"

constexpr int MDX_UNIT = 512;                  // block numbers count these
constexpr int MDX_HEADER_SIZE = 48;            // the part of the header kept in memory
constexpr long MDX_TAG_TABLE_POS = 544;
constexpr int MDX_TAG_ENTRY_SIZE = 32;
constexpr long MDX_FIRST_TAG_BLOCK = 4;        // tag headers start at offset 2048

// File header.
constexpr int MDX_H_VERSION = 0;
constexpr int MDX_H_REBUILT = 1;
constexpr int MDX_H_NAME = 4;
constexpr int MDX_H_UNITS = 20;
constexpr int MDX_H_BLOCK_BYTES = 22;
constexpr int MDX_H_PRODUCTION = 24;
constexpr int MDX_H_TAG_COUNT = 28;
constexpr int MDX_H_NEXT_BLOCK = 32;
constexpr int MDX_H_FREE_LIST = 36;
constexpr int MDX_H_CHANGES = 40;              // raised by every change written under the lock
constexpr int MDX_H_CREATED = 44;
constexpr long MDX_H_MARK_POS = 529;

// Tag table entry.
constexpr int MDX_E_HEADER_BLOCK = 0;
constexpr int MDX_E_NAME = 4;
constexpr int MDX_E_LEFT = 16;
constexpr int MDX_E_RIGHT = 17;
constexpr int MDX_E_PARENT = 18;
constexpr int MDX_E_KEY_TYPE = 20;

// Tag header.
constexpr int MDX_T_ROOT = 0;
constexpr int MDX_T_FORMAT = 8;
constexpr int MDX_T_KEY_TYPE = 9;
constexpr int MDX_T_KEY_LEN = 12;
constexpr int MDX_T_KEYS_PER_BLOCK = 14;
constexpr int MDX_T_GROUP_LEN = 18;
constexpr int MDX_T_COUNTER = 20;
constexpr int MDX_T_UNIQUE = 22;
constexpr int MDX_T_EXPR = 24;
constexpr int MDX_T_EXPR_SIZE = 221;           // text and its zero
constexpr int MDX_T_HAS_FILTER = 245;
constexpr int MDX_T_HAS_KEYS = 246;
constexpr int MDX_T_FILTER = 762;
constexpr int MDX_T_TEXT_READ = 220;           // characters of either text read back

constexpr unsigned char MDX_FORMAT_BASE = 0x10;
constexpr unsigned char MDX_FORMAT_DESCENDING = 0x08;
constexpr unsigned char MDX_FORMAT_UNIQUE = 0x40;
constexpr unsigned MDX_UNIQUE_FLAG = 0x4000;

// B-tree block: key count at 0, free-list link at 4, entries from 8.
constexpr int MDX_B_COUNT = 0;
constexpr int MDX_B_FREE_LINK = 4;
constexpr int MDX_B_ENTRIES = 8;
constexpr int MDX_BLOCK_RESERVE = 12;          // header and the rightmost pointer

// Group length of a key: key + 4, rounded up to a multiple of 4.
inline unsigned mdx_group_len(unsigned key_len) { return (key_len + 4 + 3) / 4 * 4; }
