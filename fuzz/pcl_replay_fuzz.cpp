// The PCL a graphic job left in "Wydruk.prn", replayed onto the pages of a
// page document (a PDF file here) as the print job's end does. The input:
// a byte choosing the font and orientation, the rendering's longest raster
// row and most rows on a page (two bytes each; the replay sizes its page by
// them, and a file from outside need not agree with them), then the file.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/byte_order.h"
#include "print/graphic_render.h"
#include "platform/printers.h"
#include "print/pcl_replay.h"
#include "print/printer.h"
#include "print/settings_dialog.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  FuzzKeyWaits(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5 || !FuzzInputFile("Wydruk.prn", data + 5, size - 5)) return 0;
  LastRenderStats = GraphicRenderStats{GetLe16(data + 1) % 512, GetLe16(data + 3) % 4096};
  Printer = PrinterDefaults();
  PrintJobState = PrintJob{};
  BuildModeList(0);
  Printer.mode = 0;
  // The font whose soft-font text the replay places (upright or turned) follows the first byte.
  Printer.fontNo = data[0] & 1 ? 21 : 9;
  Printer.orientation = data[0] & 2 ? 2 : 1;
  if (OpenSelectedPrinter({kPrintToFileEntry}, 0) != 1) return 0;
  std::snprintf(Printer.outputFile, sizeof Printer.outputFile, "strona.pdf");
  FILE* file = std::fopen((FuzzWorkDir() + "Wydruk.prn").c_str(), "r+b");
  if (file) {
    ReplayPclFile(file);
    std::fclose(file);
  }
  if (PrintJobState.document) PlatPageDocClose(PrintJobState.document, false);
  PrintJobState = PrintJob{};
  return 0;
}
