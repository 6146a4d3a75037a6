// The ELZAB cash registers, served by ELZAB's own communication programs:
// the driver writes their input files in the programs' directory, starts
// one program at a time, waits for its exit code and reads its output
// files. The programs are found by name ignoring case.
#include "fiscal/elzab_register_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/paths.h"
#include "env/temp_strings.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"
#include "platform/dirs.h"
#include "platform/process.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int LOG_ELZAB = 40;
constexpr int FIRST_PLU = 1, LAST_PLU = 30000, LAST_ECR = 99, LAST_GROUP = 16;
constexpr int CODE_DIGITS = 5, BARCODE_MAX = 13, NAME_WIDTH = 19, COMMENT_LINE = 298, COMMENT_SHOWN = 72;
constexpr char kStore[] = "ses600.plu", kAsk[] = "ass600.plu", kSales[] = "res600.plu";

std::string pluSuffix;   // ", @code, $number" of the operation's log entries

const char* Letters() { return parametryKF.elzab; }

// The programs' directory made current for one operation; the directory
// before it comes back when the value goes.
class InProgramsDir {
 public:
  InProgramsDir() : before_(PlatGetCwd()) { ok_ = PlatChDir(KFKatalogProgramow().c_str()) == PLAT_OK; }
  ~InProgramsDir() { PlatChDir(before_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::string before_;
  bool ok_;
};

bool EcrValid() {
  if (parametryKF.elzabEcr >= 1 && parametryKF.elzabEcr <= LAST_ECR) return true;
  Alarm(Utf8ToMazText("Błąd numeru kasy.").c_str());
  return false;
}

// A new input file with its three header lines.
FILE* ElzabKasaPlik(const char* name) {
  FILE* f = std::fopen(name, "w+");
  if (f) std::fprintf(f, "#%d\n#\n#\n", parametryKF.elzabEcr);
  return f;
}

bool WriteInput(const char* name, const std::string& line) {
  FILE* f = ElzabKasaPlik(name);
  if (!f) return false;
  if (!line.empty()) std::fprintf(f, "%s\n", line.c_str());
  return std::fclose(f) == 0;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(EnvToUpper(static_cast<unsigned char>(c)));
  return s;
}

// The name of the program as it lies in the current directory, ignoring
// case; "" when there is none.
std::string Found(const char* program) {
  std::vector<PlatDirEntry> entries;
  PlatListDir(PlatGetCwd().c_str(), program, &entries);
  for (const PlatDirEntry& e : entries)
    if (!e.isDirectory) return e.name;
  return "";
}

int ElzabKasaUruchom(const char* program, const std::vector<std::string>& args) {
  std::string name = Found(program);
  int exitCode = -1;
  PlatResult started = name.empty() ? PLAT_NOT_FOUND : PlatRunProgram(("./" + name).c_str(), args, nullptr, &exitCode);
  std::string rc = started == PLAT_OK && exitCode != 0 ? ", RC(" + std::to_string(exitCode) + ")" : "";
  ErrLogMessage(EL_FORMAT, LOG_ELZAB, " ELZAB %s%s%s", program, rc.c_str(), pluSuffix.c_str());
  std::string directory = EnvFromDiskPath(PlatGetCwd());
  if (started == PLAT_NOT_FOUND) {
    MessageWindow(MB_ERROR, PrintfQStr(Utf8ToMazText("Brak programu komunikacyjnego %s w katalogu").c_str(),
                                       Upper(program).c_str()),
                  directory.c_str());
    return -1;
  }
  if (started != PLAT_OK) {
    ErrLogMessage(EL_ERROR | EL_FORMAT, LOG_ELZAB, "%s: %s, %s", program, PlatLastErrorText(), directory.c_str());
    return -1;
  }
  if (exitCode == 0) return 0;
  ErrLogMessage(EL_FILE, LOG_ELZAB, args.empty() ? "" : args[0].c_str());
  ErrLogMessage(EL_FILE, LOG_ELZAB, "Raport.txt");
  MessageWindow(MB_ERROR, PrintfQStr(Utf8ToMazText("Program komunikacyjny %s zgłosił błąd numer %i.").c_str(),
                                     Upper(program).c_str(), exitCode),
                ElzabKasaKomentarz(exitCode).c_str());
  return -1;
}

// The letter's number 1 ('A') to 7 ('G').
int LetterNumber(char letter) { return letter - 'A' + 1; }

int ElzabKasaSendTow(int department, const char* plu, const char* name, int nameLength, double price, int vatCode,
         const char* barcode, int priceOnly) {
  if (!EcrValid()) return -1;
  char letter = KFLiteraVat(Letters(), vatCode, Letters()[KFL_EXEMPT]);
  if (letter < 'A' || letter > 'G') {
    Alarm(Utf8ToMazText("Błąd stawki VAT").c_str());
    return -1;
  }
  if (department < 1 || department > LAST_GROUP) {
    Alarm(Utf8ToMazText("Błąd grupy").c_str());
    return -1;
  }
  if (parametryKF.elzabUnitDecimals < 1 || parametryKF.elzabUnitDecimals > 3) {
    Alarm(Utf8ToMazText("Błąd miejsc po przecinku").c_str());
    return -1;
  }
  std::string shown(name ? name : "", name ? strnlen(name, static_cast<size_t>(nameLength)) : 0);
  shown.resize(NAME_WIDTH, ' ');
  KFDo852(shown.data(), NAME_WIDTH);
  char line[160];
  std::snprintf(line, sizeof line, "$%d\t%s\t%d\t%d\t%d\t%d\t%d\t%s\t%.0f\t%d", std::atoi(plu), shown.c_str(),
                LetterNumber(letter), department, parametryKF.elzabUnitDecimals, 1, 0, barcode, price * 100, 0);
  InProgramsDir dir;
  if (!dir.ok() || !WriteInput(kStore, line)) return -1;
  return ElzabKasaUruchom(priceOnly ? "zctowar.exe" : "ztowar.exe", {kStore});
}

int VatCodeOfNumber(int number) {
  char letter = static_cast<char>('A' + number - 1);
  const char* l = Letters();
  if (letter == l[KFL_EXEMPT]) return 4;
  if (letter == l[KFL_REDUCED1]) return 2;
  if (letter == l[KFL_ZERO]) return 3;
  if (letter == l[KFL_REDUCED2]) return 8;
  return 1;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool ReadLine(FILE* f, std::string* line) {
  char buffer[512];
  if (!std::fgets(buffer, sizeof buffer, f)) return false;
  *line = buffer;
  while (!line->empty() && (line->back() == '\n' || line->back() == '\r')) line->pop_back();
  return true;
}

int ElzabKasaCennikOdczyt(FILE* list) {
  if (!EcrValid()) return -1;
  InProgramsDir dir;
  if (!dir.ok() || !WriteInput(kAsk, "") || ElzabKasaUruchom("towarmax.exe", {kAsk, kStore}) != 0) return -1;
  FILE* f = std::fopen(kStore, "r");
  if (!f) return -1;
  std::string line;
  int result = 0;
  for (int i = 0; i < 3 && result == 0; i++)
    if (!ReadLine(f, &line)) result = -1;
  while (result == 0 && ReadLine(f, &line)) {
    std::vector<std::string> field = Split(line);
    if (line[0] != '$' || field.size() < 10) {
      result = -1;
      break;
    }
    std::string name = field[1];
    KFZ852(name.data(), static_cast<int>(name.size()));
    const std::string& code = parametryKF.elzabBarcode == 'N' ? field[0].substr(1) : field[7];
    std::fprintf(list, "%s\t%s\t%d\t%15.4f\t%d\n", code.c_str(), name.c_str(),
                 VatCodeOfNumber(std::atoi(field[2].c_str())), std::atof(field[8].c_str()) / 100,
                 std::atoi(field[3].c_str()));
  }
  if (std::ferror(f)) result = -1;
  std::fclose(f);
  return result;
}

int ElzabKasaRapTow(const char* plu, double* quantity, double* value) {
  if (!EcrValid()) return -1;
  int number = std::atoi(plu);
  InProgramsDir dir;
  if (!dir.ok() || !WriteInput(kAsk, "$" + std::to_string(number)) ||
      ElzabKasaUruchom("otsprzed.exe", {kAsk, kSales}) != 0)
    return -1;
  FILE* f = std::fopen(kSales, "r");
  if (!f) return -1;
  std::string first, skipped, last;
  bool lines = ReadLine(f, &first) && ReadLine(f, &skipped) && ReadLine(f, &skipped) && ReadLine(f, &last);
  std::fclose(f);
  if (!lines || first.empty() || first[0] != '#' || last.empty() || last[0] != '$') return -1;
  if (std::atoi(first.substr(1, 4).c_str()) != parametryKF.elzabEcr) return -1;
  std::vector<std::string> field = Split(last.substr(1));
  if (field.size() < 3 || std::atoi(field[0].substr(0, 14).c_str()) != number) return -1;
  *quantity = std::atof(field[1].substr(0, 14).c_str());
  *value = std::atof(field[2].substr(0, 14).c_str()) / 100;
  return 0;
}

int ElzabKasaZerowanie(const char*) {
  if (!EcrValid()) return -1;
  InProgramsDir dir;
  if (!dir.ok() || !WriteInput(kAsk, "") || ElzabKasaUruchom("osprzed.exe", {kAsk, kSales}) != 0) return -1;
  if (!WriteInput(kAsk, "")) return -1;
  return ElzabKasaUruchom("ksprop.exe", {kAsk});
}

// ---- the layer's entries

int Open(int port) {
  InProgramsDir dir;
  if (!dir.ok()) return 0;
  if (FILE* f = std::fopen("KONFIG.TXT", "wb")) {
    std::fprintf(f, "$%d\tCOM%d:9600:MUX0:1\t3\r\n", parametryKF.elzabEcr, port);
    std::fclose(f);
  }
  return 0;
}

const char* Plu(const KFTowar* g) {
  const char* plu = ElzabKasaKod(g->code, g->codeLength, g->record);
  if (plu) pluSuffix = ", @" + std::string(KFBezSpacji(g->code, g->codeLength)) + ", $" + std::to_string(std::atoi(plu));
  return plu;
}

int SendTow(const KFTowar* g, int) {
  if (kfTylkoCena < 0) kfTylkoCena = Pytanie(MSG_KF_PRICE_ONLY) != KEY_ESC ? 1 : 0;
  const char* plu = Plu(g);
  if (!plu || KFNumerDzialu(g->department, g->code, g->codeLength) != 0) return -1;
  std::string barcode = parametryKF.elzabBarcode == 'T' ? std::string(KFBezSpacji(g->code, g->codeLength)).substr(0, BARCODE_MAX) : "0";
  int r = ElzabKasaSendTow(g->department, plu, g->name, g->nameLength, g->price, g->vatCode, barcode.c_str(), kfTylkoCena);
  pluSuffix.clear();
  return r;
}

int ElzabKasaDelete(const KFTowar* g, int) {
  const char* plu = Plu(g);
  if (!plu || KFNumerDzialu(g->department, g->code, g->codeLength) != 0) return -1;
  int r = -1;
  if (EcrValid()) {
    InProgramsDir dir;
    if (dir.ok() && WriteInput(kStore, "$" + std::to_string(std::atoi(plu))))
      r = ElzabKasaUruchom("ktowar.exe", {kStore});
  }
  pluSuffix.clear();
  return r;
}

int RapTowEntry(const KFTowar* g, double* quantity, double* value) {
  const char* plu = Plu(g);
  int r = plu ? ElzabKasaRapTow(plu, quantity, value) : -1;
  pluSuffix.clear();
  return r;
}

int SprawdzKod(const KFTowar* g) {
  int department = KFNumerDzialu(g->department, g->code, g->codeLength);
  return ElzabKasaKod(g->code, g->codeLength, g->record) && department == 0 ? 0 : -1;
}

}  // namespace

const KFDriver kfDriverElzab = {Open,    nullptr,       SendTow,      nullptr,   ElzabKasaDelete, nullptr,
                                RapTowEntry, nullptr,   ElzabKasaCennikOdczyt, ElzabKasaZerowanie, SprawdzKod};

const char* ElzabKasaKod(const char* code, int length, long record) {
  static std::string plu;
  long number = record;
  if (parametryKF.elzabBarcode == 'N' && parametryKF.codeIsPlu == 'T') {
    std::string trimmed = KFBezSpacji(code, length);
    if (warehouseOptions.checkCodeLength == 'T' && trimmed.size() > CODE_DIGITS) {
      Alarm(PrintfQStr(Utf8ToMazText("Za duża ilość znaków w kodzie dla danej kasy - %s").c_str(), trimmed.c_str()));
      return nullptr;
    }
    trimmed.resize(std::min(trimmed.size(), static_cast<size_t>(CODE_DIGITS)));
    if (trimmed.empty() || trimmed.find_first_not_of("0123456789") != std::string::npos) {
      Alarm(PrintfQStr(MSG_KF_NOT_DIGIT, trimmed.c_str()));
      return nullptr;
    }
    number = std::atol(trimmed.c_str());
  }
  if (number < FIRST_PLU || number > LAST_PLU) {
    Alarm(Utf8ToMazText("Błąd numeru towaru").c_str());
    return nullptr;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%05ld", number);
  plu = text;
  return plu.c_str();
}

std::string ElzabKasaKomentarz(int number) {
  FILE* f = std::fopen("Koment.txt", "r");
  if (!f) return Utf8ToMazText("Błąd odczytu lub brak pliku opisu błędów Koment.txt");
  char buffer[COMMENT_LINE + 2];
  std::string line;
  bool found = false;
  for (int i = 1; i <= number && std::fgets(buffer, sizeof buffer, f); i++)
    if (i == number) {
      line = buffer;
      found = true;
    }
  std::fclose(f);
  if (!found) return "";
  for (char& c : line)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  line.erase(line.find_last_not_of(' ') + 1);
  if (line.size() > COMMENT_SHOWN) {
    line.resize(COMMENT_SHOWN);
    line[COMMENT_SHOWN - 2] = line[COMMENT_SHOWN - 1] = '.';
  }
  KFZ852(line.data(), static_cast<int>(line.size()));
  return line;
}
