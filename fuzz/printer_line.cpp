#include "fuzz/printer_line.h"

#include <stdexcept>
#include <string>

#include "fuzz/fuzz_support.h"
#include "interchange/serial_port.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

struct KeysEnded : std::runtime_error {
  KeysEnded() : std::runtime_error("keys ended") {}
};

const uint8_t* g_answers = nullptr;
size_t g_left = 0;
int g_base = -1;   // the windows under every input's

bool Open(const char*) { return true; }
bool Configure(const PlatSerialSettings*) { return true; }
void Write(unsigned char, int, bool* done) { *done = true; }
void Read(unsigned char* byte, int, bool* done) {
  *done = g_left > 0;
  if (!*done) return;
  *byte = *g_answers++;
  g_left--;
}
void Purge() {}
void Close() {}
const ComPortSeam kPrinter = {Open, Configure, Write, Read, Purge, Close};

std::string Escapes() {
  std::string keys;
  for (int i = 0; i < 64; i++) keys += "{ESC}";
  return keys;
}

}  // namespace

int FuzzPrinterLineSetup() {
  FuzzSetup();
  DisplaySelect(DisplayHeadless());   // its clock is fixed: silent waits pass at once
  HeadlessOnExhausted([] { throw KeysEnded(); });
  HeadlessSetScript("");
  HeadlessSetClientSize(640, 480);
  if (w4init_video(1) != 0) return 1;
  open_envr_win();
  SetComPortSeam(&kPrinter);
  g_base = Desktop.topWindow;
  return 0;
}

void FuzzPrinterLine(const uint8_t* answers, size_t size, void (*operations)(), void (*giveUp)()) {
  FuzzNewInput();
  g_answers = answers;
  g_left = size;
  static const std::string keys = Escapes();
  HeadlessSetScript(keys.c_str());
  try {
    operations();
  } catch (const KeysEnded&) {
    giveUp();
  }
  while (Desktop.topWindow >= 0 && Desktop.topWindow != g_base) w4close(Desktop.topWindow);
}
