#include "db/index_verify.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_table.h"
#include "db/expr.h"
#include "db/mdx_layout.h"

namespace {

// Deeper than any real tree: a deeper walk runs round a cycle.
constexpr int MAX_DEPTH = 32;
constexpr unsigned READ_BUFFER = 32768;

// The keys one tag holds, in tree order, read from the file as it stands.
struct TagWalk {
  DbIndex* index;
  DbTag* tag;
  unsigned bytes, units, key_len, group, per_block;
  long first, next;
  std::vector<unsigned char> keys;      // key_len bytes each
  std::vector<long> records;
  std::set<long> visited;
  std::string problem;
};

// The records' side of one tag: each record's key and whether it passes the filter.
struct TagRecords {
  DbTag* tag;
  unsigned key_len;
  std::vector<unsigned char> keys;      // record n at (n - 1) * key_len
  std::vector<char> passes;
};

bool fail(TagWalk& w, const std::string& problem) {
  if (w.problem.empty()) w.problem = problem;
  return false;
}

// Walks the subtree of `number`; every key must sort at or before `upper`
// (the parent entry's key) when one is given.
bool walk(TagWalk& w, long number, int depth, const unsigned char* upper) {
  if (depth > MAX_DEPTH) return fail(w, "the tree is deeper than any real one");
  if (number < w.first || number + (long)w.units > w.next)
    return fail(w, "block " + std::to_string(number) + " lies outside the tree");
  if (!w.visited.insert(number).second) return fail(w, "block " + std::to_string(number) + " is used twice");
  std::vector<unsigned char> block(w.bytes);
  if (file4read_all(&w.index->file, number * MDX_UNIT, block.data(), w.bytes) != 0) return false;
  unsigned n = GetLe16(block.data() + MDX_B_COUNT);
  if (n > w.per_block) return fail(w, "block " + std::to_string(number) + " holds too many keys");
  auto entry = [&](unsigned i) { return block.data() + MDX_B_ENTRIES + i * w.group; };
  bool leaf = GetLe32(entry(n)) == 0;
  if (leaf) {
    if (n == 0 && depth > 0) return fail(w, "block " + std::to_string(number) + " is an empty leaf");
    for (unsigned i = 0; i < n; i++) {
      const unsigned char* key = entry(i) + 4;
      if (upper != nullptr && w.tag->compare(key, upper, w.key_len) > 0)
        return fail(w, "block " + std::to_string(number) + " holds a key above its parent entry");
      w.keys.insert(w.keys.end(), key, key + w.key_len);
      w.records.push_back((long)GetLe32(entry(i)));
    }
    return true;
  }
  for (unsigned i = 0; i <= n; i++) {
    const unsigned char* bound = i < n ? entry(i) + 4 : upper;
    if (i < n && upper != nullptr && w.tag->compare(bound, upper, w.key_len) > 0)
      return fail(w, "block " + std::to_string(number) + " holds a key above its parent entry");
    if (!walk(w, (long)GetLe32(entry(i)), depth + 1, bound)) return false;
  }
  return true;
}

// Reads the tag's tree from the disk (or the cache's changed blocks).
int read_tag(TagWalk& w) {
  unsigned char root[4];
  if (file4read_all(&w.index->file, w.tag->header_pos + MDX_T_ROOT, root, 4) != 0) return -1;
  walk(w, (long)GetLe32(root), 0, nullptr);
  return w.tag->engine->error_code < 0 ? -1 : 0;
}

// One pass over the records computes every tag's keys and filters.
int read_records(DbTable* table, std::vector<TagRecords>& tags, long count) {
  for (TagRecords& t : tags) {
    t.keys.assign((size_t)count * t.key_len, 0);
    t.passes.assign((size_t)count + 1, 0);
  }
  std::vector<char> buffer(READ_BUFFER);
  DbSeqReader reader;
  if (file4seq_read_init(&reader, &table->file, d4record_position(table, 1), buffer.data(), READ_BUFFER) != 0)
    return -1;
  for (long n = 1; n <= count; n++) {
    if (file4seq_read_all(&reader, table->record, table->record_width) != 0) return -1;
    table->rec_num = (int)n;
    for (TagRecords& t : tags) {
      int passes = t4filter_true(t.tag);
      if (passes < 0) return -1;
      t.passes[(size_t)n] = passes != 0;
      char* key = nullptr;
      int length = t4expr_key(t.tag, &key);
      if (length < 0) return -1;
      if (length != (int)t.key_len) e4fatal_stop(e4result, "i4verify()");
      std::memcpy(&t.keys[(size_t)(n - 1) * t.key_len], key, t.key_len);
    }
  }
  return 0;
}

// The first disagreement between the tag's tree and its records, or "".
std::string compare_tag(const TagWalk& w, const TagRecords& r, long count) {
  DbTag* tag = w.tag;
  unsigned len = w.key_len;
  size_t held = w.records.size();
  auto key_at = [&](size_t i) { return &w.keys[i * len]; };
  for (size_t i = 1; i < held; i++) {
    int c = tag->compare(key_at(i - 1), key_at(i), len);
    if (c > 0) return "keys out of order at record " + std::to_string(w.records[i]);
    if (c == 0 && t4unique(tag)) return "a unique key held twice, record " + std::to_string(w.records[i]);
  }
  std::vector<char> seen((size_t)count + 1, 0);
  for (size_t i = 0; i < held; i++) {
    long n = w.records[i];
    std::string which = "record " + std::to_string(n);
    if (n < 1 || n > count) return "a key of " + which + ", beyond the count " + std::to_string(count);
    if (seen[(size_t)n]) return which + " holds two keys";
    seen[(size_t)n] = 1;
    if (!r.passes[(size_t)n]) return "a key of " + which + ", which does not pass the filter";
    if (std::memcmp(&r.keys[(size_t)(n - 1) * len], key_at(i), len) != 0) return "a key that " + which + " does not give";
  }
  for (long n = 1; n <= count; n++) {
    if (!r.passes[(size_t)n] || seen[(size_t)n]) continue;
    const unsigned char* key = &r.keys[(size_t)(n - 1) * len];
    // A unique tag keeps one record of equal keys.
    bool covered = false;
    if (t4unique(tag)) {
      size_t lo = 0, hi = held;
      while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (tag->compare(key_at(mid), key, len) < 0)
          lo = mid + 1;
        else
          hi = mid;
      }
      covered = lo < held && tag->compare(key_at(lo), key, len) == 0;
    }
    if (!covered) return "no key of record " + std::to_string(n);
  }
  return "";
}

void put_report(char* report, int size, const std::string& text) {
  if (report != nullptr && size > 0) std::snprintf(report, (size_t)size, "%s", text.c_str());
}

}  // namespace

int i4verify(DbIndex* index, char* report, int size) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4verify()");
  DbEngine* engine = index->engine;
  DbTable* table = index->table;
  if (engine->error_code < 0) return -1;
  put_report(report, size, "");
  if (i4update(index) != 0) return -1;
  // Another workstation's writes come from the disk, not from clean cached blocks.
  unsigned char read_through = engine->cache.read_through;
  engine->cache.read_through = 1;
  unsigned char header[MDX_HEADER_SIZE];
  int result = file4read_all(&index->file, 0, header, sizeof header);
  std::vector<TagWalk> walks;
  std::vector<TagRecords> records;
  for (DbTag* tag = (DbTag*)l4first(&index->tags); result == 0 && tag != nullptr;
       tag = (DbTag*)l4next(&index->tags, tag)) {
    TagWalk w{};
    w.index = index;
    w.tag = tag;
    w.units = GetLe16(header + MDX_H_UNITS);
    w.bytes = GetLe16(header + MDX_H_BLOCK_BYTES);
    w.key_len = t4key_len(tag);
    w.group = t4group_len(tag);
    w.per_block = t4keys_per_block(tag);
    w.first = MDX_FIRST_TAG_BLOCK + (long)GetLe16(header + MDX_H_TAG_COUNT) * w.units;
    w.next = (long)GetLe32(header + MDX_H_NEXT_BLOCK);
    if (w.bytes != w.units * MDX_UNIT || w.units == 0) {
      put_report(report, size, std::string(index->file.name) + ": the header does not describe an index");
      engine->cache.read_through = read_through;
      return 1;
    }
    if (read_tag(w) != 0) result = -1;
    walks.push_back(std::move(w));
    records.push_back(TagRecords{tag, t4key_len(tag), {}, {}});
  }
  long count = result == 0 ? d4reccount(table) : -1;
  engine->cache.read_through = read_through;
  if (count < 0) return -1;
  for (const TagWalk& w : walks) {
    if (w.problem.empty()) continue;
    put_report(report, size, std::string(index->file.name) + ", " + w.tag->name + ": " + w.problem);
    return 1;
  }
  // The pass moves the record buffer; the caller's record comes back.
  std::vector<char> saved(table->record, table->record + table->record_width);
  int rec_num = table->rec_num;
  result = read_records(table, records, count);
  std::memcpy(table->record, saved.data(), saved.size());
  table->rec_num = rec_num;
  if (result != 0) return -1;
  for (size_t i = 0; i < walks.size(); i++) {
    std::string problem = compare_tag(walks[i], records[i], count);
    if (problem.empty()) continue;
    put_report(report, size, std::string(index->file.name) + ", " + walks[i].tag->name + ": " + problem);
    return 1;
  }
  return 0;
}

int d4verify(DbTable* table, char* report, int size) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4verify()");
  put_report(report, size, "");
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index)) {
    int result = i4verify(index, report, size);
    if (result != 0) return result;
  }
  return 0;
}
