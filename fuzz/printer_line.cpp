#include "fuzz/printer_line.h"

#include <string>

#include "fuzz/fuzz_support.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

int g_base = -1;   // the windows under every input's

}  // namespace

int FuzzPrinterLineSetup() {
  FuzzSetup();
  DisplaySelect(DisplayHeadless());   // its clock is fixed: silent waits pass at once
  HeadlessOnExhausted([] { throw FuzzKeysEnded(); });
  HeadlessSetScript("");
  HeadlessSetClientSize(640, 480);
  if (w4init_video(1) != 0) return 1;
  open_envr_win();
  FuzzUseAnsweringPort();
  g_base = Desktop.topWindow;
  return 0;
}

void FuzzPrinterLine(const uint8_t* answers, size_t size, void (*operations)(), void (*giveUp)()) {
  FuzzNewInput();
  FuzzPortAnswers(answers, size);
  static const std::string keys = FuzzEscapes(64);
  HeadlessSetScript(keys.c_str());
  try {
    operations();
  } catch (const FuzzKeysEnded&) {
    giveUp();
  }
  while (Desktop.topWindow >= 0 && Desktop.topWindow != g_base) w4close(Desktop.topWindow);
}
