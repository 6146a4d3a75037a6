// The reader of the installer's LHA archives: level-1 member headers, members
// stored (-lh0-) or compressed (-lh5-), extracted with a CRC check, the
// member's date and attribute, progress that can cancel, and every failure as
// a numbered error with its Polish text.
#pragma once
#include <cstdint>
#include <string>
#include "platform/files.h"

struct Lh5Decoder;

// Error codes of the reader.
enum {
  ARC_ERR_NONE = 0,
  ARC_ERR_CANCEL = 1,
  ARC_ERR_OPEN = 2,
  ARC_ERR_CREATE = 3,
  ARC_ERR_FILE_OP = 4,
  ARC_ERR_WRITE = 5,
  ARC_ERR_READ = 6,
  ARC_ERR_CRC = 7,
  ARC_ERR_HEADER = 8,
  ARC_ERR_STREAM = 9,
  ARC_ERR_METHOD = 10,
  ARC_ERR_READ_ONLY = 12,
  ARC_ERR_DISK_FULL = 13,
  ARC_ERR_CREATE_DENIED = 14,
  ARC_ERR_CREATE_IN_USE = 15,
  ARC_ERR_CREATE_READ_ONLY_DISK = 16,
  ARC_ERR_OPEN_IN_USE = 17,
  ARC_ERR_OPEN_NOT_FOUND = 19,
  ARC_ERR_EMPTY = 20,
  ARC_ERR_READ_MEDIUM = 21,
  ARC_ERR_READ_DEVICE = 22,
  ARC_ERR_HEADER_LEVEL = 23,   // a header level other than 1
};

// Called for every decoded chunk with its size, and once with the negative of
// what was reported when a member fails; setting *cancel stops the member.
typedef void (*TArcProgress)(void* user, long bytes, unsigned char* cancel);

struct TArcSeekRec {
  uint32_t size;        // uncompressed
  std::string name;
  std::string path;     // output directory + name
};

struct TArcManager {
  std::string archiveName;   // set before ArcSeekOpen
  std::string outDir;        // ends in "\" or "/"; set before ArcExtract

  TArcProgress progress = nullptr;
  void* progressUser = nullptr;

  TArcManager();
  ~TArcManager();
  TArcManager(const TArcManager&) = delete;
  TArcManager& operator=(const TArcManager&) = delete;

  bool ArcSeekOpen();
  bool ArcSeekFirst(TArcSeekRec* rec);
  bool ArcSeekNext(TArcSeekRec* rec);
  bool ArcExtract(bool testOnly);
  void ArcSeekClose();
  bool ArcTestError(int code);
  void ArcShowError();

  int ErrorCode() const { return errorCode; }
  const std::string& ErrorText() const { return errorText; }

 private:
  PlatFile archive = PLAT_NO_FILE;
  uint64_t archiveSize = 0;
  std::string errorArchive;         // the archive named in error texts
  std::string header;               // the current member's base header, whole
  bool haveHeader = false;
  bool walkStarted = false;         // ArcSeekFirst ran since the archive was opened
  uint64_t headerOffset = 0, nextHeaderOffset = 0;
  uint64_t dataOffset = 0;
  uint32_t packedLeft = 0;          // packed bytes of the current member's data
  std::string memberName;
  int errorCode = ARC_ERR_NONE;
  std::string errorText;
  long reported = 0;                // bytes reported for the current member
  uint16_t crcTable[256];
  Lh5Decoder* decoder;

  // Extraction state, shared with the decoder's callbacks.
  PlatFile outFile = PLAT_NO_FILE;
  uint64_t readPos = 0, writePos = 0;
  uint32_t readLeft = 0;
  uint16_t crc = 0;
  bool failed = false;
  std::string outPath;

  bool ReadHeaderAt(uint64_t offset, TArcSeekRec* rec);
  bool Fail(int code, const std::string& file, int systemError);
  bool FailWithSystem(int operation, const std::string& file);
  bool CopyStored();
  bool DecodeCompressed();
  bool WriteOut(const unsigned char* data, size_t size);
  long ReadPacked(unsigned char* buffer, size_t size);
  void EndFailedMember(const std::string& tempPath);
  static long DecoderRead(void* user, unsigned char* buffer, size_t size);
  static bool DecoderWrite(void* user, const unsigned char* data, size_t size);
};

// The member's MS-DOS date and time as seconds since the epoch, read as local time.
int64_t ArcDosTimeToSeconds(uint32_t dosTime);
