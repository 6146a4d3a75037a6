// Validation of a JPK file against the published schema of its variant with
// xmllint, offline: the imports come from the copies beside the tests.
#pragma once
#include <cstdio>
#include <string>

inline std::string JpkSchemaDir() { return std::string(ZEL_TESTS_SOURCE_DIR) + "/jpk/fixtures/xsd/"; }

// "" when the file is valid, else what xmllint said.
inline std::string ValidateJpk(const std::string& path, int variant) {
  static const char* const schemas[] = {"Schemat_JPK_FA(1)_v1-0.xsd", "Schemat_JPK_FA(2)_v1-0.xsd",
                                        "Faktury_VAT_-JPK_FA(3).xsd", "Schemat_JPK_FA(4)_v1-0.xsd"};
  std::string command = "XML_CATALOG_FILES='" + JpkSchemaDir() + "catalog.xml' xmllint --nonet --noout --schema '" +
                        JpkSchemaDir() + schemas[variant - 1] + "' '" + path + "' 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "xmllint did not start";
  std::string output;
  char buffer[512];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  int status = pclose(pipe);
  return status == 0 ? "" : output;
}

inline std::string TwoDecimals(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}
