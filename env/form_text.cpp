#include "env/form_text.h"

#include "env/messages.h"

std::vector<std::string> ResourceLines(ResIdRoutine resource) {
  uint16_t size = 0;
  const unsigned char* data = EnvFindRcData(RC_PROGRAM_FILE, resource, &size);
  std::vector<std::string> lines;
  if (!data) return lines;
  std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}
