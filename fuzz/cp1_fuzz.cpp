// A CP1 archive from outside, unpacked entry by entry through a work file as
// the restore does, going on after damaged entries; nothing may land outside
// the working directory.
#include "fuzz/fuzz_support.h"
#include "interchange/archive.h"

namespace {

constexpr int kEntries = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile("IN.CP1", data, size)) return 0;
  ArcContext* ctx = ArcContextAlloc("IN.CP1", nullptr, nullptr);
  if (!ctx) return 0;
  if (ArcOpenReading(ctx, "IN.CP1") == 1) {
    for (int entry = 0; entry < kEntries; entry++) {
      int r = ArcReadHeader(ctx);
      if (r == 0 || r == -1) break;
      if (r == 1) {
        ArcEntryName(&ctx->header);
        bool whole = ArcOpenWriting(ctx, "tempxxxx.$$$") == 1 && ArcDecode(ctx) == 1;
        if (ArcCloseWriting_D(ctx) != 1) whole = false;
        if (whole && !ArcHeaFileCRCError(ctx)) continue;
      }
      if (ArcNextFile(ctx) != 1) break;
    }
  }
  ArcCloseReading(ctx);
  ArcCloseWriting_D(ctx);
  ArcContextFree(ctx);
  FuzzCheckNothingEscaped();
  return 0;
}
