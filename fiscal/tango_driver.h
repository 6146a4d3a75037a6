// The TANGO, BRAVO and NOVITUS register driver: goods records sent and
// deleted, the register's goods list read into the price list, the PLU sales
// report read into "tango.plu" and looked up. Frames carry a rotated
// exclusive-or checksum in four hexadecimal digits.
#pragma once
#include <string>

// Frame sizes.
constexpr int TANGO_REQUEST = 45, TANGO_GOODS = 84, TANGO_REPORT = 99, TANGO_ERROR = 47;

// The checksum of a whole frame of `length` bytes (its last four excluded).
unsigned TangoSuma(const unsigned char* frame, int length);
// A request frame: command 'I' goods or 'U' report, its argument and text.
std::string TangoRamka(char command, char argument, const char* text);
// A goods record: flag '1' store or '0' delete.
std::string TangoRekord(int department, const char* plu, const char* name, int nameLength, double price,
                        int vatCode, char flag);
// The PLU number of a goods code, or NULL after its message.
const char* TangoKod(const char* code, int length, long record);
