// The serial cash-register drivers below the register layer: ADAX-3100 and
// TOTAL TAX, the DSA models and MAŁA, the four CR280 models, OMRON GR30 and
// PS2000. Each returns 0 or -1 (after its own message) unless said otherwise;
// codes and names come as the goods table holds them, blank-padded, with
// their lengths. The pure pieces below the drivers (frames, checksums,
// letter tables) are declared too, for the tests and the simulated registers.
#pragma once
#include <cstdio>
#include <string>

// ---- shared pieces
// Control bytes of the register protocols.
constexpr unsigned char KF_STX = 0x02, KF_ETX = 0x03, KF_EOT = 0x04, KF_ENQ = 0x05, KF_ACK = 0x06, KF_BEL = 0x07,
                        KF_BS = 0x08, KF_DLE = 0x10, KF_NAK = 0x15, KF_ETB = 0x17, KF_FS = 0x1C, KF_GS = 0x1D;
// The exclusive-or of the bytes (the check byte of CR280, OMRON, PS2000).
unsigned char KFXor(const std::string& bytes);
// Up to `tries` times ENQ and one byte read, 500 ms apart: 0 when one was ACK, else -1.
int KFEnq(int tries);

// The first `take` characters of the code without trailing blanks,
// right-aligned in `width` characters filled with `fill` (cut on the left
// when longer).
std::string KFPoleKodu(const char* code, int length, int take, int width, char fill);
// The price in grosze (ROUND of price x 100) as `width` digits with leading zeros.
std::string KFCenaGrosze(double price, int width);
// The value of `count` characters as a number (leading blanks and a sign allowed).
double KFLiczbaPola(const char* text, int count);
// Shows a driver's own text (UTF-8 here) as an error box.
void KFBladKasy(const char* text);
// Writes the bytes one by one under one deadline of `seconds`, the receive
// buffer purged first and the run traced; 0 or -1.
int KFPiszRamke(const std::string& bytes, double seconds);
// The layer's byte output and input over characters.
int KFWyslijTekst(const std::string& bytes);
int KFOdbierzZnaki(char* buffer, int count);
// Waits for one byte until the deadline already set (Esc breaks), traces it; 0 or -1.
int KFCzytajZnak(unsigned char* byte);

// ---- ADAX-3100 and TOTAL TAX
int AdaxOpenCom(int port);
int AdaxStart();
int AdaxKoniec();
int AdaxSendTow(int department, const char* code, int codeLength, const char* name, int nameLength, double price,
                int vatCode, int repeat, int remove);
int AdaxOpenRaport();
int AdaxRapTow(const char* code, int codeLength, double* quantity, double* value);
void AdaxZamknijPlik();
int AdaxSprawdzKod(int department, const char* code, int codeLength);
// The two checksum characters of the bytes.
std::string AdaxSuma(const std::string& bytes);
// A whole frame: 0x03, length, sequence, data, checksum, 0x04.
std::string AdaxRamka(unsigned char sequence, const std::string& data);
// The 18 name characters of a PLU record.
std::string AdaxNazwa(const char* name, int length);

// ---- DSA40, DSA100, DSA4000S, MAŁA
int Dsa4000SendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode,
                   const char* second, int secondLength);
int Dsa100SendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode);
int Dsa40SendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode);
int MalaSendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode);
int Dsa4000RapTow(const char* code, int codeLength, double* quantity, double* value, char mode);
int Dsa100RapTow(const char* code, int codeLength, double* quantity, double* value, char mode);
int Dsa40RapTow(const char* code, int codeLength, double* quantity, double* value);
int MalaRapTow(const char* code, int codeLength, double* quantity, double* value);
int Dsa4000CennikOdczyt(FILE* file);
int Dsa100CennikOdczyt(FILE* file);
int Dsa40CennikOdczyt(FILE* file);
int MalaCennikOdczyt(FILE* file);
int Dsa40Koniec();
int MalaKoniec();
int Dsa4000SprawdzKod(const char* code, int codeLength);
int Dsa100SprawdzKod(const char* code, int codeLength);
int Dsa40SprawdzKod(const char* code, int codeLength);
int MalaSprawdzKod(const char* code, int codeLength);
char DsaLiteraVat(int vatCode);
int DsaKodVat(char letter);
char MalaLiteraVat(int vatCode);
int MalaKodVat(char letter);
// The two checksum digits of a frame: its bytes from offset 1 up to n - 4.
std::string DsaSuma(const std::string& frame);
// A name through the DSA table (DSA100, DSA4000S) or, upper-cased, through
// the DSA40 table (DSA40, MAŁA), blank-padded to the width; and back.
std::string DsaNazwa(const char* name, int length, int width);
std::string DsaNazwaWstecz(const std::string& bytes);
std::string Dsa40Nazwa(const char* name, int length, int width);
std::string Dsa40NazwaWstecz(const std::string& bytes);

// ---- CR280 PLUS (type 3), PLUS3 (14), THER3 (7), THER4 (8)
int Cr280PlusSendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                     double price, int vatCode, char action);
int Cr280Plus3SendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                      double price, int vatCode, char action);
int Cr280Ther3SendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                      double price, int vatCode, char action);
int Cr280Ther4SendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                      double price, int vatCode, char action);
int Cr280PlusRapTow(const char* code, int codeLength, double* quantity, double* value);
int Cr280Plus3RapTow(const char* code, int codeLength, double* quantity, double* value);
int Cr280Ther3RapTow(const char* code, int codeLength, double* quantity, double* value);
int Cr280Ther4RapTow(const char* code, int codeLength, double* quantity, double* value);
int Cr280PlusCennikOdczyt(FILE* file);
int Cr280Plus3CennikOdczyt(FILE* file);
int Cr280Ther3CennikOdczyt(FILE* file);
int Cr280Ther4CennikOdczyt(FILE* file);
int Cr280PlusZerowanie();
int Cr280Plus3Zerowanie();
int Cr280Ther3Zerowanie();
int Cr280Ther4Zerowanie();
int Cr280PlusSprawdzKod(int department, const char* code, int codeLength);
int Cr280Plus3SprawdzKod(int department, const char* code, int codeLength);
int Cr280Ther3SprawdzKod(int department, const char* code, int codeLength);
int Cr280Ther4SprawdzKod(int department, const char* code, int codeLength);
int Cr280Koniec();
int Cr280Status();
// 0 accepted, 1 send again, -1 failed.
int Cr280Odpowiedz();
char Cr280LiteraVat(int vatCode);
int Cr280KodVat(char letter);
// A name's first 8 characters through table P (true) or T, blank-padded to 12; and back.
std::string Cr280Nazwa(const char* name, int length, bool tableP);
std::string Cr280NazwaWstecz(const std::string& bytes, bool tableP);

// ---- OMRON GR30 (type 5)
int OmronOpenSendTowarMem();
int OmronOpenSendTowar();
int OmronSendTow(int department, const char* code, int codeLength, const char* name, int nameLength, double price,
                 int vatCode);
int OmronDelete(const char* code, int codeLength);
int OmronKoniec();
void OmronCloseFile();
int OmronOpenRaport(char mode);
int OmronRapTow(const char* code, int codeLength, double* quantity, double* value);
int OmronZerowanie();
int OmronSprawdzKod(int department, const char* code, int codeLength);
// The wire bytes of a record (STX first, check byte last) expanded into its
// 131 columns; false for a bad compression, an overrun or a missing STX.
bool OmronRozwin(const std::string& wire, std::string* columns);
// Blank runs of 1 to 63 compressed into GS and 0x40 + count.
std::string OmronScisnij(const std::string& columns);

// ---- PS2000 (type 2)
int Ps2000SendTow(int department, const char* code, int codeLength, const char* name, int nameLength, double price,
                  int vatCode, const char* date, char action);
int Ps2000Koniec();
int Ps2000OpenRaport(const char* date);
int Ps2000RapTow(const char* code, int codeLength, double* quantity, double* value);
void Ps2000CloseRaport();
int Ps2000Zerowanie(const char* date, int file);
int Ps2000SprawdzKod(int department, const char* code, int codeLength);
// The GS1 check digit ('0'..'9') of the 13-digit field's first twelve digits.
char Ps2000CyfraKontrolna(const std::string& field13);
// The PS2000 letter codes of a name cut to 12, then hex-split into 24 bytes.
std::string Ps2000Nazwa(const char* name, int length);
