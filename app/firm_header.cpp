#include "app/firm_header.h"

#include <cstring>
#include <string>

#include "app/sales_options.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "tables/firm_tables.h"
#include "ui/desktop.h"
#include "ui/window4.h"

namespace {

std::string Trimmed(const char* text, size_t size) {
  std::string s(text, strnlen(text, size));
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

int CopyHeader(int companyData) {
  if (OpenZ5PAWL() != 0) return -1;
  if (companyData) CompanyDataWindow();
  CopyFirmHeaderToEnvironment();
  d4close(Z5PAWL.table);
  return 0;
}

}  // namespace

int LoadFirmHeader() { return CopyHeader(0); }

int LoadFirmHeaderAndShow() { return EditOwnFirm(0); }

int EditOwnFirm(int companyData) {
  if (CopyHeader(companyData) != 0) return -1;
  ShowFirmName();
  return 0;
}

void ShowFirmName() {
  Environment* env = EnvCurrent();
  if (!env || !w4record(env->mainProgramWindow)) return;
  std::string name = Trimmed(env->ownerName, sizeof env->ownerName);
  std::string second = Trimmed(env->ownerName2, sizeof env->ownerName2);
  if (!second.empty()) name += (name.empty() ? "" : " ") + second;
  size_t room = Desktop.cols > 2 ? static_cast<size_t>(Desktop.cols - 2) : 0;
  if (name.size() > room) name.resize(room);
  int previous = w4select(env->mainProgramWindow);
  w4clear(0);
  w4centre(0, name.c_str());
  w4select(previous);
}
