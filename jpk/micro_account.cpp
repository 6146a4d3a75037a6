// The tax micro-account of a taxpayer and the IBAN check digits it carries
// (MOD 97-10 for the country PL).
#include <cctype>
#include <cstring>
#include <string>

#include "env/temp_strings.h"
#include "jpk/bank_accounts.h"

namespace {

constexpr size_t ACCOUNT_DIGITS = 24;
constexpr size_t PESEL_LENGTH = 11, NIP_LENGTH = 10, IDENTIFIER_ROOM = 12;
constexpr size_t PIECE = 9, STEP = 7;
constexpr const char* COUNTRY_PL = "2521";
constexpr const char* MICRO_ACCOUNT_BASE = "10100071222";

}  // namespace

int cyfry_kontrolne_iban(const char* digits) {
  if (!digits || std::strlen(digits) != ACCOUNT_DIGITS) return IBAN_BAD_DIGITS;
  for (size_t i = 0; i < ACCOUNT_DIGITS; i++)
    if (!std::isdigit(static_cast<unsigned char>(digits[i]))) return IBAN_BAD_DIGITS;
  std::string number = std::string(digits) + COUNTRY_PL + "00";
  // Each nine-digit piece is replaced by its two-digit remainder in place.
  size_t at = 0;
  while (number.size() - at > PIECE) {
    int remainder = std::stoi(number.substr(at, PIECE)) % 97;
    number[at + PIECE - 2] = static_cast<char>('0' + remainder / 10);
    number[at + PIECE - 1] = static_cast<char>('0' + remainder % 10);
    at += STEP;
  }
  return 98 - std::stoi(number.substr(at)) % 97;
}

char* mikrorachunek_podatkowy(const char* identifier) {
  size_t length = identifier ? std::strlen(identifier) : 0;
  if (length != PESEL_LENGTH && length != NIP_LENGTH) return QuickStr("", 0, 0);
  std::string account = std::string("  ") + MICRO_ACCOUNT_BASE + (length == PESEL_LENGTH ? '1' : '2');
  account += std::string(IDENTIFIER_ROOM, '0');
  account.replace(14, length, identifier, length);
  int check = cyfry_kontrolne_iban(account.c_str() + 2);
  if (check == IBAN_BAD_DIGITS) return QuickStr("", 0, 0);
  account[0] = static_cast<char>('0' + check / 10);
  account[1] = static_cast<char>('0' + check % 10);
  std::string grouped = account.substr(0, 2);
  for (size_t i = 2; i < account.size(); i += 4) grouped += " " + account.substr(i, 4);
  return QuickStr(grouped.c_str(), -1, 0);
}
