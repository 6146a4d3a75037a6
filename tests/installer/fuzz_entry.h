// The entry points of the LHA reader's fuzz target, run here over its corpus
// and over inputs made from it.
#pragma once
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
