// Printer fonts from the program directory (a user copies them in): a
// headerless bitmap font or a PCL soft font, loaded and drawn by the graphic
// print mode over a fixed page of text. The first byte chooses the font
// (bitmap he12x32.fnt, soft lport.fnt upright or turned); the rest is the file.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/program_dir.h"
#include "print/graphic_render.h"
#include "print/printer.h"

namespace {

const char kPage[] = "AL#!\xA5\x86 Zelsal 123\n\n\tfaktura\r\xFF\x20\x7F\n\f\xA4\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  FuzzKeyWaits(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  Printer = PrinterDefaults();
  PrintJobState = PrintJob{};
  BuildModeList(0);
  Printer.mode = 0;
  Printer.fontNo = data[0] % 3 == 0 ? 9 : 21;
  Printer.orientation = data[0] % 3 == 2 ? 2 : 1;
  const std::string font = PlatProgramDir() + (Printer.fontNo == 9 ? "he12x32.fnt" : "lport.fnt");
  if (!FuzzWriteFile(font, data + 1, size - 1)) return 0;
  FILE* spool = std::tmpfile();
  FILE* out = std::tmpfile();
  if (spool && out && std::fputs(kPage, spool) >= 0) {
    PrintJobState.output = out;
    RenderGraphicSpool(spool, out);
    PrintJobState.output = nullptr;
  }
  if (spool) std::fclose(spool);
  if (out) std::fclose(out);
  std::remove(font.c_str());
  return 0;
}
