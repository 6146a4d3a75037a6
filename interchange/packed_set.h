// Packed file sets: the exchange files handed to and taken from the
// bookkeeping program are CP1 archives of whole tables, made and unpacked in
// one call each on their own archiver context, so they never disturb an
// archive the process-wide context has open.
#pragma once
#include <cstdint>

// One file mask of a set; a record with a NULL mask ends the list.
struct PackedFileMask {
  const char* mask;
  uint8_t flags;      // not used when packing
};

// Packs every file of the current directory that matches a mask, mask by
// mask, into a new archive. With `deleteFiles` the packed files (and the
// ".MDX" of a ".DBF") are deleted once the archive is complete.
// 1 when every file was packed and the archive closed; 0 otherwise.
int Compress2(const PackedFileMask* masks, const char* archivePath, int deleteFiles);

// Unpacks every entry of the archive into the current directory. An entry
// reaches its name only whole and with the right CRC-16; a damaged entry
// asks whether to go on with the next one. 1 when the end mark was reached.
int Decompress2(const char* archivePath);
