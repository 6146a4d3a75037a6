#include "print/char_output.h"

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "platform/clock.h"
#include "platform/screen_hook.h"
#include "print/printer.h"

namespace {

constexpr int kContinueQuestion = 50006;
constexpr int kLogShortWrite = 80;
constexpr int kLineBuffer = 600;
// Looking for a key polls the display, which costs a real window tens of
// microseconds: the job looks at its start and then at most this often, which
// keeps Esc prompt without a poll per line.
constexpr int64_t kKeyCheckMs = 50;

// Frame pieces the ESC/P dot-matrix families print as plain characters.
const uint16_t kBoxToAscii[] = {
    0xB3, '|', 0xC4, '-', 0xDA, '-', 0xC2, '-', 0xBF, '-', 0xC0, '-',
    0xC1, '-', 0xD9, '-', 0xC3, '|', 0xC5, '|', 0xB4, '|', 0,    0,
};

const uint16_t* CodePageTable() {
  switch (Printer.codePage) {
    case 0: return MazToAsciiPairs;
    case 2: return MazTo852Pairs;
    case 3: return MazToIsoPairs;
    default: return nullptr;
  }
}

// One byte table for a code page and a family, built when either changes.
struct PrinterTable {
  int codePage = -1, family = -1;
  bool identity = true;
  uint8_t bytes[256];
};

const PrinterTable& PrinterConversion() {
  static PrinterTable conversion;
  if (conversion.codePage == Printer.codePage && conversion.family == Printer.family) return conversion;
  conversion.codePage = Printer.codePage;
  conversion.family = Printer.family;
  const uint16_t* codePage = CodePageTable();
  bool boxes = false;
  switch (Printer.family) {
    case PRN_EPSON9:
    case PRN_EPSON24:
    case PRN_ESCP2:
    case PRN_ESCP_RASTER:
      boxes = true;
      break;
    case PRN_IBM9:
    case PRN_IBM24:
    case PRN_PROPRINTER:
    case PRN_HP_DESKJET:
      break;
    default:
      codePage = nullptr;
      break;
  }
  conversion.identity = true;
  for (int c = 0; c < 256; c++) {
    int to = codePage ? ConvChar(c, codePage, 0) : c;
    if (boxes) to = ConvChar(to, kBoxToAscii, 0);
    conversion.bytes[c] = static_cast<uint8_t>(to);
    if (to != c) conversion.identity = false;
  }
  return conversion;
}

bool KeyCheckDue() {
  PrintJob& job = PrintJobState;
  const int64_t now = PlatMonotonicMs();
  if (!job.keyCheckDue && now - job.lastKeyCheckMs < kKeyCheckMs) return false;
  job.keyCheckDue = false;
  job.lastKeyCheckMs = now;
  return true;
}

bool OperatorCancelled() {
  if (!KeyCheckDue()) return false;
  int key = ScreenReadKey();
  if (key != SCREEN_KEY_ESC) return false;
  if (ScreenQuestion(nullptr, EnvFindString(kContinueQuestion)) != SCREEN_KEY_ESC) return false;
  PrintJobState.incomplete = true;
  return true;
}

// After a form feed: flush, then the font and page settings again.
int AfterFormFeed() {
  PrintJob& job = PrintJobState;
  bool inRange = Printer.pageNo >= Printer.fromPage && (Printer.toPage == 0 || Printer.toPage >= Printer.pageNo);
  if (job.output && inRange) std::fflush(job.output);
  if (job.resendFont && job.hmiString && WriteJobString(job.hmiString) != 0) return -1;
  if (Printer.family == PRN_HP_DESKJET && job.deskJetString[0]) {
    if (fwrite_spec_maxstring(job.deskJetString, 0) != 0) return -1;
    if (fwrite_spec_maxstring(PageLengthString(), 0) != 0) return -1;
  }
  return 0;
}

}  // namespace

int WriteJobBytes(const void* buffer, int count, FILE* file) {
  if (Printer.pageNo < Printer.fromPage || (Printer.toPage != 0 && Printer.toPage < Printer.pageNo)) return 0;
  if (count <= 0) return 0;
  PrintJob& job = PrintJobState;
  if (job.rawPrinter && Printer.output == 0) {
    if (PlatRawJobWrite(job.rawPrinter, buffer, static_cast<size_t>(count)) != 0) {
      ErrLogMessage(EL_FORMAT | EL_SYSTEM_ERROR | EL_ERROR, kLogShortWrite, " %i, %i", count, 0);
      return -1;
    }
    return 0;
  }
  if (file == nullptr) return -1;
  return std::fwrite(buffer, static_cast<size_t>(count), 1, file) == 1 ? 0 : -1;
}

int WriteJobString(const char* text) {
  for (const char* p = text; *p; p++)
    if (WriteJobBytes(p, 1, PrintJobState.output) != 0) return -1;
  return 0;
}

int fwrite_spec(const void* buffer, int count, int flag) {
  if (OperatorCancelled()) return -1;
  PrintJob& job = PrintJobState;
  const char* bytes = static_cast<const char*>(buffer);
  if (job.graphicSpool) {
    if (flag != 1 || job.spool == nullptr) return 0;
    return WriteJobBytes(bytes, count, job.spool);
  }
  if (flag != 1) return WriteJobBytes(bytes, count, job.output);
  int cut = 0;
  while (cut < count) {
    const void* feed = std::memchr(bytes + cut, '\f', static_cast<size_t>(count - cut));
    if (feed == nullptr) break;
    const int i = static_cast<int>(static_cast<const char*>(feed) - bytes);
    if (WriteJobBytes(bytes + cut, i + 1 - cut, job.output) != 0) return -1;
    cut = i + 1;
    if (AfterFormFeed() != 0) return -1;
  }
  return cut < count ? WriteJobBytes(bytes + cut, count - cut, job.output) : 0;
}

int fwrite_spec_maxstring(const char* text, int flag) {
  return fwrite_spec(text, static_cast<int>(std::strlen(text)), flag);
}

int drukuj_bez_marginesu(const char* text) { return fwrite_spec(text, static_cast<int>(std::strlen(text)), 1); }

int drukuj_left_margin(int n) {
  static const std::string spaces(256, ' ');
  for (int left = n; left > 0; left -= static_cast<int>(spaces.size())) {
    const int take = left < static_cast<int>(spaces.size()) ? left : static_cast<int>(spaces.size());
    if (fwrite_spec(spaces.data(), take, 1) != 0) return -1;
  }
  return 0;
}

int drukuj(const char* text) {
  PrintJobState.currentLeftMargin = Printer.leftMargin;
  if (drukuj_left_margin(Printer.leftMargin) != 0) return -1;
  return drukuj_bez_marginesu(text);
}

int drukuj_line_feed(int n) {
  for (int i = 0; i < n; i++)
    if (drukuj_bez_marginesu("\r\n") != 0) return -1;
  return 0;
}

int drukuj_form_feed() { return drukuj_bez_marginesu("\r\f"); }

int drukuj_top_margin() { return drukuj_line_feed(Printer.topMargin); }

int drukuj_nazwa_wlasciciela() {
  Environment* env = EnvCurrent();
  const char* names[] = {env->ownerName, env->ownerName2};
  for (int i = 0; i < 2; i++) {
    if (i == 1 && names[i][0] == 0) break;
    char line[228] = {};
    std::strncpy(line, names[i], sizeof env->ownerName);
    conv_str(line, static_cast<int>(std::strlen(line)));
    if (drukuj(line) != 0 || drukuj_line_feed(1) != 0) return -1;
  }
  return 0;
}

void conv_str(char* buffer, int length) {
  if (PrintJobState.graphicSpool || length <= 0) return;
  const PrinterTable& conversion = PrinterConversion();
  if (conversion.identity) return;
  for (int i = 0; i < length; i++) buffer[i] = static_cast<char>(conversion.bytes[static_cast<uint8_t>(buffer[i])]);
}

int print_lines(const char* text, const char* bold, int width, int firstRow, int endRow, int lineFeedsBefore,
                int leftMargin) {
  if (lineFeedsBefore > 0 && drukuj_line_feed(lineFeedsBefore) != 0) return -1;
  std::string first(kLineBuffer, ' '), second(kLineBuffer, ' ');
  const int margin = leftMargin < 0 ? Printer.leftMargin : leftMargin;
  PrintJobState.currentLeftMargin = margin;
  const int take = width < kLineBuffer ? width : kLineBuffer;
  // Past take the line holds blanks alone, so the end is looked for within it.
  const size_t filled = static_cast<size_t>(take < 0 ? 0 : take < kLineBuffer - 1 ? take : kLineBuffer - 1);
  auto trimmed = [filled](std::string& line) {
    line[kLineBuffer - 1] = 0;
    size_t end = strnlen(line.c_str(), filled);
    while (end > 0 && line[end - 1] == ' ') end--;
    line.resize(end);
  };
  for (int row = firstRow; row < endRow; row++) {
    if (drukuj_left_margin(margin) != 0) return -1;
    first.assign(kLineBuffer, ' ');
    second.assign(kLineBuffer, ' ');
    const char* textRow = text ? text + static_cast<size_t>(row) * width : nullptr;
    const char* boldRow = bold ? bold + static_cast<size_t>(row) * width : nullptr;
    if (textRow && take > 0) std::memcpy(first.data(), textRow, static_cast<size_t>(take));
    if (boldRow && take > 0) {
      std::memcpy(second.data(), boldRow, static_cast<size_t>(take));
      for (int i = 0; i < take; i++)
        if (boldRow[i] != ' ') first[i] = boldRow[i];
    }
    conv_str(first.data(), take);
    trimmed(first);
    if (drukuj_bez_marginesu(first.c_str()) != 0) return -1;
    if (Printer.bold == 1 && !PrintJobState.graphicSpool) {
      conv_str(second.data(), take);
      trimmed(second);
      if (drukuj_bez_marginesu("\r") != 0) return -1;
      if (Printer.family == PRN_HP_LASER) {
        if (fwrite_spec_maxstring("\x1B*p2X", 0) != 0 || drukuj_left_margin(margin) != 0) return -1;
      } else if (Printer.family == PRN_HP_DESKJET) {
        if (drukuj_left_margin(margin) != 0 || fwrite_spec_maxstring("\x1B(s3B", 0) != 0) return -1;
      } else {
        if (drukuj_left_margin(margin) != 0 || fwrite_spec_maxstring("\x1BG", 0) != 0) return -1;
      }
      if (drukuj_bez_marginesu(second.c_str()) != 0) return -1;
      if (Printer.family == PRN_HP_DESKJET) {
        if (fwrite_spec_maxstring("\x1B(s0B", 0) != 0) return -1;
      } else if (Printer.family != PRN_HP_LASER) {
        if (fwrite_spec_maxstring("\x1BH", 0) != 0) return -1;
      }
    }
    if (drukuj_line_feed(1) != 0) return -1;
  }
  return 0;
}
