// OMRON GR30: records of 131 columns with blank runs compressed into KF_GS and
// a count, an XOR check byte in the last column. The register's PLU memory
// is read into "omron.mem" first, so only new or changed PLUs are sent; the
// sales report is read into "omron.plu" and the codes are looked up there.
#include <cstdio>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "interchange/serial_port.h"
#include "ui/message_box.h"

namespace {

constexpr int CHECK_COLUMN = 130;
constexpr double RECEIVE_SECONDS = 3.0;
constexpr int READ_TRIES = 4;
constexpr int SEND_ATTEMPTS = 4;
constexpr int ENQ_TRIES = 5;
constexpr int BS_TRIES = 8;
constexpr int ENTRY = 36;

FILE* file = nullptr;   // "omron.mem" or "omron.plu"

// Expands a record byte by byte.
struct Expander {
  std::string columns;
  unsigned char check = 0;   // XOR of the wire bytes after KF_STX
  bool gs = false;
  // 1 more wanted, 0 the record is complete, -1 broken.
  int Feed(unsigned char byte) {
    if (columns.empty()) {
      columns += static_cast<char>(byte);
      return byte == KF_STX ? 1 : -1;
    }
    if (static_cast<int>(columns.size()) == CHECK_COLUMN) {
      columns += static_cast<char>(byte);
      return 0;
    }
    if (gs) {
      gs = false;
      if (byte < 0x41 || byte > 0x7F) return -1;
      size_t blanks = byte - 0x40u;
      if (columns.size() + blanks > CHECK_COLUMN) return -1;
      check ^= KF_GS ^ byte;
      columns.append(blanks, ' ');
      return 1;
    }
    if (byte == KF_GS) {
      gs = true;
      return 1;
    }
    check ^= byte;
    columns += static_cast<char>(byte);
    return 1;
  }
  bool CheckRight() const { return static_cast<unsigned char>(columns[CHECK_COLUMN]) == check; }
};

std::string Text(const char* utf8) { return Utf8ToMazText(utf8); }



// One record into *columns; 0 or -1.
int CzytajLinie(std::string* columns) {
  for (int attempt = 0; attempt < READ_TRIES; attempt++) {
    SetComTimeout(RECEIVE_SECONDS);
    KFSladPoczatek(0, 0);
    Expander record;
    int state = 1;
    unsigned char byte = 0;
    while (state > 0 && KFCzytajZnak(&byte) == 0) state = record.Feed(byte);
    KFSladKoniec();
    if (state != 0) return -1;
    if (record.CheckRight()) {
      *columns = record.columns;
      return 0;
    }
    if (KFWyslijBajt(KF_NAK) != 0) return -1;
  }
  return -1;
}

int Odpowiedz() {
  unsigned char byte = 0;
  if (KFOdbierzBajt(&byte) != 0) return -1;
  if (byte == KF_ACK) return 0;
  if (byte == KF_BEL) {
    KFBladKasy("Zabroniona operacja");
    return -1;
  }
  if (byte != KF_BS) return -1;
  for (int i = 0; i < BS_TRIES; i++) {
    if (KFWyslijBajt(KF_ENQ) != 0) return -1;
    if (KFOdbierzBajt(&byte) == 0 && byte == KF_ACK) return 1;
  }
  return -1;
}

int Failed() {
  OmronKoniec();
  Alarm(MSG_KF_NO_LINK);
  return -1;
}

// A frame sent with retries, after the KF_ENQ handshake when asked for.
int SendFrame(const std::string& frame, bool enquire, bool programming) {
  if (enquire && KFEnq(ENQ_TRIES) != 0) return Failed();
  for (int attempt = 0; attempt < SEND_ATTEMPTS; attempt++) {
    if (KFWyslijTekst(frame) != 0) continue;
    int answer = Odpowiedz();
    if (answer == 0) return 0;
    if (answer > 0) continue;
    if (!programming) break;
    if (KFEnq(ENQ_TRIES) != 0) break;
  }
  return Failed();
}

// KF_STX, the bytes, the check byte over them.
std::string Frame(const std::string& body) { return static_cast<char>(KF_STX) + body + static_cast<char>(KFXor(body)); }

std::string Gs(unsigned char count) { return {static_cast<char>(KF_GS), static_cast<char>(count)}; }

std::string Code12(const char* code, int codeLength) { return KFPoleKodu(code, codeLength, 4, 12, '0'); }

// The code field, or "" after the check's message.
std::string CheckedCode(const char* code, int codeLength) {
  if (KFKodDlugosc(4, code, codeLength) != 0) return "";
  std::string field = Code12(code, codeLength);
  return KFKodCyfry(field.c_str(), 12) != 0 ? "" : field;
}

std::string Bcd(const std::string& columns, int from, int count) {
  std::string digits;
  for (int i = 0; i < count; i++) {
    unsigned char byte = static_cast<unsigned char>(columns[static_cast<size_t>(from + i)]);
    digits += static_cast<char>('0' + (byte >> 4));
    digits += static_cast<char>('0' + (byte & 0x0F));
  }
  return digits;
}

bool CreateFile(const char* name, const char* title) {
  OmronCloseFile();
  file = std::fopen(name, "w+");
  if (!file) return false;
  std::fprintf(file, "%s\n", title);
  return true;
}

// After the answer to a request: KF_EOT, KF_ENQ expected, KF_ACK.
int TurnLine() {
  unsigned char byte = 0;
  if (KFWyslijBajt(KF_EOT) != 0 || KFOdbierzBajt(&byte) != 0 || byte != KF_ENQ || KFWyslijBajt(KF_ACK) != 0) return -1;
  return 0;
}

int ClosingEot() {
  unsigned char byte = 0;
  return KFWyslijBajt(KF_ACK) == 0 && KFOdbierzBajt(&byte) == 0 && byte == KF_EOT ? 0 : -1;
}

int ReadMemory() {
  std::string record;
  if (TurnLine() != 0 || CzytajLinie(&record) != 0 || record.compare(2, 3, "RS1") != 0) return -1;
  for (;;) {
    if (KFWyslijBajt(KF_ACK) != 0 || CzytajLinie(&record) != 0) return -1;
    if (record[2] == 'F') break;
    int count = static_cast<int>(KFLiczbaPola(record.data() + 2, 3));
    for (int entry = 0; entry < count / ENTRY && 5 + (entry + 1) * ENTRY <= CHECK_COLUMN; entry++) {
      int at = 5 + entry * ENTRY;
      std::string code = Bcd(record, at, 6), name = record.substr(static_cast<size_t>(at + 6), 12);
      std::fprintf(file, "%s\t%s\t%s\t%s\n", code.c_str(), name.c_str(), Bcd(record, at + 22, 3).c_str(),
                   Bcd(record, at + 26, 4).c_str());
      char shown[80];
      std::snprintf(shown, sizeof shown, "%s %s %10.2f %12.1f", code.c_str(), name.c_str(),
                    KFLiczbaPola(Bcd(record, at + 34, 2).c_str(), 4) / 100.0,
                    KFLiczbaPola(Bcd(record, at + 30, 4).c_str(), 8) / 10.0);
      KFPokazTekst(shown);
    }
  }
  if (ClosingEot() != 0) return -1;
  OmronKoniec();
  std::fflush(file);
  return 0;
}

int ReadReport() {
  std::string record;
  if (TurnLine() != 0 || CzytajLinie(&record) != 0 || record.compare(2, 2, "RT") != 0) return -1;
  if (KFWyslijBajt(KF_ACK) != 0 || CzytajLinie(&record) != 0 || record.compare(10, 3, "032") != 0) return -1;
  for (bool ended = false; !ended;) {
    if (KFWyslijBajt(KF_ACK) != 0 || CzytajLinie(&record) != 0) return -1;
    char status = record[9];
    for (int entry = 0; entry < 3 && !ended; entry++) {
      if (status == 'Z') {
        ended = true;
        break;
      }
      if (status != '3') return -1;
      size_t at = 16 + 40 * static_cast<size_t>(entry);
      std::string code = record.substr(at, 12), quantity = record.substr(at + 13, 9), value = record.substr(at + 22, 11);
      std::fprintf(file, "%s\t%s\t%s\n", code.c_str(), quantity.c_str(), value.c_str());
      KFPokazRaport(code.c_str(), 12, "", 0, KFLiczbaPola(quantity.c_str(), 9) / 1000.0,
                    KFLiczbaPola(value.c_str(), 11) / 100.0);
      status = record[at + 33];
    }
  }
  if (KFWyslijBajt(KF_ACK) != 0 || CzytajLinie(&record) != 0 || ClosingEot() != 0) return -1;
  OmronKoniec();
  std::fflush(file);
  return 0;
}

// The line of the code in the open file, after its first line; "" when it is
// missing or a larger code comes first. *result is -1 when the file is not
// open, has no first line or cannot be read, else 0.
std::string FindLine(const std::string& code, int* result) {
  *result = -1;
  if (!file) return "";
  std::rewind(file);
  char line[160];
  if (!std::fgets(line, sizeof line, file)) return "";
  *result = 0;
  while (std::fgets(line, sizeof line, file)) {
    int order = std::strncmp(line, code.c_str(), 12);
    if (order == 0) return line;
    if (order > 0) return "";
  }
  if (std::ferror(file)) *result = -1;
  return "";
}

char VatDigit(int vatCode) { return KFLiteraVat(parametryKF.omron, vatCode, '0'); }

std::string Name12(const char* name, int nameLength) {
  static const std::string small = Text("ąćęłńóśźż"), capitals = Text("ĄĆĘŁŃÓŚŹŻ");
  static const unsigned char codes[] = {0x60, 0x65, 0x66, 0x62, 0x61, 0x63, 0x64, 0x67, 0x68};
  std::string text(name, static_cast<size_t>(nameLength < 12 ? nameLength : 12));
  for (char& c : text) {
    size_t at = small.find(c);
    if (at == std::string::npos) at = capitals.find(c);
    if (at != std::string::npos) c = static_cast<char>(codes[at]);
    if (c == '\0') c = ' ';
  }
  text.resize(12, ' ');
  return text;
}

}  // namespace

bool OmronRozwin(const std::string& wire, std::string* columns) {
  Expander record;
  int state = 1;
  for (size_t i = 0; i < wire.size() && state > 0; i++) state = record.Feed(static_cast<unsigned char>(wire[i]));
  *columns = record.columns;
  return state == 0;
}

std::string OmronScisnij(const std::string& columns) {
  std::string wire;
  for (size_t i = 0; i < columns.size();) {
    size_t run = 0;
    while (i + run < columns.size() && columns[i + run] == ' ' && run < 63) run++;
    if (run == 0) {
      wire += columns[i++];
      continue;
    }
    wire += Gs(static_cast<unsigned char>(0x40 + run));
    i += run;
  }
  return wire;
}

int OmronKoniec() { return KFWyslijBajt(KF_DLE) == 0 && KFWyslijBajt(KF_EOT) == 0 ? 0 : -1; }

void OmronCloseFile() {
  if (file) std::fclose(file);
  file = nullptr;
}

int OmronOpenSendTowarMem() {
  if (!CreateFile("omron.mem", "Raport mem OMRON GR30")) return -1;
  std::string body = "SS00" + std::string(12, '0') + "0100" + static_cast<char>(KF_FS) + Gs(0x7F) + Gs('l') +
                     static_cast<char>(KF_ETB);
  if (SendFrame(Frame(body), true, false) != 0) return -1;
  return ReadMemory() == 0 ? 0 : Failed();
}

int OmronOpenSendTowar() {
  std::string body = "RB00" + std::string(12, '0') + Gs(0x7F) + Gs('q') + static_cast<char>(KF_ETB);
  return SendFrame(Frame(body), true, true);
}

int OmronSendTow(int department, const char* code, int codeLength, const char* name, int nameLength, double price,
                 int vatCode) {
  std::string field = CheckedCode(code, codeLength);
  if (field.empty() || KFNumerDzialu(department, code, codeLength) != 0) return -1;
  char department2[8];
  std::snprintf(department2, sizeof department2, "%02d", department % 100);
  // Offsets of the record from 1 (after KF_STX): mark at 4.
  std::string body = "0B0?0000" + field + '0' + Name12(name, nameLength) + "    ";
  body += parametryKF.omronVariablePrice == 'T' ? '2' : '0';
  body += VatDigit(vatCode);
  body += std::string(22, '0') + department2 + "000" + KFCenaGrosze(price, 7) + "      ";
  body += static_cast<char>(KF_FS);
  body += Gs('p');   // 48 blanks: the record's 131 columns
  body += static_cast<char>(KF_ETB);
  int found = 0;
  std::string line = FindLine(field, &found);
  if (found != 0) return -1;
  if (!line.empty() && line.size() >= 41) {
    bool same = line.compare(13, 12, body, 21, 12) == 0 && line.compare(26, 4, body, 37, 4) == 0 &&
                line.compare(30, 2, department2) == 0 && line.compare(34, 7, body, 66, 7) == 0;
    if (same) return 0;
  }
  body[3] = line.empty() ? '2' : '4';
  return SendFrame(Frame(body), false, false);
}

int OmronDelete(const char* code, int codeLength) {
  std::string field = CheckedCode(code, codeLength);
  if (field.empty()) return -1;
  std::string body = "0B030000" + field + static_cast<char>(KF_FS) + Gs(0x7F) + Gs('l') + static_cast<char>(KF_ETB);
  return SendFrame(Frame(body), false, false);
}

int OmronOpenRaport(char mode) {
  if (!CreateFile("omron.plu", "Raport plu OMRON GR30")) return -1;
  std::string body = "ST00" + std::string(12, '0') + mode + "0320000" + std::string(11, '0') + "10000" +
                     std::string(8, '0') + "1577SA" + mode + static_cast<char>(KF_FS) + Gs(0x7F) + Gs('I') +
                     static_cast<char>(KF_ETX);
  if (SendFrame(Frame(body), true, false) != 0) return -1;
  return ReadReport() == 0 ? 0 : Failed();
}

int OmronRapTow(const char* code, int codeLength, double* quantity, double* value) {
  if (KFKodDlugosc(4, code, codeLength) != 0) return -1;
  int result = 0;
  std::string line = FindLine(Code12(code, codeLength), &result);
  if (result != 0) return -1;
  if (line.size() >= 34) {
    *quantity = KFLiczbaPola(line.data() + 13, 9) / 1000.0;
    *value = KFLiczbaPola(line.data() + 23, 11) / 100.0;
  }
  return 0;
}

int OmronZerowanie() {
  int result = OmronOpenRaport('1');
  OmronCloseFile();
  return result;
}

int OmronSprawdzKod(int department, const char* code, int codeLength) {
  int result = KFNumerDzialu(department, code, codeLength);
  result |= KFKodDlugosc(4, code, codeLength);
  result |= KFKodCyfry(KFPoleKodu(code, codeLength, 13, 13, '0').c_str(), 13);
  return result != 0 ? -1 : 0;
}

namespace {

int OpenSend() {
  int result = OmronOpenSendTowarMem();
  return result == 0 ? OmronOpenSendTowar() : result;
}

int Send(const KFTowar* g, int) {
  return OmronSendTow(g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode);
}

void CloseSend() {
  OmronKoniec();
  OmronCloseFile();
}

int Delete(const KFTowar* g, int) {
  int result = OmronOpenSendTowar();
  if (result != 0) return result;
  result = OmronDelete(g->code, g->codeLength);
  OmronKoniec();
  return result;
}

int OpenReport() { return OmronOpenRaport('0'); }

int Report(const KFTowar* g, double* quantity, double* value) {
  return OmronRapTow(g->code, g->codeLength, quantity, value);
}

// The register's list is not read: its report is read and closed.
int List(FILE*) {
  int result = OmronOpenRaport('0');
  OmronCloseFile();
  return result;
}

int Zero(const char*) {
  int result = OmronZerowanie();
  OmronKoniec();
  return result;
}

int Check(const KFTowar* g) { return OmronSprawdzKod(g->department, g->code, g->codeLength); }

}  // namespace

const KFDriver kfDriverOmron = {nullptr, OpenSend,       Send, CloseSend, Delete, OpenReport,
                                Report,  OmronCloseFile, List, Zero,      Check};
