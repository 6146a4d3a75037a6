// An archive from the bookkeeping program ("ZELM_...EXP") imported into a
// firm whose catalogues hold one account, contractor and description: the
// input is the archive's bytes. The seller questions are answered yes, so
// the merge runs; nothing of the archive may stay in the firm directory or
// land outside the working directory.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program_messages.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "finance/bookkeeping_exchange.h"
#include "fuzz/fuzz_support.h"
#include "platform/dirs.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"

namespace {

const char kKeys[] = "TTTTTTTTTTTTTTTTTTTT";

void Seed(int (*open)(int), TableHandles& set, const char* field, const char* value) {
  if (open(0) != 0) return;
  d4append_start(set.table, 0);
  d4blank(set.table);
  f4assign(d4field(set.table, field), value);
  d4append(set.table);
  d4close(set.table);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  RegisterProgramMessages();
  EnvCurrent()->settlementYear = 2026;
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzNewInput();
  FuzzClearWorkDir();
  const std::string work = FuzzWorkDir();
  const std::string exchange = work + "wymiana/", firm = work + "firma/";
  if (mkdir(exchange.c_str(), 0700) != 0 || mkdir(firm.c_str(), 0700) != 0) return 0;
  const std::string archive = exchange + "ZELM_2026_1.EXP";
  if (!FuzzWriteFile(archive, data, size) || !FuzzEnterFolder(firm)) return 0;
  DbEngine* engine = FuzzEngine();
  Seed(OpenZ5KONT, Z5KONT, "NUM", "100");
  Seed(OpenZ5KHNT, Z5KHNT, "KOD", "ABC");
  Seed(OpenZ5OPIS, Z5OPIS, "KOD", "SP");
  std::vector<PlatDirEntry> before, after;
  PlatListDir(firm.c_str(), "*", &before);
  FuzzScreenKeys(kKeys);
  try {
    if (OpenZ5PAWL() == 0) ImportArchiwum(EnvFromDiskPath(archive).c_str());
  } catch (const FuzzKeysEnded&) {
  }
  engine->error_code = 0;
  d4close_all(engine);
  FuzzEnterFolder(work);
  // The work directory of the import is gone whatever the archive held.
  PlatListDir(firm.c_str(), "zimp*", &after);
  if (!after.empty()) {
    std::fprintf(stderr, "the import left its work directory behind\n");
    std::abort();
  }
  FuzzCheckNothingEscaped();
  return 0;
}
