// Index tests: a table fixture and an independent reader of .MDX files that
// follows the on-disk layout only.
#pragma once
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/index_keys.h"
#include "db/mdx_layout.h"
#include "env/dates.h"
#include "tests/db/db_test_support.h"

class MdxTest : public DbTest {
 protected:
  static std::vector<DbfTagDef> Tags(std::vector<DbfTagDef> tags) {
    tags.push_back(DbfTagDef{nullptr, nullptr, nullptr, 0, 0});
    return tags;
  }
  // Appends a record with the given field texts.
  int Append(DbTable* t, const std::vector<std::string>& values) {
    d4append_start(t, 0);
    d4blank(t);
    for (size_t j = 0; j < values.size(); j++) f4assign(d4field_j(t, (int)j + 1), values[j].c_str());
    return d4append(t);
  }
  static std::string Bytes(const std::string& path) { return ReadFile(path); }
};

// ---- the independent reader

struct MdxEntry {
  std::string key;
  long record;
};

struct MdxTagView {
  std::string name, expr, filter;
  int type = 0, key_len = 0, group = 0, kpb = 0, format = 0, has_filter = 0, has_keys = 0;
  long root = 0, header_block = 0;
  int left = 0, right = 0, parent = 0;
  std::vector<MdxEntry> keys;     // in tree order
  int leaves = 0, branches = 0;
  std::string error;              // the first broken rule met
};

struct MdxView {
  std::string bytes;
  int units = 0, block_bytes = 0, tag_count = 0;
  long next_block = 0, free_list = 0;
  std::vector<MdxTagView> tags;

  static std::string Text(const std::string& b, size_t at, size_t n) {
    std::string s = b.substr(at, n);
    return s.substr(0, s.find('\0'));
  }

  bool Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes.size() < 2048) return false;
    units = (int)Le16(bytes, 20);
    block_bytes = (int)Le16(bytes, 22);
    tag_count = (int)Le16(bytes, 28);
    next_block = (long)Le32(bytes, 32);
    free_list = (long)Le32(bytes, 36);
    for (int i = 0; i < tag_count; i++) {
      size_t e = 544 + (size_t)i * 32;
      MdxTagView t;
      t.header_block = (long)Le32(bytes, e);
      t.name = Text(bytes, e + 4, 11);
      t.left = (unsigned char)bytes[e + 16];
      t.right = (unsigned char)bytes[e + 17];
      t.parent = (unsigned char)bytes[e + 18];
      size_t h = (size_t)t.header_block * 512;
      t.root = (long)Le32(bytes, h);
      t.format = (unsigned char)bytes[h + 8];
      t.type = (unsigned char)bytes[h + 9];
      t.key_len = (int)Le16(bytes, h + 12);
      t.kpb = (int)Le16(bytes, h + 14);
      t.group = (int)Le16(bytes, h + 18);
      t.expr = Text(bytes, h + 24, 221);
      t.has_filter = (unsigned char)bytes[h + 245];
      t.has_keys = (unsigned char)bytes[h + 246];
      t.filter = Text(bytes, h + 762, (size_t)block_bytes - 762);
      Walk(t, t.root, 0);
      tags.push_back(t);
    }
    return true;
  }

  void Walk(MdxTagView& t, long block, int depth) {
    if (!t.error.empty()) return;
    size_t at = (size_t)block * 512;
    if (depth > 20 || block <= 0 || at + (size_t)block_bytes > bytes.size()) {
      t.error = "block out of range";
      return;
    }
    int n = (int)Le16(bytes, at);
    if (n > t.kpb) {
      t.error = "too many keys";
      return;
    }
    auto entry = [&](int i) { return at + 8 + (size_t)i * (size_t)t.group; };
    if (Le32(bytes, entry(n)) == 0) {
      t.leaves++;
      for (int i = 0; i < n; i++)
        t.keys.push_back({bytes.substr(entry(i) + 4, (size_t)t.key_len), (long)Le32(bytes, entry(i))});
      return;
    }
    t.branches++;
    for (int i = 0; i <= n; i++) Walk(t, (long)Le32(bytes, entry(i)), depth + 1);
  }
};
