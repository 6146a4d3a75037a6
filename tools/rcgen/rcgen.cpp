// Build step: turns the files of resources/<module>/ into a C++ table of
// numbered resources. Usage: rcgen <module> <output.cpp> <file>...
// A file's number is the leading digits of its name ("7_messages.msg" is 7).
// Kinds by extension:
//   .msg  a message table: UTF-8 lines "<number><TAB><text>" (empty lines and
//         lines starting with '#' are skipped) become the binary table: uint16
//         total size, then uint16 number, text, NUL per entry, little-endian,
//         in rising order of number; in a text "\n" is a line feed (a
//         text of several lines) and "\\" a backslash;
//   .txt  UTF-8 text, stored in the system's character set;
//   .scr  a screen: UTF-8 lines, each blank-padded to 78 characters and
//         stored in the system's character set without line ends (a longer
//         line is a build error); a page of another width names it before
//         the kind ("77_form.84.scr" is 84 wide);
//   other files are stored as they are.
// Text that the system's character set cannot hold is a build error.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/common/read_file.h"
#include "tools/common/utf8_to_charset.h"

namespace {

std::string BaseName(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int NumberOf(const std::string& path) {
  std::string name = BaseName(path);
  size_t i = 0;
  while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) i++;
  if (i == 0) throw std::runtime_error(path + ": a resource file's name begins with its number");
  return std::stoi(name.substr(0, i));
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Where(const std::string& path, int line) { return path + ":" + std::to_string(line) + ": "; }

// One line of UTF-8 to the system's character set.
std::string ToSystemCharset(const std::string& text, const std::string& path, int line) {
  std::string where = Where(path, line);
  return Utf8ToCharset(text, where, [&](char32_t code, int byte, const std::string& utf8) {
    if (byte >= 0) return;
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    throw std::runtime_error(where + "character " + hex + " (" + utf8 + ") is not in the system's character set");
  });
}

std::vector<std::string> Lines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string TextResource(const std::string& data, const std::string& path) {
  std::string out;
  int line = 0;
  for (size_t start = 0; start < data.size();) {
    size_t end = data.find('\n', start);
    size_t stop = end == std::string::npos ? data.size() : end;
    out += ToSystemCharset(data.substr(start, stop - start), path, ++line);
    if (end != std::string::npos) out += '\n';
    start = stop + 1;
  }
  return out;
}

constexpr size_t SCREEN_WIDTH = 78;

// The width a ".<digits>.scr" name gives, else the screen's.
size_t ScreenWidth(const std::string& path) {
  std::string name = BaseName(path);
  size_t kind = name.size() - 4;
  size_t start = name.find_last_of('.', kind - 1);
  if (start == std::string::npos || start + 1 == kind) return SCREEN_WIDTH;
  for (size_t i = start + 1; i < kind; i++)
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return SCREEN_WIDTH;
  return std::stoul(name.substr(start + 1, kind - start - 1));
}

std::string ScreenResource(const std::string& data, const std::string& path) {
  std::string out;
  int line = 0;
  size_t width = ScreenWidth(path);
  for (const std::string& text : Lines(data)) {
    std::string row = ToSystemCharset(text, path, ++line);
    if (row.size() > width)
      throw std::runtime_error(Where(path, line) + "a screen line is longer than " + std::to_string(width) +
                               " characters");
    row.resize(width, ' ');
    out += row;
  }
  return out;
}

// A message of several lines keeps its line feeds escaped, one message a line.
std::string Unescape(const std::string& text, const std::string& path, int line) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (next != 'n' && next != '\\') throw std::runtime_error(Where(path, line) + "unknown escape after a backslash");
    out += next == 'n' ? '\n' : '\\';
    i++;
  }
  return out;
}

std::string MessageTable(const std::string& data, const std::string& path) {
  std::map<unsigned, std::string> texts;
  int line = 0;
  for (const std::string& text : Lines(data)) {
    line++;
    if (text.empty() || text[0] == '#') continue;
    size_t tab = text.find('\t');
    size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) digits++;
    if (tab == std::string::npos || digits == 0 || digits != tab || digits > 5)
      throw std::runtime_error(Where(path, line) + "expected <number><TAB><text>");
    unsigned number = static_cast<unsigned>(std::stoul(text.substr(0, digits)));
    if (number < 1 || number > 65535) throw std::runtime_error(Where(path, line) + "number out of 1..65535");
    if (texts.count(number)) throw std::runtime_error(Where(path, line) + "number used twice");
    texts[number] = ToSystemCharset(Unescape(text.substr(tab + 1), path, line), path, line);
  }
  std::string table(2, '\0');
  for (auto& [number, text] : texts) {
    table += static_cast<char>(number & 0xFF);
    table += static_cast<char>(number >> 8);
    table += text;
    table += '\0';
  }
  if (table.size() > 0xFFFF) throw std::runtime_error(path + ": message table larger than 65535 bytes");
  table[0] = static_cast<char>(table.size() & 0xFF);
  table[1] = static_cast<char>(table.size() >> 8);
  return table;
}

std::string Convert(const std::string& path) {
  std::string data = ReadAll(path);
  if (EndsWith(path, ".msg")) return MessageTable(data, path);
  if (EndsWith(path, ".txt")) return TextResource(data, path);
  if (EndsWith(path, ".scr")) return ScreenResource(data, path);
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: rcgen <module> <output.cpp> <file>...\n");
    return 2;
  }
  std::string module = argv[1];
  try {
    std::map<int, std::string> resources;
    for (int i = 3; i < argc; i++) {
      int number = NumberOf(argv[i]);
      if (resources.count(number)) throw std::runtime_error(std::string(argv[i]) + ": number used twice");
      resources[number] = Convert(argv[i]);
    }
    std::ostringstream out;
    out << "// Generated by rcgen from resources/ - do not edit.\n#include \"platform/resources.h\"\n\nnamespace {\n";
    for (auto& [number, data] : resources) {
      out << "const unsigned char r" << number << "[] = {";
      for (size_t i = 0; i < data.size(); i++) {
        if (i % 24 == 0) out << "\n ";
        out << ' ' << static_cast<unsigned>(static_cast<unsigned char>(data[i])) << ',';
      }
      out << " 0};\n";
    }
    out << "const PlatResource table[] = {\n";
    for (auto& [number, data] : resources)
      out << "  {" << number << ", r" << number << ", " << data.size() << "u},\n";
    out << "  {0, nullptr, 0u}};\n}  // namespace\n\n";
    out << "void RegisterResources_" << module << "() {\n  PlatRegisterResources(\"" << module << "\", table, "
        << resources.size() << ");\n}\n";
    std::string text = out.str();
    std::ofstream file(argv[2], std::ios::binary);
    file << text;
    if (!file) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rcgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
