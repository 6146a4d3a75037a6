// The fiscal printer's answers from outside: every operation of the
// POSNET-family driver over one protocol (the first byte chooses the printer
// type and protocol), the printer answering with the input's bytes and
// falling silent when they run out. Questions and error boxes are answered
// with Esc, so every wait ends.
#include <stdexcept>
#include <string>

#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/posnet_operations.h"
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

extern "C" int LLVMFuzzerInitialize(int*, char***) {
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  SetPosnetFuzzMode(data[0] % POSNET_FUZZ_MODES);
  g_answers = data + 1;
  g_left = size - 1;
  static const std::string keys = Escapes();
  HeadlessSetScript(keys.c_str());
  try {
    RunEveryPosnetOperation();
  } catch (const KeysEnded&) {
    PosnetCmd(2 | DF_QUIET);
  }
  while (Desktop.topWindow >= 0 && Desktop.topWindow != g_base) w4close(Desktop.topWindow);
  return 0;
}
