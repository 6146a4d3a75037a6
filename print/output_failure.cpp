#include "print/output_failure.h"

#include <string>

#include "env/code_pages.h"
#include "env/file_cause.h"
#include "platform/screen_hook.h"
#include "print/printer.h"

bool TellJobOutputFailure() {
  std::string cause = FileCauseText();
  if (cause.empty()) return false;
  // A document that failed on a page fails again as it is closed.
  if (PrintJobState.outputFailureTold) return true;
  PrintJobState.outputFailureTold = true;
  const bool toFile = Printer.output == 1;
  std::string text = Utf8ToMazText(toFile ? "Wydruk nie został zapisany do zbioru\n" : "Wydruk nie został przygotowany dla drukarki\n") +
                     (toFile ? Printer.outputFile : PrintJobState.printerName) + "\n" + cause;
  ScreenMessageBox(SCREEN_BOX_ERROR, Utf8ToMazText("BŁĄD").c_str(), text.c_str());
  return true;
}
