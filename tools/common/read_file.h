// A whole input file of a build tool.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
