// One input of a register family's fuzz target: the first byte chooses the
// family's mode, the rest are the register's answers (silence after them).
#pragma once
#include <cstddef>
#include <cstdint>

#include "fiscal/cash_register_layer.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/register_operations.h"
#include "fuzz/serial_answers.h"

inline int RegisterFuzzInput(const RegisterFuzzFamily& family, const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  SetRegisterFuzzMode(family.modes[data[0] % family.count]);
  SerialFuzzAnswers(data + 1, size - 1);
  return SerialFuzzRun(RunEveryRegisterOperation, KFClose);
}
