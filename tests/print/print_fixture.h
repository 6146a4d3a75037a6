// Fixtures of the printing tests: an environment with the engine, the
// printer settings reset, CUPS pointed at a socket nobody listens on, and
// helpers for font files and jobs written to a file.
#pragma once
#include <cstdlib>
#include <functional>
#include <string>
#include "platform/program_dir.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "tests/support/no_print_queue.h"
#include "tests/ui/ui_fixture.h"

inline void ResetPrinterState() {
  Printer = PrinterDefaults();
  PrintJobState = PrintJob{};
  BuildModeList(0);
}

// A headerless bitmap font: glyph(c, row) gives the row's bytes (most
// significant bit leftmost) of character c.
inline std::string BitmapFont(int cellWidth, int cellHeight,
                              const std::function<std::string(int c, int row)>& glyph) {
  const int B = (cellWidth + 7) / 8;
  std::string data;
  for (int c = 32; c < 256; c++)
    for (int row = 0; row < cellHeight; row++) {
      std::string bytes = glyph(c, row);
      bytes.resize(static_cast<size_t>(B), '\0');
      data += bytes;
    }
  return data;
}

class PrintTest : public EngineUiTest {
 protected:
  void SetUp() override {
    EngineUiTest::SetUp();
    if (HasFatalFailure()) return;
    noQueue.Start(dir);
    ResetPrinterState();
  }
  void TearDown() override {
    if (PrintJobState.output || PrintJobState.spool || PrintJobState.rawChosen || PrintJobState.deviceContext)
      deinit_prn();
    ResetPrinterState();
    noQueue.Stop();
    EngineUiTest::TearDown();
  }

  static void WriteProgramFile(const std::string& name, const std::string& bytes) {
    WriteFile(PlatProgramDir() + name, bytes);
  }

  // A character or graphic job whose output goes to out.prn; its start
  // routine's result.
  int StartJob(int flags) {
    PrintJobState.flags = flags;
    Printer.openOutput = 0;
    PrintJobState.output = std::fopen(Path("out.prn").c_str(), "w+b");
    return OpenPrintJob("TST", "Test");
  }
  std::string FinishJob() {
    deinit_prn();
    return ReadFile(Path("out.prn"));
  }

  NoPrintQueue noQueue;
};

// Printing on the headless screen: the standard windows, CUPS pointed at
// a socket nobody listens on, the printer settings reset.
class PrintScreen {
 public:
  void Start(const std::string& dir) {
    open_envr_win();
    noQueue.Start(dir);
    unsetenv("ZELSAL_PRINTERS");
    ResetPrinterState();
  }
  void Stop() {
    ResetPrinterState();
    noQueue.Stop();
    close_envr_win();
  }

 private:
  NoPrintQueue noQueue;
};

// The same with the engine, for dialogs.
class PrintUiTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    d4init(&env->engine);
    printing.Start(dir);
  }
  void TearDown() override {
    printing.Stop();
    env->engine.error_code = 0;
    d4init_undo(&env->engine);
    UiTest::TearDown();
  }
  PrintScreen printing;
};
