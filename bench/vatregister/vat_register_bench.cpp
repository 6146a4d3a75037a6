// The year's VAT register printout as the operator gets it: a firm seeded
// with a year of sales invoices, the register built into its table and
// printed through the tabulogram and the character path (EPSON 9-pin,
// Latin 2) to a file, the screen on the headless display, which counts how
// often the printing looks at it; against a plain fwrite of the same bytes,
// a line a call. Prints both rates (lines a second, the median of five runs),
// their ratio, the lines, the display polls a line and the build's time.
//
// Then the same printout, and page-down in the goods catalogue, in the real
// SDL window on a virtual X screen of its own (Xvfb; skipped where it is
// missing) against the headless display in the same run.
//
//   bench_vatregister [--documents=N] [--goods=N] [--page_downs=N] [--no_window] [benchmark flags]
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "bench/bench_support.h"
#include "bench/vatregister/xvfb_window.h"
#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "print/printer.h"
#include "printouts/vat_register_print.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_seed.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"

namespace {

long documents = 10000;
long goods = 100000;
long page_downs = 200;
bool window_runs = true;

// The tabulogram's layout and print dialogs taken as offered, the file name
// confirmed and its overwriting, "too wide: go on" and "in strips" answered
// yes, as the operator prints the register again.
const char* const kKeys = "{F2}{F2}{ENTER}TTT";

void fail(const char* what) {
  std::fprintf(stderr, "bench_vatregister: %s failed\n", what);
  std::exit(2);
}

// Day `day` of 2026 as CCYYMMDD.
std::string DateOfDay(long day) {
  using namespace std::chrono;
  year_month_day date{sys_days{year{2026} / January / 1} + days{day}};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()));
  return text;
}

std::string Money(double amount) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", amount);
  return text;
}

// An invoice of one to three lines at 23 % and 8 %, the year's invoices
// spread evenly over its days.
const char* SeedInvoice(long i) {
  const std::string date = DateOfDay((i - 1) * 365 / documents);
  const std::string buyer = "Przedsiębiorstwo Handlowe Świt " + std::to_string(i);
  const Fields header = {{"NA1", buyer}, {"ULI", "Żeromskiego 12"}};
  double net[3];
  for (int k = 0; k < 3; k++) net[k] = 10 + (i * 37 + k * 101) % 5000 + (i * 13 % 100) / 100.0;
  const Fields a = {{"NA1", "Towar A"}, {"VAT", "1"}, {"WNE", Money(net[0])}, {"WAV", Money(net[0] * 0.23)},
                    {"WAB", Money(net[0] * 1.23)}};
  const Fields b = {{"NA1", "Usługa B"}, {"VAT", "2"}, {"WNE", Money(net[1])}, {"WAV", Money(net[1] * 0.08)},
                    {"WAB", Money(net[1] * 1.08)}};
  const Fields c = {{"NA1", "Towar C"}, {"VAT", "1"}, {"WNE", Money(net[2])}, {"WAV", Money(net[2] * 0.23)},
                    {"WAB", Money(net[2] * 1.23)}};
  const int rec = static_cast<int>(i);
  switch (i % 3) {
    case 0: return SeedSalesDocument(Z5SPRZ, Z5SPRE, rec, 1, "FV", date.c_str(), header, {a});
    case 1: return SeedSalesDocument(Z5SPRZ, Z5SPRE, rec, 1, "FV", date.c_str(), header, {a, b});
    default: return SeedSalesDocument(Z5SPRZ, Z5SPRE, rec, 1, "FV", date.c_str(), header, {a, b, c});
  }
}

int AcceptAll() { return 45; }

// The last printout: its lines (each with its line feed) and the display
// polls it made.
std::vector<std::string> printout;
long display_polls = 0;

// The record the build leaves the register's table on: the layout dialog
// sizes the amount columns by the current record's amounts.
long built_on = 0;

// The register's table printed as the program prints it, into win.prn.
long PrintRegister() {
  if (d4go(Z5ESPP.table, built_on) != 0) fail("d4go");
  if (HeadlessSetScript(kKeys) != 0) fail("HeadlessSetScript");
  const long before = HeadlessPollCount();
  if (drukuj_tabele_rejestru(1) != 0 || HeadlessKeysLeft() != 0) fail("drukuj_tabele_rejestru");
  display_polls = HeadlessPollCount() - before;
  return static_cast<long>(printout.size());
}

// The same bytes written as they are, one call a line.
long WritePlain() {
  FILE* out = std::fopen("plain.prn", "wb");
  if (out == nullptr) fail("plain.prn");
  for (const std::string& line : printout) std::fwrite(line.data(), line.size(), 1, out);
  std::fclose(out);
  return static_cast<long>(printout.size());
}

// The printout's file cut into lines after each line feed.
std::vector<std::string> LinesOf(const char* file) {
  std::vector<std::string> lines;
  FILE* in = std::fopen(file, "rb");
  if (in == nullptr) fail(file);
  std::string line;
  for (int c; (c = std::fgetc(in)) != EOF;) {
    line += static_cast<char>(c);
    if (c == '\n') lines.push_back(std::move(line)), line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  std::fclose(in);
  return lines;
}

void Run(benchmark::State& state, long (*work)()) {
  for (auto _ : state) state.SetItemsProcessed(work());
}

// The goods catalogue's table with `goods` records, codes in order.
void SeedGoods() {
  if (OpenZ5TOWA(0) != 0) fail("OpenZ5TOWA");
  if (d4lock_all(Z5TOWA.table) != 0) fail("d4lock_all");
  char code[24];
  for (long i = 1; i <= goods; i++) {
    std::snprintf(code, sizeof code, "T%07ld", i);
    const std::string name = "Towar handlowy numer " + std::to_string(i);
    if (const char* failed = AppendFields(Z5TOWA.table, {{"KOD", code}, {"NA1", name}, {"ILO", "10"}, {"STA", "A"}}))
      fail(failed);
  }
  d4unlock(Z5TOWA.table);
}

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// One display the window comparison runs on: it gives the keys of a run.
struct Display {
  const char* name;
  void (*select)();
  void (*type)(const std::vector<int>& sdlKeys);   // SDL key codes, TypedSdlWindow::Text(c)
  long (*polls)();
};

TypedSdlWindow* window = nullptr;

// The headless display's script for the same keys.
std::string ScriptOf(const std::vector<int>& keys) {
  std::string script;
  for (int key : keys) {
    if (key < 0) script += static_cast<char>(-key);
    else if (key == SDLK_F2) script += "{F2}";
    else if (key == SDLK_RETURN) script += "{ENTER}";
    else if (key == SDLK_PAGEDOWN) script += "{PGDN}";
    else if (key == SDLK_ESCAPE) script += "{ESC}";
    else fail("a key the script cannot name");
  }
  return script;
}

const Display kHeadless = {
    "headless", [] { DisplaySelect(DisplayHeadless()); },
    [](const std::vector<int>& keys) {
      if (HeadlessSetScript(ScriptOf(keys).c_str()) != 0) fail("HeadlessSetScript");
    },
    [] { return HeadlessPollCount(); }};
const Display kWindow = {
    "SDL window", [] {
      // The window runs on the real clock, as the program does.
      PlatClockFix(nullptr);
      window->Select();
    },
    [](const std::vector<int>& keys) { window->Type(std::deque<int>(keys.begin(), keys.end())); },
    [] { return window->polls; }};

const std::vector<int> kPrintKeys = {SDLK_F2, SDLK_F2, SDLK_RETURN, TypedSdlWindow::Text('T'),
                                     TypedSdlWindow::Text('T'), TypedSdlWindow::Text('T')};

// The register printed once on the display: wall-clock milliseconds.
double PrintOn(const Display& display, long* polls) {
  display.select();
  if (d4go(Z5ESPP.table, built_on) != 0) fail("d4go");
  display.type(kPrintKeys);
  const long before = display.polls();
  auto start = std::chrono::steady_clock::now();
  if (drukuj_tabele_rejestru(1) != 0) fail("drukuj_tabele_rejestru");
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  *polls = display.polls() - before;
  return ms;
}

// The goods catalogue opened, `count` page-downs and Esc: the program's CPU milliseconds.
double CatalogueOn(const Display& display, long count) {
  display.select();
  std::vector<int> keys(static_cast<size_t>(count), SDLK_PAGEDOWN);
  keys.push_back(SDLK_ESCAPE);
  display.type(keys);
  const double start = CpuMs();
  if (kartoteka_towarow() != 0) fail("kartoteka_towarow");
  return CpuMs() - start;
}

// The window against the headless display, run after run in turn.
void CompareWindow() {
  XvfbScreen screen(1024, 768);
  if (!screen.ready) {
    std::printf("\nno Xvfb: the SDL window's runs are skipped\n");
    return;
  }
  DisplayBackend* sdl = DisplaySdl();
  unsetenv("SDL_VIDEODRIVER");
  if (sdl->open(Desktop.cols * Desktop.cellWidth, Desktop.rows * Desktop.cellHeight) != 0) fail("SDL open");
  sdl->show();
  TypedSdlWindow typed;
  window = &typed;
  const Display* displays[] = {&kHeadless, &kWindow};
  std::vector<double> print_ms[2], page_ms[2];
  long print_polls[2] = {0, 0};
  for (int run = 0; run < 5; run++)
    for (int d = 0; d < 2; d++) {
      print_ms[d].push_back(PrintOn(*displays[d], &print_polls[d]));
      const double opened = CatalogueOn(*displays[d], 0), paged = CatalogueOn(*displays[d], page_downs);
      page_ms[d].push_back((paged - opened) / static_cast<double>(page_downs));
    }
  DisplaySelect(DisplayHeadless());
  sdl->close();
  std::printf("\n%-52s %10s %10s %8s\n", "SDL window against headless (median of 5)", "window", "headless", "ratio");
  std::printf("%-52s %10.0f %10.0f %8.2f\n", "print the VAT register (ms, wall clock)", Median(print_ms[1]),
              Median(print_ms[0]), Median(print_ms[1]) / Median(print_ms[0]));
  std::printf("%-52s %10.3f %10.3f %8.2f\n",
              ("page-down over " + std::to_string(goods) + " goods (ms of CPU a key)").c_str(), Median(page_ms[1]),
              Median(page_ms[0]), Median(page_ms[1]) / Median(page_ms[0]));
  std::printf("display polls of the last printout: window %ld, headless %ld; %ld page-downs a run, grid %d x %d\n",
              print_polls[1], print_polls[0], page_downs, Desktop.cols, Desktop.rows);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; i++) {
    if (long value = LongOption(argv[i], "--documents="); value > 0)
      documents = value;
    else if (long count = LongOption(argv[i], "--goods="); count > 0)
      goods = count;
    else if (long keys = LongOption(argv[i], "--page_downs="); keys > 0)
      page_downs = keys;
    else if (std::strcmp(argv[i], "--no_window") == 0)
      window_runs = false;
    else
      rest.push_back(argv[i]);
  }
  int rest_count = static_cast<int>(rest.size());
  benchmark::Initialize(&rest_count, rest.data());

  // The print dialog offers the file alone (CUPS at a socket nobody listens
  // on); the print settings are kept in the scratch directory.
  ScratchDir scratch("zelsal_vatregister_");
  const std::filesystem::path& dir = scratch.path;
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  setenv("CUPS_SERVER", (dir / "no-cups.sock").c_str(), 1);
  unsetenv("ZELSAL_PRINTERS");

  // The program's start on the headless display: the screen, the engine with
  // the program's cache settings, the standard windows.
  DisplaySelect(DisplayHeadless());
  HeadlessSetScript("");
  static char program[] = "bench_vatregister";
  static char* env_argv[] = {program, nullptr};
  Environment* env = CreateEnvironment(1, env_argv);
  if (env == nullptr) fail("CreateEnvironment");
  if (w4init_video(1) != 0) fail("w4init_video");
  init_help_line();
  d4init(&env->engine);
  env->engine.cache_memory = 16384;
  env->engine.cache_buffer_size = 4096;
  env->engine.lock_tries = 5;
  if (d4opt_start(&env->engine) != 0) fail("d4opt_start");
  open_envr_win();
  clr_key_buf();
  std::strcpy(env->ownerName, "Firma Handlowa Zelsal Sp. z o.o.");

  kontekst_sprzedazy context{};
  if (const char* failed = OpenSalesFirm(env, dir.string() + "/", &context)) fail(failed);
  for (long i = 1; i <= documents; i++)
    if (const char* failed = SeedInvoice(i)) fail(failed);
  if (window_runs) SeedGoods();
  const long sales_lines = d4reccount(Z5SPRE.table);
  // The register's printer settings: character printing to the file.
  if (CreateZ5ESPP() != 0) fail("CreateZ5ESPP");
  Printer = PrinterDefaults();
  Printer.mode = 1;
  Printer.family = PRN_EPSON9;
  Printer.codePage = 2;
  SavePrintSettings(Z5ESPP.table, "TAB");
  d4close(Z5ESPP.table);
  Printer = PrinterDefaults();

  wiersz_rejestru_vat row{};
  ZrodloRejestruVat source{AcceptAll, 1, 1, nullptr, nullptr, nullptr};
  auto built = std::chrono::steady_clock::now();
  if (zbuduj_rejestr_vat(&row, &source) != 0) fail("zbuduj_rejestr_vat");
  const double build_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - built).count();
  const long rows = d4reccount(Z5ESPP.table);
  built_on = d4recno(Z5ESPP.table);
  // The file of an earlier printout is there, as the plain write's is after
  // its first run; a first printout gives the bytes of the plain write.
  std::fclose(std::fopen("win.prn", "wb"));
  PrintRegister();
  printout = LinesOf("win.prn");
  long bytes = 0;
  for (const std::string& line : printout) bytes += static_cast<long>(line.size());

  const std::string name = "print the VAT register, window";
  const std::pair<const char*, long (*)()> sides[] = {{"program", PrintRegister}, {"fwrite", WritePlain}};
  for (const auto& [side, work] : sides)
    FiveRuns(benchmark::RegisterBenchmark((std::string(side) + "/" + name).c_str(), Run, work));
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (static_cast<long>(std::filesystem::file_size("win.prn")) != bytes) fail("the same printout");
  RateReporter::Heading("operation (lines/s, median of 5)", "program");
  RateReporter::Line(name + " [fwrite]", reporter.Median("program/" + name), reporter.Median("fwrite/" + name));
  std::printf("documents %ld (%ld lines of sales), register built in %.0f ms (%ld rows with the totals row)\n",
              documents, sales_lines, build_ms, rows);
  std::printf("print: %zu lines, %ld bytes; %ld display polls in the last run (%.2f a line)\n", printout.size(),
              bytes, display_polls, static_cast<double>(display_polls) / static_cast<double>(printout.size()));
  if (window_runs) CompareWindow();

  d4close(Z5ESPP.table);
  salesContext = nullptr;
  close_envr_win();
  d4close_all(&env->engine);
  d4init_undo(&env->engine);
  w4init_undo();
  w4close_video(1);
  DeleteEnvironment(env);
  benchmark::Shutdown();
  return 0;
}
