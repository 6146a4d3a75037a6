// Build step: turns the help sources of resources/help/ into the help files
// the library reads beside the executable. Usage:
//   helpgen <ZELM.HLP> <ZELM.IND> <source.txt>...
// A source is UTF-8 text:
//   # ...              a comment line (skipped)
//   @<topic> [note]    starts a topic (1..65535); the note is for the writer only
//   any other line     a line of the current topic; [[<topic>|text]] is a link
// Trailing empty lines of a topic are dropped. A character outside the
// system's set, a line too wide for the help window, a link text over 20
// characters, a link to a topic no source defines or a topic defined twice
// is a build error, and no output is left behind.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/common/read_file.h"
#include "tools/common/utf8_to_charset.h"
#include "ui/help.h"

namespace {

struct Source {
  std::string path;
  int line;
};

struct Topic {
  Source where;
  std::vector<std::string> lines;   // system's character set, markers in place
  std::vector<std::pair<int, Source>> links;
};

std::string Where(const Source& s) { return s.path + ":" + std::to_string(s.line) + ": "; }

// UTF-8 to the system's character set; the marker bytes are refused.
std::string ToSystemCharset(const std::string& text, const Source& at) {
  std::string where = Where(at);
  return Utf8ToCharset(text, where, [&](char32_t code, int byte, const std::string& utf8) {
    if (byte < 0 || code < 0x20)
      throw std::runtime_error(where + "\"" + utf8 + "\" is not in the system's character set");
    if (byte >= HELP_LINK_END && byte <= HELP_HIDE_ONE)
      throw std::runtime_error(where + "\"" + utf8 + "\" is a marker of the help file");
  });
}

int TopicNumber(const std::string& digits, const Source& at) {
  if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
    throw std::runtime_error(Where(at) + "bad topic number \"" + digits + "\"");
  int n = std::stoi(digits);
  if (n < 1 || n > 0xFFFF) throw std::runtime_error(Where(at) + "topic number out of range");
  return n;
}

// One source line with its links encoded.
std::string EncodeLine(const std::string& utf8, const Source& at, Topic* topic) {
  std::string out;
  size_t shown = 0, pos = 0;
  while (pos < utf8.size()) {
    size_t open = utf8.find("[[", pos);
    std::string plain = ToSystemCharset(utf8.substr(pos, open == std::string::npos ? std::string::npos : open - pos), at);
    out += plain;
    shown += plain.size();
    if (open == std::string::npos) break;
    size_t bar = utf8.find('|', open), end = utf8.find("]]", open);
    if (bar == std::string::npos || end == std::string::npos || bar > end)
      throw std::runtime_error(Where(at) + "a link is written [[topic|text]]");
    int target = TopicNumber(utf8.substr(open + 2, bar - open - 2), at);
    std::string text = ToSystemCharset(utf8.substr(bar + 1, end - bar - 1), at);
    if (text.empty() || text.size() > HELP_LINK_TEXT_MAX)
      throw std::runtime_error(Where(at) + "a link's text has 1 to 20 characters");
    std::string digits = std::to_string(target);
    out += static_cast<char>(HELP_LINK);
    out += "0 ";   // no further hidden characters than the one blank
    out += static_cast<char>('0' + digits.size());
    out += digits;
    out += text;
    out += static_cast<char>(HELP_LINK_END);
    shown += text.size();
    topic->links.push_back({target, at});
    pos = end + 2;
  }
  if (shown > HELP_LINE_MAX)
    throw std::runtime_error(Where(at) + "the line shows " + std::to_string(shown) + " characters, at most " +
                             std::to_string(HELP_LINE_MAX) + " fit");
  return out;
}

void Parse(const std::string& path, std::map<int, Topic>* topics) {
  std::string data = ReadAll(path);
  Topic* current = nullptr;
  int number = 0;
  for (size_t pos = 0; pos <= data.size();) {
    size_t nl = data.find('\n', pos);
    if (nl == std::string::npos) nl = data.size();
    std::string line = data.substr(pos, nl - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Source at{path, ++number};
    bool last = nl == data.size();
    pos = nl + 1;
    if (last && line.empty()) break;
    if (!line.empty() && line[0] == '#') continue;
    if (!line.empty() && line[0] == '@') {
      size_t space = line.find(' ');
      int topic = TopicNumber(line.substr(1, space == std::string::npos ? std::string::npos : space - 1), at);
      if (topics->count(topic))
        throw std::runtime_error(Where(at) + "topic " + std::to_string(topic) + " is already defined at " +
                                 Where((*topics)[topic].where));
      current = &(*topics)[topic];
      current->where = at;
      continue;
    }
    if (!current) {
      if (line.find_first_not_of(" \t") == std::string::npos) continue;
      throw std::runtime_error(Where(at) + "text before the first @topic line");
    }
    current->lines.push_back(EncodeLine(line, at, current));
  }
}

void PutU16(std::string* out, unsigned v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::string* out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: helpgen <ZELM.HLP> <ZELM.IND> <source.txt>...\n");
    return 2;
  }
  try {
    std::map<int, Topic> topics;
    for (int i = 3; i < argc; i++) Parse(argv[i], &topics);
    std::string text, index;
    PutU32(&index, static_cast<uint32_t>(topics.size()));
    PutU16(&index, HELP_INDEX_ENTRY);
    PutU32(&index, 0);
    for (auto& [number, topic] : topics) {
      for (const auto& [target, at] : topic.links)
        if (!topics.count(target))
          throw std::runtime_error(Where(at) + "link to topic " + std::to_string(target) + ", which no source defines");
      while (!topic.lines.empty() && topic.lines.back().find_first_not_of(" \t") == std::string::npos)
        topic.lines.pop_back();
      std::string body;
      for (const std::string& line : topic.lines) body += line + "\r\n";
      if (body.size() > 0xFFFF || topic.lines.size() > 0xFFFF)
        throw std::runtime_error(Where(topic.where) + "the topic is too long");
      PutU32(&index, static_cast<uint32_t>(text.size()));
      PutU16(&index, static_cast<unsigned>(body.size()));
      PutU16(&index, static_cast<unsigned>(topic.lines.size()));
      PutU16(&index, static_cast<unsigned>(number));
      text += body;
    }
    WriteFile(argv[1], text);
    WriteFile(argv[2], index);
  } catch (const std::exception& e) {
    std::remove(argv[1]);
    std::remove(argv[2]);
    std::fprintf(stderr, "helpgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
