// CP1 archives: the system's own packed container for backups and exchange
// files. An archive is a sequence of entries (a 114-byte header, then the
// entry's LZW-coded data) ended by one byte 0, possibly spread over several
// volumes: files of the same name on successive media.
//
// The Arc* routines without a context argument work on one process-wide
// archiver context (ArcAlloc .. ArcFree); the same routines taking an
// ArcContext serve callers that carry their own (packed file sets).
// Paths are texts as the system writes them (env/paths.h turns them into disk paths).
#pragma once
#include <cstdint>
#include <string>

#include "interchange/lzw.h"
#include "platform/files.h"

constexpr int ARC_HEADER_SIZE = 114;
constexpr int ARC_NAME_SIZE = 14;      // 13 characters and the NUL
constexpr int ARC_OWNER_SIZE = 71;     // 70 characters and the NUL
constexpr int ARC_DATE_SIZE = 9;       // "CCYYMMDD" and the NUL
constexpr int ARC_BUFFER_SIZE = 4096;
constexpr int64_t ARC_MIN_FREE_BYTES = 8192;   // a new volume needs this much room on its medium

// Log codes of the archiver.
constexpr int ARC_LOG_READ = 144;      // a file or the archive cannot be read
constexpr int ARC_LOG_COMPARE = 145;   // CompareFiles cannot read a file

// Progress kinds.
constexpr int ARC_PROGRESS_VOLUME = 1;   // the data continues on the next volume
constexpr int ARC_PROGRESS_ENTRY = 2;    // done of total; 100 of 100 at the end of an entry

// The entry header. Kept in the context and reused for every entry: what a
// later entry does not set keeps the earlier entry's value.
struct ArcHeader {
  char signature[3];        // "CP1"
  uint8_t headerLength;     // 0x72
  uint8_t checksum;         // sum of the bytes at offsets 5..113
  uint8_t reserved5;
  uint32_t fileLength;      // before packing
  uint8_t volume;           // 1 on the first medium
  uint8_t category;         // 1..4 from the packing flags; the archiver does not use it
  uint8_t reserved12[6];
  uint16_t fileCrc;         // CRC-16/ARC of the bytes before packing
  char name[ARC_NAME_SIZE]; // without directory, code page 1250, NUL-terminated
  char owner[ARC_OWNER_SIZE];
  char date[ARC_DATE_SIZE];
};

// (user, kind, name, done, total): kind 1 with the entry's name (code page
// 1250), kind 2 with a NULL name.
typedef void (*ArcProgressFn)(void* user, int kind, const char* name, uint32_t done, uint32_t total);

struct ArcContext {
  PlatFile input;                  // a file to pack, or the archive being unpacked
  uint64_t inputPos;               // file offset of the next read into the buffer
  PlatFile output;                 // the archive being packed, or the file being unpacked
  uint64_t outputPos;              // file offset of the next write from the buffer
  char archivePath[4096];          // on disk
  ArcProgressFn progress;          // NULL: no reports
  void* user;
  ArcHeader header;
  uint8_t volume;                  // starts at 1
  uint8_t inBuffer[ARC_BUFFER_SIZE];
  int inPos, inCount;
  uint8_t outBuffer[ARC_BUFFER_SIZE];
  int outCount;
  uint64_t headerPos;              // where the current header was written or read
  bool readingEntryData;           // the end of the archive file continues on the next volume
  bool entryDamaged;               // the last entry's data could not be decoded
  uint8_t volumeStart[ARC_HEADER_SIZE];   // first header of the volume in use, to recognise
  uint64_t volumeLength;                  // that volume when the medium was not changed
  LzwCoder coder;                  // string table, stack, pending half-bytes, running CRC
};

// The process-wide context. ArcAlloc: 1, or 0 when memory runs out (an
// archive left allocated is freed first).
int ArcAlloc(const char* archivePath, ArcProgressFn progress, void* user);
void ArcFree();

int ArcOpenReading(const char* path);
int ArcCloseReading();
int ArcOpenWriting(const char* path);
int ArcHeaInit(const char* fileName, int flags);
int ArcWriteHeader(int rewrite);
int ArcEncode();
int ArcHeaSetFileCRC();
int ArcPutC_K(int byte);
int ArcCloseWriting_K();
int ArcReadHeader();
int ArcDecode();
int ArcCloseWriting_D();
int ArcHeaFileCRCError();
int ArcNextFile();
ArcHeader* ArcHeaderPtr();

// The same routines on a caller's own context.
ArcContext* ArcContextAlloc(const char* archivePath, ArcProgressFn progress, void* user);
void ArcContextFree(ArcContext* ctx);

// 1 opened (input buffer emptied); 0 the file does not exist; -1 any other
// failure, logged with the path.
int ArcOpenReading(ArcContext* ctx, const char* path);
// 1, or -1 when closing fails.
int ArcCloseReading(ArcContext* ctx);
// Creates the file anew (an existing one, or a link of that name, is removed
// first, so nothing is written through a link); -1 after message 50034 or 50033.
int ArcOpenWriting(ArcContext* ctx, const char* path);
// Fills the header for the open input file; `fileName` is the name as found
// on disk (no directory). 0 when it does not fit 13 characters of code page
// 1250 or the file is 4 GiB or longer (logged and shown).
int ArcHeaInit(ArcContext* ctx, const char* fileName, int flags);
// Writes the header at the end of the archive, or with `rewrite` over the
// place it was last written; 1, or 0 on failure.
int ArcWriteHeader(ArcContext* ctx, int rewrite);
// Packs the header's length of bytes of the input file; 1, or -1.
int ArcEncode(ArcContext* ctx);
int ArcHeaSetFileCRC(ArcContext* ctx);
int ArcPutC_K(ArcContext* ctx, int byte);
int ArcCloseWriting_K(ArcContext* ctx);
// 1 entry header read, 0 end mark, -2 checksum wrong, -1 error (unknown
// format, a name that is not a plain file name, a read failure, or the
// operator gave up waiting for the next volume).
int ArcReadHeader(ArcContext* ctx);
// Unpacks the current entry into the output file; 1, or -1.
int ArcDecode(ArcContext* ctx);
int ArcCloseWriting_D(ArcContext* ctx);
// 1 when the unpacked bytes do not give the header's CRC-16 (or could not be
// decoded at all), else 0.
int ArcHeaFileCRCError(ArcContext* ctx);
// Scans from one byte after the current header for the next header with a
// right checksum and leaves the archive positioned at it: 1 found, 0 end of
// the archive file, -1 read error.
int ArcNextFile(ArcContext* ctx);

// The entry's name (header, code page 1250) as a file name in the system's
// character set.
std::string ArcEntryName(const ArcHeader* header);

// Asks 50006 "Czy kontynuować ?" under the title message; true for yes.
bool ArcAskContinue(int titleMessage);

// 0 equal, 1 different (byte for byte, letter case counts), -1 when either
// file cannot be opened or read (logged with path a).
int CompareFiles(const char* pathA, const char* pathB);
