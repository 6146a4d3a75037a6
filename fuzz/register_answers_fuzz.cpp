// The cash registers' answers from outside: every operation of the register
// layer for one protocol family (the first byte chooses it), the register
// answering with the input's bytes and falling silent when they run out.
// Questions and error boxes are answered with Esc, so every wait ends.
#include <string>

#include "fiscal/cash_register_layer.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/register_operations.h"
#include "interchange/serial_port.h"

namespace {

const uint8_t* g_answers = nullptr;
size_t g_left = 0;

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
const ComPortSeam kRegister = {Open, Configure, Write, Read, Purge, Close};

std::string Escapes() {
  std::string keys;
  for (int i = 0; i < 256; i++) keys += "{ESC}";
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  if (!FuzzStartScreen()) return 1;
  SetComPortSeam(&kRegister);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  SetRegisterFuzzMode(data[0] % REGISTER_FUZZ_MODES);
  g_answers = data + 1;
  g_left = size - 1;
  static const std::string keys = Escapes();
  FuzzScreenKeys(keys.c_str());
  try {
    RunEveryRegisterOperation();
  } catch (const FuzzKeysEnded&) {
    KFClose();
  }
  return 0;
}
