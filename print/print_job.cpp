// The print job: init_prn opens the output chosen in the settings dialog and
// sends the family's start strings; deinit_prn ends the page, renders the
// graphic spool, replays PCL onto the page document and closes everything.
#include <cstdio>
#include <cstring>
#include <string>

#include "env/session/environment.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/memory.h"
#include "platform/screen_hook.h"
#include "print/char_output.h"
#include "print/graphic_render.h"
#include "print/pcl_replay.h"
#include "print/output_failure.h"
#include "print/printer.h"
#include "print/settings_dialog.h"
#include "ui/name_dialogs.h"
#include "ui/window4.h"

PrintJob PrintJobState;

const char kPrintToFileEntry[] = "Wydruk do pliku";

namespace {

constexpr int kLogProgramDirPrint = 302;
constexpr int kLogProgramDirDelete = 303;
constexpr int kLogSpoolerDocument = 77;
constexpr int kLogFileOpen = 102;
constexpr int kMsgEscCancels = 50095;
constexpr int kMsgGenerating = 50096;
constexpr int kMsgPrinting = 50097;
constexpr int kMsgNoCharacterMode = 50022;
constexpr int kMsgCanonCaption = 50128;
constexpr char kReplayName[] = "Wydruk.prn";

bool InRestrictedSetOne() { return (PrintJobState.flags & PRN_RESTRICT_MASK) == 1; }

// Economode for the HP families, as PJL before the reset.
int SendEconomode() {
  if (Printer.economode != 1 && Printer.economode != 2) return 0;
  if (fwrite_spec_maxstring(EconomodeString(), 0) != 0) return -1;
  return fwrite_spec_maxstring("\x1B" "E", 0);
}

// The transient part of the job state, cleared before and after a job.
void ClearJobStrings(PrintJob& job) {
  job.graphicSpool = false;
  job.resendFont = false;
  job.hmiString = nullptr;
  job.deskJetString[0] = 0;
  job.replayFile[0] = 0;
}

int StartNinePin(int flags) {
  if (InRestrictedSetOne() && Printer.mode == 1) return fwrite_spec_maxstring("\x18", 0);
  if (flags & PRN_NORMAL_PITCH) return fwrite_spec_maxstring(Printer.family == PRN_EPSON9 ? "\x1BP" : "\x12", 0);
  return fwrite_spec_maxstring("\x0F", 0);
}

int StartOtherDotMatrix(int flags) {
  if (flags & PRN_NORMAL_PITCH) {
    bool ibm = Printer.family == PRN_IBM24 || Printer.family == PRN_PROPRINTER;
    return fwrite_spec_maxstring(ibm ? "\x12" : "\x1BP", 0);
  }
  return fwrite_spec_maxstring("\x0F", 0);
}

int StartLaserJet(int flags) {
  PrintJob& job = PrintJobState;
  if (SendEconomode() != 0) return -1;
  job.resendFont = true;
  const char* fontName;
  double cellWidth;
  if (flags & PRN_NORMAL_PITCH) {
    fontName = Printer.bold == 1 ? "courb.fnt" : "courn.fnt";
    job.hmiString = "\x1B&k11.9H";
    cellWidth = 29.75;
  } else {
    fontName = "lport.fnt";
    job.hmiString = "\x1B&k7.0H";
    cellWidth = 17.5;
  }
  // The margins follow the millimetres only where the resolution is known
  // (graphic mode with soft fonts); in character mode the typed ones stay.
  if (Printer.dpiX > 0 && Printer.dpiY > 0 && !IsCharacterMode()) {
    Printer.leftMargin = static_cast<int32_t>(Printer.leftMarginMm / 254.0 * Printer.dpiX / cellWidth);
    Printer.topMargin = static_cast<int32_t>(Printer.topMarginMm / 254.0 * Printer.dpiY / 50);
  }
  long size = 0;
  unsigned char* font = LoadFontFile(fontName, &size);
  if (font == nullptr) return -1;
  int result = fwrite_spec(font, static_cast<int>(size), 0);
  free_mem(&font);
  if (result != 0) return -1;
  if (fwrite_spec_maxstring(PageLengthString(), 0) != 0) return -1;
  return fwrite_spec_maxstring(job.hmiString, 0);
}

int StartDeskJet(int flags) {
  PrintJob& job = PrintJobState;
  const char* symbolSet = Printer.codePage == 1 || Printer.codePage == 2 ? "17U" : "10U";
  const char* pitch = flags & PRN_NORMAL_PITCH ? "10h" : "16.67h";
  std::snprintf(job.deskJetString, sizeof job.deskJetString, "\x1B" "E\x1B&l0O\x1B(%s\x1B(s0p%s12v0s0b%ct1Q\x1B&k0W\x1B&l2E",
                symbolSet, pitch, static_cast<char>('0' + Printer.pclTypeface % 10));
  if (SendEconomode() != 0) return -1;
  if (fwrite_spec_maxstring(job.deskJetString, 0) != 0) return -1;
  return fwrite_spec_maxstring(PageLengthString(), 0);
}

int RunStartRoutine(int flags) {
  PrintJob& job = PrintJobState;
  if (UsesGraphicSpool(flags)) {
    job.spool = std::tmpfile();
    if (job.spool == nullptr) return -1;
    job.graphicSpool = true;
    return 0;
  }
  switch (Printer.family) {
    case PRN_EPSON9:
    case PRN_IBM9: return StartNinePin(flags);
    case PRN_EPSON24:
    case PRN_ESCP2:
    case PRN_IBM24:
    case PRN_PROPRINTER:
    case PRN_ESCP_RASTER: return StartOtherDotMatrix(flags);
    case PRN_HP_LASER: return StartLaserJet(flags);
    case PRN_HP_DESKJET: return StartDeskJet(flags);
    default:
      ScreenMessageBox(SCREEN_BOX_WARNING, EnvFindString(kMsgCanonCaption), EnvFindString(kMsgNoCharacterMode));
      return -1;
  }
}

// Starts the raw job or opens the file; the directory is the caller's.
int OpenOutput(const char* documentName) {
  PrintJob& job = PrintJobState;
  if (Printer.output == 1 &&
      GetFileOutputName(Printer.outputFile, sizeof Printer.outputFile, "win.prn", 0) != 0)
    return -1;
  if (!IsPrinterLanguageMode()) return 0;
  if (job.rawChosen && Printer.output == 0) {
    job.rawPrinter = PlatRawJobOpen(job.printerName, documentName);
    if (job.rawPrinter == nullptr) {
      ErrLogMessage(0x210, kLogSpoolerDocument, job.printerName);
      return -1;
    }
    return 0;
  }
  const char* name = job.rawChosen ? Printer.outputFile : kReplayName;
  std::string path = EnvToDiskPath(name);
  job.output = std::fopen(path.c_str(), "w+b");
  if (job.output == nullptr) {
    ErrLogMessage(0x1891, kLogFileOpen, name);
    return -1;
  }
  if (!job.rawChosen) std::snprintf(job.replayFile, sizeof job.replayFile, "%s", path.c_str());
  return 0;
}

void CloseReplayFile(bool remove) {
  PrintJob& job = PrintJobState;
  if (job.output) std::fclose(job.output);
  job.output = nullptr;
  if (remove && job.replayFile[0]) std::remove(job.replayFile);
  job.replayFile[0] = 0;
}

}  // namespace

const char* PageLengthString() { return Printer.widePaper ? "\x1B&l27a0L" : "\x1B&l26a0L"; }

const char* EconomodeString() {
  if (Printer.economode == 2) return "\x1B%-12345X@PJL SET ECONOMODE=ON\r\n";
  if (Printer.economode == 1) return "\x1B%-12345X@PJL SET ECONOMODE=OFF\r\n";
  return "";
}

void PrintMessageOn(int row, int number) {
  Environment* env = EnvCurrent();
  if (env == nullptr || env->messageWindow < 0) return;
  w4activate(env->messageWindow);
  PrintMessageRow(row, EnvFindString(number));
}

void PrintMessageRow(int row, const char* text) {
  Environment* env = EnvCurrent();
  if (env == nullptr || env->messageWindow < 0) return;
  int previous = w4select(env->messageWindow);
  w4clear(row);
  w4centre(row, text);
  w4select(previous);
}

void PrintMessageOff() {
  Environment* env = EnvCurrent();
  if (env == nullptr || env->messageWindow < 0) return;
  w4deactivate(env->messageWindow);
}

PlatPageDoc* JobDocument(const char* title) {
  PrintJob& job = PrintJobState;
  if (job.document) return job.document;
  if (!job.deviceContext) return nullptr;
  // Replayed pages place themselves on a portrait sheet.
  const bool landscape = !IsPrinterLanguageMode() && Printer.orientation == 2;
  if (Printer.output == 1) {
    job.document = PlatPageDocOpen(nullptr, EnvToDiskPath(Printer.outputFile).c_str(), &job.caps, landscape, title);
  } else {
    job.document = PlatPageDocOpen(job.printerName, nullptr, &job.caps, landscape, title);
  }
  return job.document;
}

int OpenPrintJob(const char* reportCode, const char* title) {
  PrintJob& job = PrintJobState;
  Environment* env = EnvCurrent();
  env->copiesLeft = Printer.copies;
  if (Printer.openOutput == 1) {
    const bool programDir = env->printToMainDir == 'T';
    if (programDir) {
      SaveDir();
      ChangeDir(&env->programPath, kLogProgramDirPrint, 0);
    }
    int result = OpenOutput(title ? title : reportCode);
    if (programDir) RestoreDir();
    if (result != 0) return -1;
  }
  job.open = true;
  job.incomplete = true;
  job.resendFont = false;
  PrintMessageOn(2, kMsgEscCancels);
  Printer.pageNo = Printer.fromPage;
  if (IsPrinterLanguageMode()) {
    if (RunStartRoutine(job.flags) != 0) return -1;
  } else {
    job.graphicSpool = true;
  }
  Printer.pageNo = 1;
  job.incomplete = false;
  job.keyCheckDue = true;   // the first text of the job looks for a key
  PrintMessageRow(1, EnvFindString(job.graphicSpool ? kMsgGenerating : kMsgPrinting));
  return 0;
}

int init_prn(DbTable* table, const char* reportCode, const char* title, int lineWidth, int flags) {
  PrintJob& job = PrintJobState;
  job.output = nullptr;
  job.spool = nullptr;
  job.open = false;
  job.idle = false;
  ClearJobStrings(job);
  job.flags = flags;
  Printer.columns = 132;
  if (PrinterSettingsDialog(table, reportCode, title, lineWidth, flags) == 0) return -1;
  return OpenPrintJob(reportCode, title);
}

int deinit_prn() {
  PrintJob& job = PrintJobState;
  Environment* env = EnvCurrent();
  job.idle = true;
  if (job.open) {
    PrintMessageOff();
    if (IsPrinterLanguageMode()) {
      Printer.pageNo = Printer.fromPage;
      bool hp = Printer.family == PRN_HP_LASER || Printer.family == PRN_HP_DESKJET;
      fwrite_spec_maxstring(hp ? "\x1B" "E" : "\x12\x1BH", 0);
      if (job.spool && job.graphicSpool) {
        PrintMessageOn(1, kMsgPrinting);
        PrintMessageRow(2, EnvFindString(kMsgEscCancels));
        if (!job.incomplete) RenderGraphicSpool(job.spool, job.output);
        PrintMessageOff();
        std::fclose(job.spool);
        job.spool = nullptr;
      }
      if (job.rawChosen) {
        if (Printer.output != 0) {
          if (job.output) std::fclose(job.output);
          job.output = nullptr;
        }
      } else if (job.output) {
        ReplayPclFile(job.output);
        const bool programDir = env->printToMainDir == 'T';
        if (programDir) {
          SaveDir();
          ChangeDir(&env->programPath, kLogProgramDirDelete, 0);
        }
        CloseReplayFile(Printer.output == 0);
        if (programDir) RestoreDir();
      }
    }
    job.open = false;
  }
  if (job.spool) std::fclose(job.spool);
  job.spool = nullptr;
  if (job.output) std::fclose(job.output);
  job.output = nullptr;
  if (job.rawChosen) {
    PlatRawJobClose(job.rawPrinter, false);
    job.rawPrinter = nullptr;
    job.rawChosen = false;
  } else {
    // The PDF is mostly written as it is finished: a full disk shows here.
    if (PlatPageDocClose(job.document, false) != 0) TellJobOutputFailure();
    job.document = nullptr;
    job.outputFailureTold = false;
    job.deviceContext = false;
  }
  ClearJobStrings(job);
  return 0;
}
