// The B-tree of a tag: block buffers, the walk from the root, seeking and
// skipping, adding and removing keys, and the checks by which a reader of a
// shared index notices blocks that another workstation is changing.
#include <climits>
#include <cstring>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/expr.h"
#include "db/mdx_layout.h"
#include "env/env_state.h"
#include "env/memory.h"
#include "platform/clock.h"
#include "platform/screen_hook.h"

namespace {

// Deeper than any real tree: a deeper walk runs round a cycle.
constexpr int MAX_DEPTH = 32;
// Waits for a shared index that keeps looking inconsistent, about a second each.
constexpr int MAX_RETRIES = 10;
constexpr uint32_t ROOT_UNREAD = 0xFFFFFFFFu;

unsigned bytes_of(const DbIndex* index) { return GetLe16(index->header + MDX_H_BLOCK_BYTES); }
unsigned units_of(const DbIndex* index) { return GetLe16(index->header + MDX_H_UNITS); }
long first_tree_block(const DbIndex* index) {
  return MDX_FIRST_TAG_BLOCK + (long)GetLe16(index->header + MDX_H_TAG_COUNT) * units_of(index);
}
bool index_locked(const DbIndex* index) { return index->locked || index->file.exclusive || index->file.read_only; }

unsigned offset_of(const DbBlock* block, int i) { return MDX_B_ENTRIES + (unsigned)i * t4group_len(block->tag); }
void set_count(DbBlock* block, int n) { PutLe16(block->data + MDX_B_COUNT, (unsigned)n); }

// While the index is locked or exclusive nobody else sees it, so a tag keeps
// the blocks it walked, changed ones too, until the index is written out:
// random keys then find their leaves in memory. This many per tag (a power of
// two, also the size of the table that finds them), the least recently used
// going first.
constexpr int HELD_BLOCKS = 4096;

bool index_held(const DbIndex* index) { return index->locked || index->file.exclusive; }

DbBlock** held_slot(DbTag* tag, long number) {
  return &tag->held[(unsigned long)(number / (long)units_of(tag->index)) & (HELD_BLOCKS - 1)];
}

void held_add(DbTag* tag, DbBlock* block) {
  if (tag->held == nullptr || block->is_held || block->file_block < 0) return;
  DbBlock** slot = held_slot(tag, block->file_block);
  block->held_next = *slot;
  *slot = block;
  block->is_held = 1;
}

void held_remove(DbTag* tag, DbBlock* block) {
  if (!block->is_held) return;
  for (DbBlock** at = held_slot(tag, block->file_block); *at != nullptr; at = &(*at)->held_next)
    if (*at == block) {
      *at = block->held_next;
      break;
    }
  block->held_next = nullptr;
  block->is_held = 0;
}

// The spare holding block `number`, or NULL.
DbBlock* find_spare(DbTag* tag, long number) {
  if (tag->held != nullptr) {
    for (DbBlock* b = *held_slot(tag, number); b != nullptr; b = b->held_next)
      if (b->file_block == number) return b;
    return nullptr;
  }
  for (DbBlock* b = (DbBlock*)l4first(&tag->spare_blocks); b != nullptr; b = (DbBlock*)l4next(&tag->spare_blocks, b))
    if (b->file_block == number) return b;
  return nullptr;
}

// The table of held spares, made on the first walk of a held index; -1 out of memory.
int make_held(DbTag* tag) {
  if (tag->held != nullptr) return 0;
  tag->held = (DbBlock**)u4alloc(sizeof(DbBlock*) * HELD_BLOCKS);
  if (tag->held == nullptr) return e4show_error(tag->engine, e4memory);
  for (DbBlock* b = (DbBlock*)l4first(&tag->spare_blocks); b != nullptr; b = (DbBlock*)l4next(&tag->spare_blocks, b))
    held_add(tag, b);
  return 0;
}

DbBlock* new_buffer(DbTag* tag) {
  DbIndex* index = tag->index;
  DbBlock* block = (DbBlock*)mem4alloc_env(index->block_pool, reinterpret_cast<Environment*>(index->engine));
  if (block == nullptr) return nullptr;
  std::memset(block, 0, sizeof *block + bytes_of(index));
  block->tag = tag;
  block->file_block = -1;
  block->data = reinterpret_cast<unsigned char*>(block + 1);
  return block;
}

void drop_buffer(DbTag* tag, DbBlock* block) {
  held_remove(tag, block);
  if (l4contains(&tag->blocks, block)) l4remove(&tag->blocks, block);
  if (l4contains(&tag->spare_blocks, block)) l4remove(&tag->spare_blocks, block);
  mem4free(tag->index->block_pool, block);
}

int t4up(DbTag* tag) {
  DbBlock* block = (DbBlock*)l4pop(&tag->blocks);
  if (block == nullptr) return 1;
  l4add(&tag->spare_blocks, block);
  held_add(tag, block);
  return 0;
}

void t4up_all(DbTag* tag) {
  while (t4up(tag) == 0) {
  }
}

// An inconsistency: an error in an index this program holds, else 1 (retry).
int inconsistent(DbTag* tag) {
  DbIndex* index = tag->index;
  if (!index_locked(index)) return 1;
  e4show_error(index->engine, e4index_other, "!420!", index->file.name);
  return -1;
}

long root_block(DbTag* tag) {
  if (GetLe32(tag->header + MDX_T_ROOT) == ROOT_UNREAD) {
    unsigned char root[4];
    if (file4read_all(&tag->index->file, tag->header_pos + MDX_T_ROOT, root, 4) != 0) return -1;
    std::memcpy(tag->header + MDX_T_ROOT, root, 4);
  }
  return (long)GetLe32(tag->header + MDX_T_ROOT);
}

void set_root(DbTag* tag, long number) {
  PutLe32(tag->header + MDX_T_ROOT, (uint32_t)number);
  tag->root_changed = 1;
}

// Reads block `number` into the buffer and checks it: always that it lies in
// the tree area and holds no more keys than fit; with check_index_blocks
// also that it fits the parent entry that leads to it.
int i4read_block(DbTag* tag, long number, DbBlock* parent, DbBlock* block) {
  DbIndex* index = tag->index;
  DbEngine* engine = index->engine;
  unsigned bytes = bytes_of(index);
  block->file_block = -1;
  long next = (long)GetLe32(index->header + MDX_H_NEXT_BLOCK);
  if (number < first_tree_block(index) || number + (long)units_of(index) > next) return inconsistent(tag);
  unsigned got = file4read(&index->file, number * MDX_UNIT, block->data, bytes);
  if (engine->error_code < 0) return -1;
  if (got != bytes) return inconsistent(tag);
  int n = b4key_count(block);
  if (n > (int)t4keys_per_block(tag)) return inconsistent(tag);
  if (n == 0 && parent != nullptr) return inconsistent(tag);
  block->file_block = number;
  block->changed = 0;
  block->key_on = 0;
  if (!engine->check_index_blocks || parent == nullptr) return 0;
  unsigned key_len = t4key_len(tag);
  int p = parent->key_on, pn = b4key_count(parent);
  bool leaf = b4leaf(block) != 0;
  const unsigned char* first = b4key_data(block, 0);
  const unsigned char* last = b4key_data(block, n - 1);
  bool ok = true;
  if (p == pn) {
    if (pn > 0) ok = tag->compare(leaf ? last : first, b4key_data(parent, pn - 1), key_len) >= 0;
  } else if (leaf) {
    ok = tag->compare(last, b4key_data(parent, p), key_len) == 0;
  } else if (p > 0) {
    ok = tag->compare(first, b4key_data(parent, p - 1), key_len) >= 0;
  } else {
    ok = tag->compare(first, b4key_data(parent, 0), key_len) <= 0;
  }
  if (!ok) {
    block->file_block = -1;
    return inconsistent(tag);
  }
  return 0;
}

// Descends from the current entry (or into the root): 0, 1 at a leaf,
// 2 an inconsistent block of a shared index, -1 an error.
int t4down(DbTag* tag) {
  DbBlock* parent = t4block(tag);
  long number;
  if (parent == nullptr) {
    number = root_block(tag);
    if (number < 0) return -1;
  } else {
    if (b4leaf(parent)) return 1;
    number = b4recno(parent, parent->key_on);
  }
  if (tag->blocks.count >= MAX_DEPTH) {
    int r = inconsistent(tag);
    return r == 1 ? 2 : -1;
  }
  tag->engine->blocks_walked++;
  DbBlock* spare = find_spare(tag, number);
  if (spare != nullptr) {
    held_remove(tag, spare);
    l4remove(&tag->spare_blocks, spare);
    l4add(&tag->blocks, spare);
    spare->key_on = 0;
    return 0;
  }
  DbBlock* block = nullptr;
  if (index_held(tag->index)) {
    if (make_held(tag) != 0) return -1;
    if (tag->spare_blocks.count >= HELD_BLOCKS) {
      block = (DbBlock*)l4first(&tag->spare_blocks);
      if (b4flush(block) != 0) return -1;
      held_remove(tag, block);
      l4remove(&tag->spare_blocks, block);
    }
  } else {
    // No spare may hold changes that the read below would miss.
    for (spare = (DbBlock*)l4first(&tag->spare_blocks); spare != nullptr;
         spare = (DbBlock*)l4next(&tag->spare_blocks, spare)) {
      if (b4flush(spare) != 0) return -1;
      held_remove(tag, spare);
      spare->file_block = -1;
    }
    block = (DbBlock*)l4pop(&tag->spare_blocks);
  }
  if (block == nullptr) block = new_buffer(tag);
  if (block == nullptr) return -1;
  l4add(&tag->blocks, block);
  int r = i4read_block(tag, number, parent, block);
  if (r != 0) {
    l4remove(&tag->blocks, block);
    l4add(&tag->spare_blocks, block);
    return r == 1 ? 2 : -1;
  }
  return 0;
}

int t4up_to_root(DbTag* tag) {
  t4up_all(tag);
  return t4down(tag);
}

// After an inconsistent block of a shared index: wait for the next second,
// re-read the header and start again. Bounded, and Esc gives up.
int t4retry_wait(DbTag* tag, int* retries) {
  DbIndex* index = tag->index;
  if (index_locked(index) || ++*retries > MAX_RETRIES || ScreenReadKey() == SCREEN_KEY_ESC) {
    e4show_error(index->engine, e4index_other, tag->name, index->file.name);
    return -1;
  }
  PlatDateTime now;
  PlatNow(&now);
  ScreenWaitMs(1000 - now.millisecond);
  file4refresh(&index->file);
  return i4version_check(index, 0) == 0 ? 0 : -1;
}

// Positions on the first or last key, from the root.
int walk_edge(DbTag* tag, bool first) {
  int r = t4up_to_root(tag);
  while (r == 0) {
    DbBlock* block = t4block(tag);
    int n = b4key_count(block);
    if (b4leaf(block)) {
      block->key_on = first || n == 0 ? 0 : n - 1;
      return 0;
    }
    block->key_on = first ? 0 : n;
    r = t4down(tag);
  }
  return r;
}

int edge(DbTag* tag, bool first) {
  if (tag->engine->error_code < 0) return -1;
  int retries = 0;
  for (;;) {
    int r = walk_edge(tag, first);
    if (r != 2) return r;
    if (t4retry_wait(tag, &retries) != 0) return -1;
  }
}

void put_entry(DbBlock* block, int i, long number, const void* key) {
  unsigned char* e = b4key(block, i);
  unsigned key_len = t4key_len(block->tag), group = t4group_len(block->tag);
  PutLe32(e, (uint32_t)number);
  std::memcpy(e + 4, key, key_len);
  std::memset(e + 4 + key_len, 0, group - 4 - key_len);
}

// Walks up from `child`: the first ancestor entry that carries a key (not a
// rightmost pointer) gets `key`, the new last key of its subtree.
void fix_parent_keys(DbTag* tag, DbBlock* child, const unsigned char* key) {
  for (DbBlock* a = (DbBlock*)l4prev(&tag->blocks, child); a != nullptr; a = (DbBlock*)l4prev(&tag->blocks, a)) {
    if (a->key_on < b4key_count(a)) {
      std::memcpy(b4key_data(a, a->key_on), key, t4key_len(tag));
      a->changed = 1;
      return;
    }
  }
}

int write_raw(DbIndex* index, long number, const unsigned char* data) {
  return file4write(&index->file, number * MDX_UNIT, data, bytes_of(index));
}

// Inserts at the current position of the top block, splitting full blocks
// upwards; a split root gets a new root above it.
int insert_entry(DbTag* tag, const void* key, long number) {
  DbIndex* index = tag->index;
  unsigned key_len = t4key_len(tag), group = t4group_len(tag), bytes = bytes_of(index);
  int kpb = (int)t4keys_per_block(tag);
  unsigned char pend_key[DB_KEY_MAX + 1];
  std::memcpy(pend_key, key, key_len);
  long pend = number;
  for (;;) {
    DbBlock* block = t4block(tag);
    if (b4key_count(block) < kpb) {
      b4insert(block, pend_key, pend);
      return 0;
    }
    bool leaf = b4leaf(block) != 0;
    int n = b4key_count(block), p = block->key_on;
    int have = leaf ? n : n + 1;        // entries with a number: keys, or children
    int total = have + 1;
    std::vector<unsigned char> all((size_t)total * group, 0);
    auto copy_in = [&](int to, int from) {
      unsigned size = (unsigned)(from == n ? 4 : group);   // the rightmost pointer has no key
      std::memcpy(&all[(size_t)to * group], b4key(block, from), size);
    };
    for (int i = 0; i < p; i++) copy_in(i, i);
    PutLe32(&all[(size_t)p * group], (uint32_t)pend);
    std::memcpy(&all[(size_t)p * group + 4], pend_key, key_len);
    for (int i = p; i < have; i++) copy_in(i + 1, i);
    int half = (n + 1) / 2;
    int lower = half + (p < half ? 1 : 0);

    long lower_number = i4extend(index);
    if (lower_number < 0) return -1;
    std::vector<unsigned char> low(bytes, 0);
    auto fill = [&](unsigned char* data, int from, int count, bool last_is_pointer) {
      for (int i = 0; i < count; i++) {
        unsigned size = last_is_pointer && i == count - 1 ? 4 : group;
        std::memcpy(data + MDX_B_ENTRIES + (unsigned)i * group, &all[(size_t)(from + i) * group], size);
      }
    };
    // A leaf's entry after its last key holds 0; a branch's last entry is its rightmost pointer.
    fill(low.data(), 0, lower, !leaf);
    PutLe16(low.data() + MDX_B_COUNT, (unsigned)(leaf ? lower : lower - 1));
    std::memcpy(pend_key, &all[(size_t)(lower - 1) * group + 4], key_len);
    std::memset(block->data, 0, bytes);
    fill(block->data, lower, total - lower, !leaf);
    set_count(block, leaf ? total - lower : total - lower - 1);
    block->changed = 1;
    if (write_raw(index, lower_number, low.data()) != 0 || b4flush(block) != 0) return -1;
    pend = lower_number;
    long upper_number = block->file_block;
    t4up(tag);
    if (t4block(tag) == nullptr) {
      long root = i4extend(index);
      if (root < 0) return -1;
      std::vector<unsigned char> data(bytes, 0);
      PutLe16(data.data() + MDX_B_COUNT, 1);
      PutLe32(data.data() + MDX_B_ENTRIES, (uint32_t)pend);
      std::memcpy(data.data() + MDX_B_ENTRIES + 4, pend_key, key_len);
      PutLe32(data.data() + MDX_B_ENTRIES + group, (uint32_t)upper_number);
      if (write_raw(index, root, data.data()) != 0) return -1;
      set_root(tag, root);
      return 0;
    }
  }
}

int collapse(DbTag* tag, DbBlock* branch);

// `block` is the empty top of the stack and not the root: free it and take
// its entry out of the parent.
int drop_block(DbTag* tag, DbBlock* block) {
  long number = block->file_block;
  drop_buffer(tag, block);
  if (i4shrink(tag->index, number) != 0) return -1;
  DbBlock* parent = t4block(tag);
  int p = parent->key_on, n = b4key_count(parent);
  if (n == 0) {
    if (tag->blocks.count > 1) return drop_block(tag, parent);
    std::memset(parent->data, 0, bytes_of(tag->index));
    parent->changed = 1;
    if (tag->filter != nullptr) tag->has_keys = 0;
    return 0;
  }
  unsigned char last[DB_KEY_MAX + 1];
  bool rightmost = p == n;
  if (rightmost) std::memcpy(last, b4key_data(parent, n - 1), t4key_len(tag));
  b4remove(parent);
  if (rightmost) fix_parent_keys(tag, parent, last);
  return b4key_count(parent) == 0 ? collapse(tag, parent) : 0;
}

// A branch left with one child: the child takes its place.
int collapse(DbTag* tag, DbBlock* branch) {
  long child = b4recno(branch, 0);
  long number = branch->file_block;
  DbBlock* above = (DbBlock*)l4prev(&tag->blocks, branch);
  drop_buffer(tag, branch);
  if (above == nullptr) {
    set_root(tag, child);
    if (t4update(tag) != 0) return -1;
  } else {
    PutLe32(b4key(above, above->key_on), (uint32_t)child);
    above->changed = 1;
  }
  return i4shrink(tag->index, number);
}

int remove_current(DbTag* tag) {
  t4changed(tag);
  DbBlock* leaf = t4block(tag);
  int p = leaf->key_on, n = b4key_count(leaf);
  b4remove(leaf);
  int result = 0;
  if (n - 1 > 0) {
    if (p == n - 1) fix_parent_keys(tag, leaf, b4key_data(leaf, n - 2));
  } else if (tag->blocks.count == 1) {
    if (tag->filter != nullptr) tag->has_keys = 0;
  } else {
    result = drop_block(tag, leaf);
  }
  t4up_all(tag);
  return result;
}

bool engine_blocked(DbTag* tag) { return tag->engine->error_code < 0; }

// The record of the last entry under child `c` of the top block, down its
// rightmost edge; the stack is left as it was. 0, 2 an inconsistent block, -1.
int last_record_under(DbTag* tag, int c, long* record) {
  const int depth = tag->blocks.count;
  t4block(tag)->key_on = c;
  int r = t4down(tag);
  while (r == 0) {
    DbBlock* block = t4block(tag);
    int n = b4key_count(block);
    if (b4leaf(block)) {
      *record = n > 0 ? b4recno(block, n - 1) : 0;
      break;
    }
    block->key_on = n;
    r = t4down(tag);
  }
  while (tag->blocks.count > depth) t4up(tag);
  return r;
}

// Positions on the first entry at or after (key, record), equal keys being in
// record order; past the last entry when there is none. Among children whose
// entries end with the key, the one to descend is found by binary search on
// the record of each one's last entry (an append's place, after them all, is
// tried first), so a long run of equal keys costs a few blocks a level, not a
// walk. 0, 2 an inconsistent block, -1.
int walk_to_entry(DbTag* tag, const char* key, long record) {
  const unsigned len = t4key_len(tag);
  const DbKeyCompare compare = tag->compare;
  int r = t4up_to_root(tag);
  while (r == 0) {
    DbBlock* block = t4block(tag);
    b4seek(block, key, len);
    const int lo = block->key_on;
    int a = lo, b = b4key_count(block);
    while (a < b) {
      int mid = (a + b) / 2;
      if (compare(b4key_data(block, mid), key, len) <= 0)
        a = mid + 1;
      else
        b = mid;
    }
    const int end = a;   // [lo, end): the entries holding the key
    a = lo;
    b = end;
    if (b4leaf(block)) {
      while (a < b) {
        int mid = (a + b) / 2;
        if (b4recno(block, mid) < record)
          a = mid + 1;
        else
          b = mid;
      }
      block->key_on = a;
      return 0;
    }
    long last = 0;
    if (a < b) {
      if ((r = last_record_under(tag, b - 1, &last)) != 0) return r;
      if (last < record)
        a = b;
      else
        b--;
    }
    while (a < b) {
      int mid = (a + b) / 2;
      if ((r = last_record_under(tag, mid, &last)) != 0) return r;
      if (last < record)
        a = mid + 1;
      else
        b = mid;
    }
    block->key_on = a;
    r = t4down(tag);
  }
  return r;
}

int seek_entry(DbTag* tag, const void* key, long record) {
  tag->engine->operation_mix |= DB_MIX_TAG_SEEK;
  int retries = 0;
  for (;;) {
    int r = walk_to_entry(tag, (const char*)key, record);
    if (r != 2) return r;
    if (t4retry_wait(tag, &retries) != 0) return -1;
  }
}

}  // namespace

// ---- blocks

int b4key_count(const DbBlock* block) { return (int)GetLe16(block->data + MDX_B_COUNT); }
unsigned char* b4key(const DbBlock* block, int i) { return block->data + offset_of(block, i); }
unsigned char* b4key_data(const DbBlock* block, int i) { return b4key(block, i) + 4; }
long b4recno(const DbBlock* block, int i) { return (long)GetLe32(b4key(block, i)); }
int b4leaf(const DbBlock* block) { return b4recno(block, b4key_count(block)) == 0; }
int b4lastpos(const DbBlock* block) { return b4leaf(block) ? b4key_count(block) - 1 : b4key_count(block); }
void b4go_eof(DbBlock* block) { block->key_on = b4key_count(block); }

int b4seek(DbBlock* block, const char* key, unsigned length) {
  DbKeyCompare compare = block->tag->compare;
  int lo = 0, hi = b4key_count(block);
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (compare(b4key_data(block, mid), key, length) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  block->key_on = lo;
  return lo < b4key_count(block) && compare(b4key_data(block, lo), key, length) == 0 ? 0 : 2;
}

int b4skip(DbBlock* block, long n) {
  if (n > 0) {
    long room = b4lastpos(block) - block->key_on;
    if (room < 0) room = 0;
    long moved = n < room ? n : room;
    block->key_on += (int)moved;
    return (int)moved;
  }
  long room = block->key_on;
  long moved = -n < room ? -n : room;
  block->key_on -= (int)moved;
  return -(int)moved;
}

// Shifts the entries from the position up by one group: whole groups, and of
// the last entry only its 4-byte number, which is all a full block has room for.
void b4insert(DbBlock* block, const void* key, long number) {
  int n = b4key_count(block);
  if (block->key_on < 0 || block->key_on > n || n >= (int)t4keys_per_block(block->tag)) e4fatal_stop(e4info, "b4insert()");
  unsigned start = offset_of(block, block->key_on), end = offset_of(block, n) + 4;
  std::memmove(block->data + start + t4group_len(block->tag), block->data + start, end - start);
  put_entry(block, block->key_on, number, key);
  set_count(block, n + 1);
  block->changed = 1;
}

void b4remove(DbBlock* block) {
  int n = b4key_count(block);
  if (block->key_on < 0 || block->key_on > b4lastpos(block) || n == 0) e4fatal_stop(e4info, "b4remove()");
  if (block->key_on < n) {
    unsigned start = offset_of(block, block->key_on), from = offset_of(block, block->key_on + 1);
    unsigned end = offset_of(block, n) + 4;
    std::memmove(block->data + start, block->data + from, end - from);
  }
  // The entry after the new last key keeps only its number.
  unsigned clear_from = offset_of(block, n - 1) + 4, clear_to = offset_of(block, n) + 4;
  std::memset(block->data + clear_from, 0, clear_to - clear_from);
  set_count(block, n - 1);
  block->changed = 1;
}

int b4flush(DbBlock* block) {
  if (!block->changed || block->file_block < 0) return 0;
  if (write_raw(block->tag->index, block->file_block, block->data) != 0) return -1;
  block->changed = 0;
  return 0;
}

// ---- tags

DbBlock* t4block(DbTag* tag) { return (DbBlock*)l4last(&tag->blocks); }

int t4top(DbTag* tag) { return edge(tag, true); }
int t4bottom(DbTag* tag) { return edge(tag, false); }

int t4eof(DbTag* tag) {
  DbBlock* block = t4block(tag);
  return block == nullptr || block->key_on >= b4key_count(block);
}

long t4recno(DbTag* tag) {
  DbBlock* block = t4block(tag);
  if (block == nullptr || !b4leaf(block) || block->key_on >= b4key_count(block)) return -2;
  return b4recno(block, block->key_on);
}

unsigned char* t4key(DbTag* tag) {
  DbBlock* block = t4block(tag);
  if (block == nullptr || !b4leaf(block) || block->key_on >= b4key_count(block)) return nullptr;
  return b4key_data(block, block->key_on);
}

int t4go_past_end(DbTag* tag) {
  if (t4bottom(tag) < 0) return -1;
  b4go_eof(t4block(tag));
  return 0;
}

int t4seek(DbTag* tag, const void* key, int length) {
  if (engine_blocked(tag)) return -1;
  DbEngine* engine = tag->engine;
  engine->operation_mix |= DB_MIX_TAG_SEEK;
  unsigned key_len = t4key_len(tag);
  if (t4type(tag) != 'C' && (unsigned)length != key_len) e4fatal_stop(e4parm, "t4seek()");
  unsigned len = length < 0 || (unsigned)length > key_len ? key_len : (unsigned)length;
  int retries = 0;
  for (;;) {
    int r = t4up_to_root(tag);
    while (r == 0) {
      DbBlock* block = t4block(tag);
      int found = b4seek(block, (const char*)key, len);
      if (b4leaf(block)) return found;
      r = t4down(tag);
    }
    if (r != 2) return -1;
    if (t4retry_wait(tag, &retries) != 0) return -1;
  }
}

long t4skip(DbTag* tag, long n) {
  if (engine_blocked(tag)) return 0;
  DbEngine* engine = tag->engine;
  engine->operation_mix |= DB_MIX_TAG_SKIP;
  if (t4block(tag) == nullptr && t4top(tag) < 0) return 0;
  if (!b4leaf(t4block(tag))) e4fatal_stop(e4info, "t4skip()");
  unsigned key_len = t4key_len(tag);
  unsigned char saved[DB_KEY_MAX + 1];
  long moved = 0;
  int retries = 0;
  while (moved != n) {
    long start_moved = moved;
    DbBlock* leaf = t4block(tag);
    bool saved_eof = leaf->key_on >= b4key_count(leaf);
    long saved_record = saved_eof ? 0 : b4recno(leaf, leaf->key_on);
    if (!saved_eof) std::memcpy(saved, b4key_data(leaf, leaf->key_on), key_len);
    long left = n - moved;
    moved += b4skip(leaf, left);
    if (moved == n) break;
    int dir = left > 0 ? 1 : -1;
    for (;;) {
      t4up(tag);
      DbBlock* parent = t4block(tag);
      if (parent == nullptr) {
        // Past an end: stand on the key at that end.
        edge(tag, dir < 0);
        return moved;
      }
      if (dir > 0 ? parent->key_on < b4lastpos(parent) : parent->key_on > 0) {
        parent->key_on += dir;
        break;
      }
    }
    moved += dir;
    int r;
    for (;;) {
      r = t4down(tag);
      if (r != 0) break;
      DbBlock* child = t4block(tag);
      int count = b4key_count(child);
      if (b4leaf(child)) {
        child->key_on = dir > 0 || count == 0 ? 0 : count - 1;
        break;
      }
      child->key_on = dir > 0 ? 0 : count;
    }
    if (r == 0) continue;
    if (r != 2) return moved - dir;
    // The tree changed under the walk: find the remembered key again.
    moved = start_moved;
    if (t4retry_wait(tag, &retries) != 0) return moved;
    int found = saved_eof ? t4go_past_end(tag) : t4go(tag, saved, saved_record);
    if (found < 0) return moved;
    if (found != 0 && dir > 0) moved++;
  }
  return moved;
}

int t4go(DbTag* tag, const void* key, long record) {
  unsigned key_len = t4key_len(tag);
  int r = t4seek(tag, key, (int)key_len);
  if (r < 0) return -1;
  if (r != 0) return 2;
  if (t4recno(tag) == record) return 0;
  if (seek_entry(tag, key, record) != 0) return -1;
  unsigned char* at = t4key(tag);
  if (at != nullptr && tag->compare(at, key, key_len) == 0 && t4recno(tag) == record) return 0;
  // Not among the equal keys: stand after them, where a walk through them ends.
  return seek_entry(tag, key, LONG_MAX) != 0 ? -1 : 1;
}

int t4expr_key(DbTag* tag, char** key) { return expr4key(tag->expr, key); }

int t4filter_true(DbTag* tag) { return tag->filter == nullptr ? 1 : expr4true(tag->filter); }

int t4add(DbTag* tag, const void* key, long record) {
  if (engine_blocked(tag)) return -1;
  bool placed = false;
  if (t4unique(tag)) {
    int r = t4seek(tag, key, (int)t4key_len(tag));
    if (r < 0) return -1;
    if (r == 0) {
      switch (tag->unique_code) {
        case e4unique: return e4show_error(tag->engine, e4unique, tag->index->file.name);
        case r4unique: return r4unique;
        case r4unique_continue: return r4unique_continue;
        default: break;
      }
    }
    placed = r != 0;   // no equal key: the seek stands at the place
  }
  // Equal keys stay in record order, as a rebuild leaves them: after every
  // entry of a lower or the same record.
  if (!placed && seek_entry(tag, key, record + 1) != 0) return -1;
  if (tag->filter != nullptr && !tag->has_keys) tag->has_keys = 1;
  t4changed(tag);
  return insert_entry(tag, key, record);
}

int t4add_calc(DbTag* tag, long record) {
  int passes = t4filter_true(tag);
  if (passes <= 0) return passes;
  char* key = nullptr;
  int length = t4expr_key(tag, &key);
  if (length < 0) return -1;
  if (length != (int)t4key_len(tag)) e4fatal_stop(e4result, "t4add_calc()");
  unsigned char copy[DB_KEY_MAX + 1];
  std::memcpy(copy, key, (size_t)length);
  return t4add(tag, copy, record);
}

int t4remove(DbTag* tag, const void* key, long record) {
  if (engine_blocked(tag)) return -1;
  int r = t4go(tag, key, record);
  if (r < 0) return -1;
  if (r != 0) return r4entry;
  return remove_current(tag);
}

int t4remove_calc(DbTag* tag, long record) {
  char* key = nullptr;
  int length = t4expr_key(tag, &key);
  if (length < 0) return -1;
  if (length != (int)t4key_len(tag)) e4fatal_stop(e4result, "t4remove_calc()");
  unsigned char copy[DB_KEY_MAX + 1];
  std::memcpy(copy, key, (size_t)length);
  return t4remove(tag, copy, record);
}

int t4update(DbTag* tag) {
  int result = 0;
  for (DbBlock* b = (DbBlock*)l4first(&tag->blocks); b != nullptr; b = (DbBlock*)l4next(&tag->blocks, b))
    if (b4flush(b) != 0) result = -1;
  for (DbBlock* b = (DbBlock*)l4first(&tag->spare_blocks); b != nullptr; b = (DbBlock*)l4next(&tag->spare_blocks, b))
    if (b4flush(b) != 0) result = -1;
  if (result == 0 && tag->root_changed) {
    if (file4write(&tag->index->file, tag->header_pos + MDX_T_ROOT, tag->header + MDX_T_ROOT, 4) != 0) return -1;
    tag->root_changed = 0;
  }
  return result;
}

int t4free_all(DbTag* tag) {
  t4up_all(tag);
  return t4release_spares(tag);
}

int t4release_spares(DbTag* tag) {
  int result = t4update(tag);
  for (DbBlock* b = (DbBlock*)l4pop(&tag->spare_blocks); b != nullptr; b = (DbBlock*)l4pop(&tag->spare_blocks)) {
    held_remove(tag, b);
    mem4free(tag->index->block_pool, b);
  }
  return result;
}
