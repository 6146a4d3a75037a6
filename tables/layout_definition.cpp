#include <cstdint>
#include <cstring>

#include "db/dbf_definition.h"
#include "tables/layouts.h"

namespace {

int SpecOf(const LayoutField& f) {
  if (f.type == 'C' && f.width == DBF_SPEC_TEXT_WIDTH) return DBF_SPEC_TEXT;
  int code = f.type == 'N' ? DBF_SPEC_N : f.type == 'D' ? DBF_SPEC_D : DBF_SPEC_C;
  return f.width << 8 | f.decimals << 4 | code;
}

// Four characters into an int, the first in the most significant byte.
int Packed(const char* name) {
  uint32_t packed = 0;
  size_t length = std::strlen(name);
  for (size_t i = 0; i < 4; i++) packed = packed << 8 | (uint32_t)(unsigned char)(i < length ? name[i] : 0);
  return (int)packed;
}

}  // namespace

void DefineLayout(const TableLayout& layout, int fieldCount, const char* omit, bool withTags) {
  int count = fieldCount < 0 || fieldCount > layout.fieldCount ? layout.fieldCount : fieldCount;
  for (int i = 0; i < count; i++) {
    const LayoutField& f = layout.fields[i];
    if (omit != nullptr && std::strcmp(f.name, omit) == 0) continue;
    if (std::strlen(f.name) <= 4)
      DefineField(Packed(f.name), SpecOf(f));
    else
      DefineField_(f.name, SpecOf(f));
  }
  if (!withTags) return;
  for (int i = 0; i < layout.tagCount; i++) {
    const LayoutTag& tag = layout.tags[i];
    DefineTag_(tag.key, tag.filter, tag.descending);
  }
}
