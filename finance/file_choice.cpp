// The pick of one file of a directory by a mask, for the import of the
// bookkeeping program's archives.
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/paths.h"
#include "env/temp_strings.h"
#include "finance/bookkeeping_exchange.h"
#include "platform/dirs.h"
#include "ui/message_box.h"
#include "ui/selection.h"

namespace {
constexpr int NAME_WIDTH = 40, NUMBER_WIDTH = 4;
constexpr int CENTRED = -2;
}  // namespace

char* WybierzPlik(const char* katalog, const char* maska, TextRef komunikat) {
  std::string directory = QuickStr(katalog, -1, QS_RTRIM);
  std::vector<PlatDirEntry> entries, files;
  std::string mask = MazToUtf8Text(maska);
  if (PlatListDir(EnvToDiskPath(directory.c_str()).c_str(), mask.c_str(), &entries) != PLAT_OK)
    return nullptr;
  for (const PlatDirEntry& entry : entries)
    if (!entry.isDirectory) files.push_back(entry);
  if (files.empty()) {
    Uwaga(komunikat);
    return nullptr;
  }
  if (files.size() > SEL_MAX_SHOWN) files.resize(SEL_MAX_SHOWN);
  std::vector<Selection> list(files.size() + 1);
  ResetSelectionDefinition(list.data(), static_cast<int>(list.size() * sizeof(Selection)), NAME_WIDTH,
                           NUMBER_WIDTH);
  for (size_t i = 0; i < files.size(); i++)
    DefineSelection(static_cast<int32_t>(i + 1), Utf8ToMazText(files[i].name.c_str()).c_str(), nullptr, 0);
  int chosen = OpenSelectionList(list.data(), 1, CENTRED, CENTRED);
  FreeSelections(list.data());
  if (chosen < 1 || chosen > static_cast<int>(files.size())) return nullptr;
  std::string name = Utf8ToMazText(files[chosen - 1].name.c_str());
  return QuickStr(name.c_str(), -1, 0);
}
