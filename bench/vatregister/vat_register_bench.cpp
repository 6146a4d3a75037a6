// The year's VAT register printout as the operator gets it: a firm seeded
// with a year of sales invoices, the register built into its table and
// printed through the tabulogram and the character path (EPSON 9-pin,
// Latin 2) to a file, the screen on the headless display, which counts how
// often the printing looks at it; against a plain fwrite of the same bytes,
// a line a call. Prints both rates (lines a second, the median of five runs),
// their ratio, the lines, the display polls a line and the build's time.
//
//   bench_vatregister [--documents=N] [benchmark flags]
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "db/db_engine.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "print/printer.h"
#include "printouts/vat_register_print.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_seed.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"

namespace {

long documents = 10000;

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

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; i++) {
    long value = LongOption(argv[i], "--documents=");
    if (value > 0)
      documents = value;
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
