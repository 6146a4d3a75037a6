#include "app/link_numbers.h"

#include <cctype>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "db/dbf_table.h"

namespace {

DbField* F(DbTable* t, const char* name) { return d4field(t, name); }

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// A standard number read back from a link: its prefix, number and suffix.
struct NumberParts {
  std::string prefix, digits, suffix;
};
struct NumberWidths {
  size_t prefix, digits, suffix;
};

NumberWidths WidthsOf(DbTable* t) { return {f4len(F(t, "PRE")), f4len(F(t, "NRV")), f4len(F(t, "POS"))}; }

std::string WithoutBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool Digits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool Fits(const NumberParts& p, const NumberWidths& w) {
  return p.prefix.size() <= w.prefix && Digits(p.digits) && p.digits.size() <= w.digits &&
         std::stol(p.digits) > 0 && p.suffix.size() <= w.suffix;
}

// The fixed width: the prefix, "/" (a blank for no prefix), the number
// right-aligned, "/" (a blank for no suffix), the suffix; the suffix's
// blanks may be cut.
bool ReadFixed(std::string text, const NumberWidths& w, NumberParts* out) {
  text.erase(text.find_last_not_of(' ') + 1);
  size_t afterNumber = w.prefix + 1 + w.digits;
  if (text.size() < afterNumber || text.size() > afterNumber + 1 + w.suffix) return false;
  NumberParts p{WithoutBlanks(text.substr(0, w.prefix)), text.substr(w.prefix + 1, w.digits),
                text.size() > afterNumber + 1 ? text.substr(afterNumber + 1) : ""};
  // A blank part may stand with its "/" too.
  auto separator = [](char c, const std::string& part) { return c == '/' || (c == ' ' && part.empty()); };
  if (!separator(text[w.prefix], p.prefix)) return false;
  if (text.size() > afterNumber && !separator(text[afterNumber], p.suffix)) return false;
  if (p.digits.back() == ' ') return false;
  p.digits = WithoutBlanks(p.digits);
  if (!Fits(p, w)) return false;
  *out = p;
  return true;
}

// As typed: "prefix/number/suffix", "prefix/number", "number/suffix" or the
// number alone.
bool ReadTyped(const std::string& text, const NumberWidths& w, NumberParts* out) {
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    size_t slash = text.find('/', start);
    parts.push_back(WithoutBlanks(text.substr(start, slash == std::string::npos ? std::string::npos : slash - start)));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  NumberParts p;
  if (parts.size() == 1) {
    p.digits = parts[0];
  } else if (parts.size() == 3) {
    p = {parts[0], parts[1], parts[2]};
  } else if (parts.size() == 2 && Digits(parts[1])) {
    p = {parts[0], parts[1], ""};
  } else if (parts.size() == 2) {
    p = {"", parts[0], parts[1]};
  } else {
    return false;
  }
  if ((parts.size() == 3 && (p.prefix.empty() || p.suffix.empty())) || !Fits(p, w)) return false;
  *out = p;
  return true;
}

bool ReadLink(DbTable* t, const std::string& text, NumberParts* parts) {
  if (f4char(F(t, "RE4")) == 'N') return false;
  NumberWidths w = WidthsOf(t);
  return ReadFixed(text, w, parts) || ReadTyped(text, w, parts);
}

}  // namespace

std::string StoredLinkNumber(DbTable* t, DbField* link, const std::string& typed) {
  NumberParts p;
  if (!ReadLink(t, typed, &p)) return typed;
  NumberWidths w = WidthsOf(t);
  // The prefix right-aligned as the number window keeps it, upper case as typed there.
  std::string prefix = std::string(w.prefix - p.prefix.size(), ' ') + Upper(p.prefix);
  std::string suffix = Upper(p.suffix);
  suffix.resize(w.suffix, ' ');
  std::string number =
      NrDokumentuStalyTekstQStr(prefix.c_str(), std::stol(p.digits), static_cast<int>(w.digits), suffix.c_str());
  return number.substr(0, f4len(link));
}

std::string PrintedLinkNumber(DbTable* t, DbField* link) {
  std::string stored(f4ptr(link), f4len(link));
  NumberParts p;
  if (!ReadLink(t, stored, &p)) return WithoutBlanks(stored);
  return NrDokumentuQStr(p.prefix.c_str(), -1, std::stol(p.digits), p.suffix.c_str(), -1);
}
