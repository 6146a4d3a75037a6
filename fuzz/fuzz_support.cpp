#include "fuzz/fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "interchange/serial_port.h"
#include "platform/screen_hook.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

std::string g_root, g_work;
int g_context = -1;   // the target's own window
Environment* g_env = nullptr;
int g_yesLeft = 0;

void Silent(int, const char*, const char*) {}
int Answer(const char*, const char*) {
  if (g_yesLeft <= 0) return SCREEN_KEY_ESC;
  --g_yesLeft;
  return 'T';
}
void NoticeOn(const char*, const char*) {}
void NoticeOff() {}
int WaitKey() { return SCREEN_KEY_ESC; }
bool g_keyWaits = true;
// A key always waits (unless a target says otherwise): Esc, which ends every
// wait the operator could end.
int ReadKey() { return g_keyWaits ? SCREEN_KEY_ESC : 0; }
void WaitMs(int) {}
int CriticalError(const char*) { return SCREEN_KEY_ESC; }
[[noreturn]] void FatalStop(int exitCode, const char* text) {
  std::fprintf(stderr, "fatal stop %d: %s\n", exitCode, text ? text : "");
  std::abort();
}

const ScreenHook kHook = {Silent, Answer, NoticeOn, NoticeOff, WaitKey, ReadKey, WaitMs, CriticalError, FatalStop};

const uint8_t* g_answers = nullptr;
size_t g_answersLeft = 0;

bool PortOpen(const char*) { return true; }
bool PortConfigure(const PlatSerialSettings*) { return true; }
void PortWrite(unsigned char, int, bool* done) { *done = true; }
void PortRead(unsigned char* byte, int, bool* done) {
  *done = g_answersLeft > 0;
  if (!*done) return;
  *byte = *g_answers++;
  g_answersLeft--;
}
void PortPurge() {}
void PortClose() {}
const ComPortSeam kAnsweringPort = {PortOpen, PortConfigure, PortWrite, PortRead, PortPurge, PortClose};

void RemoveRoot() {
  if (!g_root.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(g_root, ignored);
  }
}

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz setup: %s\n", what);
  std::abort();
}

}  // namespace

void FuzzSetup() {
  if (g_env) return;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zelsal-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) Fail("no temporary directory");
  g_root = pattern + "/";
  std::atexit(RemoveRoot);
  // Stored names are at most 13 characters, so "../" climbs at most four
  // levels: the working directory sits five deep to see every escape.
  g_work = g_root + "1/2/3/4/work/";
  for (const char* sub : {"home", "config", "1", "1/2", "1/2/3", "1/2/3/4", "1/2/3/4/work"})
    if (mkdir((g_root + sub).c_str(), 0700) != 0) Fail("cannot make the directories");
  setenv("ZELSAL_HOME", (g_root + "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (g_root + "config").c_str(), 1);
  setenv("ZELKIT_DISPLAY", "headless", 1);
  if (chdir(g_work.c_str()) != 0) Fail("cannot enter the working directory");
  ScreenHookSet(&kHook);
  static char program[] = "Zelsal";
  static char* argv[] = {program, nullptr};
  g_env = CreateEnvironment(1, argv);
  if (!g_env) Fail("no environment");
  d4init(&g_env->engine);
}

DbEngine* FuzzEngine() { return &g_env->engine; }
const std::string& FuzzRoot() { return g_root; }
const std::string& FuzzWorkDir() { return g_work; }

void FuzzKeyWaits(bool waits) { g_keyWaits = waits; }

void FuzzNewInput() {
  g_yesLeft = 4;
  if (ScreenHookGet() != &kHook) ScreenHookSet(&kHook);
  if (g_env) g_env->engine.error_code = 0;
}

bool FuzzInputFile(const char* name, const uint8_t* data, size_t size) {
  FuzzNewInput();
  FuzzClearWorkDir();
  return FuzzWriteFile(g_work + name, data, size);
}

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  return 0;
}

bool FuzzEnterFolder(const std::string& path) {
  Environment* env = EnvCurrent();
  TransDir(EnvFromDiskPath(path).c_str(), &env->dataPath);
  return ChangeDir(&env->dataPath, 0, 0) == 0;
}

void FuzzFillTables(const std::string& folder, const char* const* names, int count, const uint8_t* at,
                    const uint8_t* end, void (*firstRecord)(DbTable*)) {
  DbEngine* engine = FuzzEngine();
  for (int t = 0; t < count; t++) {
    DbTable* table = d4open(engine, (folder + names[t]).c_str());
    if (table == nullptr) {
      engine->error_code = 0;
      continue;
    }
    int records = at < end ? *at++ % 4 : 0;
    for (int r = 0; r < records; r++) {
      d4append_start(table, 0);
      d4blank(table);
      for (int j = 1; j <= d4num_fields(table); j++) {
        DbField* field = d4field_j(table, j);
        size_t n = std::min<size_t>(f4len(field), static_cast<size_t>(end - at));
        std::memcpy(f4ptr(field), at, n);
        at += n;
      }
      if (r == 0 && firstRecord) firstRecord(table);
      d4append(table);
    }
    d4close(table);
  }
}

bool FuzzWriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

std::string FuzzReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FuzzClearWorkDir() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(g_work, ignored))
    std::filesystem::remove_all(entry.path(), ignored);
}

void FuzzCheckNothingEscaped() {
  std::error_code ignored;
  std::filesystem::path work = std::filesystem::path(g_work).parent_path();
  std::filesystem::recursive_directory_iterator it(g_root, ignored), end;
  for (; it != end; it.increment(ignored)) {
    const std::filesystem::path& path = it->path();
    std::string name = path.lexically_relative(g_root).string();
    if (name == "home" || name == "config" || path == work) {
      it.disable_recursion_pending();
      continue;
    }
    // The levels above the working directory, there to catch "../" names.
    if (it->is_directory(ignored) && (work.string() + "/").rfind(path.string() + "/", 0) == 0) continue;
    std::fprintf(stderr, "written outside the working directory: %s\n", path.c_str());
    std::abort();
  }
}

bool FuzzStartScreen() {
  DisplaySelect(DisplayHeadless());
  HeadlessOnExhausted([] { throw FuzzKeysEnded(); });
  HeadlessSetScript("");
  HeadlessSetClientSize(640, 480);
  if (w4init_video(1) != 0) return false;
  init_help_line();
  open_envr_win();
  g_context = w4define(1, 1, 3, 20);
  w4activate(g_context);
  return true;
}

void FuzzScreenKeys(const char* keys) {
  while (Desktop.topWindow >= 0 && Desktop.topWindow != g_context) w4close(Desktop.topWindow);
  w4select(g_context);
  if (HeadlessSetScript(keys) != 0) Fail("a bad key script");
}

std::string FuzzEscapes(int count) {
  std::string keys;
  for (int i = 0; i < count; i++) keys += "{ESC}";
  return keys;
}

void FuzzUseAnsweringPort() { SetComPortSeam(&kAnsweringPort); }

void FuzzPortAnswers(const uint8_t* answers, size_t size) {
  g_answers = answers;
  g_answersLeft = size;
}

DbTable* FuzzCreateFixture() {
  static const DbfFieldDef fields[] = {{"NAZWA", 'C', 10, 0}, {"ILOSC", 'N', 8, 2}, {"DATA", 'D', 8, 0},
                                       {"OK", 'L', 1, 0},     {"KOD", 'C', 3, 0},   {nullptr, 0, 0, 0}};
  static const DbfTagDef tags[] = {{"NAZWA", "NAZWA", nullptr, 0, 0},
                                   {"ILOSC", "ILOSC", nullptr, 0, 0},
                                   {"DATA", "DATA", nullptr, 0, 10},
                                   {"KODNAZ", "KOD+UPPER(NAZWA)", ".NOT.DELETED()", 0, 0},
                                   {"DNI", "DTOS(DATA-7)+STR(ILOSC,8,2)", "OK", 0, 0},
                                   {nullptr, nullptr, nullptr, 0, 0}};
  DbEngine* engine = FuzzEngine();
  engine->error_code = 0;
  DbTable* table = d4create(engine, "FIX", fields, tags);
  if (!table) return nullptr;
  static const char* const names[] = {"Alfa", "beta", "Gamma", "delta", "\217ZY", "Zeta"};
  for (int i = 0; i < 24; i++) {
    d4append_start(table, 0);
    d4blank(table);
    f4assign(d4field(table, "NAZWA"), names[i % 6]);
    f4assign_double(d4field(table, "ILOSC"), i * 12.5 - 40);
    char date[9];
    std::snprintf(date, sizeof date, "%04d%02d%02d", 1999 + i, i % 12 + 1, i % 28 + 1);
    f4assign(d4field(table, "DATA"), i == 3 ? "" : date);
    f4assign(d4field(table, "OK"), i % 3 ? "T" : "F");
    f4assign(d4field(table, "KOD"), i % 2 ? "A1" : "B2");
    if (d4append(table) != 0) {
      d4close(table);
      return nullptr;
    }
    if (i % 5 == 4) d4delete(table);
  }
  return table;
}
