// The block cache: sizing at start, reads and writes through it against a
// model of the file, write-behind, read-through after a lock, the reuse order
// and the fatal stop's abandon.
#include <random>
#include <string>

#include "db/block_cache.h"
#include "db/db_file.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "tests/db/db_test_support.h"

namespace {

class BlockCacheTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    d4opt_suspend(engine);
  }
  void TearDown() override {
    for (DbFile& f : files)
      if (f.handle != PLAT_NO_FILE) file4close(&f);
    DbTest::TearDown();
  }
  // The main program's sizes: six buffers of two 1024-byte blocks.
  void StartSmall() {
    engine->block_size = 1024;
    engine->cache_buffer_size = 4096;
    engine->cache_memory = 16384;
    ASSERT_EQ(d4opt_start(engine), 0);
  }
  DbFile* Make(const char* name, bool exclusive, int list) {
    DbFile* file = &files[used++];
    engine->exclusive = exclusive;
    int created = file4create(file, engine, name, 1);
    engine->exclusive = 0;
    if (created != 0 || file4optimize(file, 1, list) != 0) return nullptr;
    return file;
  }
  std::string Read(DbFile* file, long pos, unsigned length) {
    std::string out(length, '\0');
    out.resize(file4read(file, pos, out.data(), length));
    return out;
  }
  DbFile files[4] = {};
  int used = 0;
};

struct Sizing {
  int block, buffer, memory;
  int result, buffers, buffer_size, hash_size;
};

class CacheSizingTest : public BlockCacheTest, public ::testing::WithParamInterface<Sizing> {};

TEST_P(CacheSizingTest, StartSizesTheCache) {
  const Sizing& s = GetParam();
  engine->block_size = s.block;
  engine->cache_buffer_size = s.buffer;
  engine->cache_memory = s.memory;
  EXPECT_EQ(d4opt_start(engine), s.result);
  EXPECT_EQ(engine->cache.started, s.result == 0 ? 1 : 0);
  EXPECT_EQ(engine->cache.buffers, s.buffers);
  if (s.result != 0) return;
  EXPECT_EQ(engine->cache.buffer_size, s.buffer_size);
  EXPECT_EQ(engine->cache.total_blocks, s.buffers * s.buffer_size / s.block);
  EXPECT_EQ(engine->cache.hash_size, s.hash_size);
  EXPECT_EQ(engine->cache.hash_mask, (unsigned)s.hash_size - 1);
  EXPECT_EQ(engine->cache.free_list.count, engine->cache.total_blocks);
  EXPECT_EQ(engine->operation_mix, DB_MIX_STARTED);
  EXPECT_TRUE(screen.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CacheSizingTest,
    ::testing::Values(
        // The main program's settings shrink the buffer to 2048: 6 buffers, 12 blocks.
        Sizing{1024, 4096, 16384, 0, 6, 2048, 16},
        // The defaults: 18 buffers of 16 blocks.
        Sizing{1024, 16384, 0x50000, 0, 18, 16384, 512},
        // Memory below two buffers shrinks the buffer block by block down to one block.
        Sizing{1024, 8192, 8192, 0, 6, 1024, 8},
        // Exactly a power of two of blocks: the hash has that many lists.
        Sizing{1024, 2048, 20480, 0, 8, 2048, 16},
        // Not even four one-block buffers fit: the cache stays off, quietly.
        Sizing{1024, 1024, 4096, -1, 0, 0, 0}));

TEST(CacheHashSize, SmallestPowerOfTwoNotBelow) {
  const int cases[][2] = {{1, 1}, {2, 2}, {3, 4}, {12, 16}, {16, 16}, {17, 32}, {288, 512}};
  for (const auto& c : cases) EXPECT_EQ(opt4hash_size(c[0]), c[1]) << c[0];
}

TEST_F(BlockCacheTest, BufferBelowBlockSizeRefusesToStart) {
  engine->block_size = 1024;
  engine->cache_buffer_size = 512;
  EXPECT_EQ(d4opt_start(engine), -1);
  EXPECT_EQ(engine->cache.started, 0);
  EXPECT_TRUE(CriticalShown("!312!"));
  EXPECT_EQ(engine->error_code, e4parm);
}

// Random reads and writes through a cache far smaller than the file, checked
// against a model: eviction of changed blocks, the write-behind buffer,
// read-ahead runs and files that grow with gaps.
struct ModelCase {
  bool exclusive;       // write-behind
  bool read_ahead;
};

class CacheModelTest : public BlockCacheTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(CacheModelTest, ReadsAndWritesMatchAModelOfTheFile) {
  StartSmall();
  DbFile* file = Make("MODEL.DAT", GetParam().exclusive, DB_CACHE_DATA);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->write_behind_active, GetParam().exclusive ? 1 : 0);
  std::mt19937 random(4242);
  std::string model;
  for (int step = 0; step < 3000; step++) {
    // Record-order skips keep read-ahead on for data files.
    if (GetParam().read_ahead) engine->operation_mix |= DB_MIX_SKIP;
    long pos = (long)(random() % 24000);
    unsigned length = 1 + (unsigned)(random() % 2600);
    if (random() % 2 == 0) {
      std::string bytes(length, '\0');
      for (char& c : bytes) c = (char)('a' + random() % 26);
      ASSERT_EQ(file4write(file, pos, bytes.data(), length), 0);
      if (model.size() < (size_t)pos + length) model.resize((size_t)pos + length, '\0');
      model.replace((size_t)pos, length, bytes);
    } else {
      std::string expected = pos < (long)model.size() ? model.substr((size_t)pos, length) : "";
      ASSERT_EQ(Read(file, pos, length), expected) << "step " << step << " at " << pos;
    }
    if (!GetParam().exclusive && step % 250 == 0) {
      ASSERT_EQ(ReadFile(Path("MODEL.DAT")), model) << step;
    }
    ASSERT_EQ(file4len(file), (long)model.size());
  }
  if (GetParam().read_ahead) {
    EXPECT_EQ(engine->cache.read_ahead_mode, 1);
  }
  // After the cache stops everything is on disk, and the file is read directly.
  d4opt_suspend(engine);
  EXPECT_EQ(file->cached, 0);
  EXPECT_EQ(ReadFile(Path("MODEL.DAT")), model);
  EXPECT_EQ(Read(file, 100, 50), model.substr(100, 50));
  EXPECT_EQ(engine->error_code, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, CacheModelTest,
                         ::testing::Values(ModelCase{true, false}, ModelCase{true, true}, ModelCase{false, false},
                                           ModelCase{false, true}));

TEST_F(BlockCacheTest, WriteBehindKeepsChangesUntilFlushedAndCutsDropThem) {
  StartSmall();
  DbFile* file = Make("WB.DAT", true, DB_CACHE_OTHER);
  ASSERT_NE(file, nullptr);
  std::string data(5000, 'x');
  ASSERT_EQ(file4write(file, 0, data.data(), 5000), 0);
  EXPECT_EQ(ReadFile(Path("WB.DAT")), "") << "nothing written before the flush";
  EXPECT_EQ(file4len(file), 5000);
  ASSERT_EQ(file4flush(file), 0);
  EXPECT_EQ(ReadFile(Path("WB.DAT")), data);
  // A cut drops the cached bytes beyond it; growing again reads zeros there.
  ASSERT_EQ(file4write(file, 1000, "yyyy", 4), 0);
  ASSERT_EQ(file4len_set(file, 1500), 0);
  ASSERT_EQ(file4len_set(file, 3000), 0);
  std::string expected = data.substr(0, 1500).replace(1000, 4, "yyyy") + std::string(1500, '\0');
  EXPECT_EQ(Read(file, 0, 4000), expected);
  d4opt_suspend(engine);
  EXPECT_EQ(ReadFile(Path("WB.DAT")), expected);
}

// A shared file is written through at once, except under a lock with
// write-behind allowed; the unlock writes what was held back.
TEST_F(BlockCacheTest, UnlockWritesWhatTheLockHeldBack) {
  StartSmall();
  engine->cache_write_behind = 1;
  DbFile* file = Make("LK.DAT", false, DB_CACHE_DATA);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->write_behind_active, 0);
  ASSERT_EQ(file4write(file, 0, "direct", 6), 0);
  EXPECT_EQ(ReadFile(Path("LK.DAT")), "direct");
  ASSERT_EQ(file4lock(file, 100, 1), 0);
  EXPECT_EQ(file->write_behind_active, 1);
  ASSERT_EQ(file4write(file, 0, "locked", 6), 0);
  EXPECT_EQ(ReadFile(Path("LK.DAT")), "direct");
  ASSERT_EQ(file4unlock(file, 100, 1), 0);
  EXPECT_EQ(file->write_behind_active, 0);
  EXPECT_EQ(ReadFile(Path("LK.DAT")), "locked");
}

// Another workstation's change is seen once the record is locked.
TEST_F(BlockCacheTest, LockedRecordIsReadAgainFromDisk) {
  StartSmall();
  engine->cache_files = 1;
  DbTable* one = MakeTable("SHARED", {{"NAME", 'C', 8, 0}}, 3);
  ASSERT_NE(one, nullptr);
  ASSERT_EQ(one->file.cached, 1);
  ASSERT_EQ(d4go(one, 2), 0);
  EXPECT_EQ(FieldText(one, 1), "R2      ");
  DbTable* two = d4open(engine, "SHARED.DBF");
  ASSERT_NE(two, nullptr);
  d4alias_set(two, (char*)std::string("TWO").data());
  ASSERT_EQ(d4go(two, 2), 0);
  f4assign(d4field_j(two, 1), "CHANGED");
  ASSERT_EQ(d4flush(two), 0);
  ASSERT_EQ(d4unlock(two), 0);
  ASSERT_EQ(d4lock(one, 2), 0);
  ASSERT_EQ(d4go(one, 2), 0);
  EXPECT_EQ(FieldText(one, 1), "CHANGED ");
  d4close(two);
  d4close(one);
}

// A reader that does not lock sees, from the next view on (the keyboard
// starts one at every key), what another workstation saved meanwhile: a
// changed record and records appended under the tag; within one view each
// block is read again once only.
TEST_F(BlockCacheTest, UnlockedReaderSeesOtherWorkInTheNextView) {
  StartSmall();
  engine->cache_files = 1;
  DbfFieldDef fields[] = {{"NAME", 'C', 8, 0}, {nullptr, 0, 0, 0}};
  DbfTagDef tags[] = {{"NAME", "NAME", nullptr, 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
  DbTable* one = d4create(engine, "SEEN", fields, tags);
  ASSERT_NE(one, nullptr);
  auto append = [](DbTable* table, std::initializer_list<const char*> names) {
    for (const char* name : names) {
      d4append_start(table, 0);
      d4blank(table);
      f4assign(d4field_j(table, 1), name);
      ASSERT_EQ(d4append(table), 0);
    }
  };
  append(one, {"K2", "K4", "K6"});
  ASSERT_EQ(d4unlock(one), 0);
  d4tag_select(one, d4tag(one, "NAME"));
  auto walk = [&]() {
    std::string seen;
    for (int r = d4top(one); r == 0; r = d4skip(one, 1)) seen += FieldText(one, 1).substr(0, 2) + " ";
    return seen;
  };
  ASSERT_EQ(walk(), "K2 K4 K6 ");
  ASSERT_EQ(d4go(one, 2), 0);

  DbTable* two = d4open(engine, "SEEN.DBF");
  ASSERT_NE(two, nullptr);
  d4alias_set(two, (char*)std::string("TWO").data());
  ASSERT_EQ(d4go(two, 2), 0);
  f4assign(d4field_j(two, 1), "K9");
  append(two, {"K1", "K3", "K5"});
  ASSERT_EQ(d4flush(two), 0);
  ASSERT_EQ(d4unlock(two), 0);

  opt4new_view(engine);
  d4tag_select(one, nullptr);
  ASSERT_EQ(d4go(one, 2), 0);
  EXPECT_EQ(FieldText(one, 1), "K9      ");
  d4tag_select(one, d4tag(one, "NAME"));
  EXPECT_EQ(walk(), "K1 K2 K3 K5 K6 K9 ");
  unsigned long reads = engine->cache.disk_reads;
  EXPECT_EQ(walk(), "K1 K2 K3 K5 K6 K9 ");
  // Only the record count, which the end of the walk always asks of the disk.
  EXPECT_EQ(engine->cache.disk_reads, reads + 1);
  d4close(two);
  d4close(one);
}

// A scan in record order reads the table through its own buffer, a few
// large reads for the whole table; it never hides what it must show: another
// workstation's saved work from the next view on, or at once under a lock
// taken, and the scanner's own writes at once.
TEST_F(BlockCacheTest, AScanBufferNeverHidesAChangeItMustShow) {
  StartSmall();
  engine->cache_files = 1;
  DbTable* one = MakeTable("SCAN.DBF", {{"NAME", 'C', 8, 0}, {"TEXT", 'C', 91, 0}}, 400);
  ASSERT_NE(one, nullptr);
  ASSERT_EQ(one->file.cached, 1);
  auto scan = [](DbTable* t) {
    std::vector<std::string> names;
    for (int r = d4top(t); r == 0; r = d4skip(t, 1)) names.push_back(FieldText(t, 1));
    return names;
  };
  ASSERT_EQ(scan(one).size(), 400u);
  unsigned long reads = engine->cache.disk_reads;
  std::vector<std::string> names = scan(one);
  ASSERT_EQ(names.size(), 400u);
  EXPECT_EQ(names[399], "R400    ");
  // 40 KB in one 64 KiB read, besides the first record's block and the counts
  // (block by block it took twenty reads ahead).
  EXPECT_LE(engine->cache.disk_reads - reads, 6u);

  DbTable* two = d4open(engine, "SCAN.DBF");
  ASSERT_NE(two, nullptr);
  d4alias_set(two, (char*)std::string("TWO").data());
  auto save = [&](long n, const char* name) {
    if (n == 0) {
      d4append_start(two, 0);
      d4blank(two);
      f4assign(d4field_j(two, 1), name);
      ASSERT_EQ(d4append(two), 0);
    } else {
      ASSERT_EQ(d4go(two, n), 0);
      f4assign(d4field_j(two, 1), name);
    }
    ASSERT_EQ(d4flush(two), 0);
    ASSERT_EQ(d4unlock(two), 0);
  };
  // Each check skips from record 2, where the scan has filled its buffer.
  auto skip_to = [&](long n) {
    EXPECT_EQ(d4top(one), 0);
    EXPECT_EQ(d4skip(one, 1), 0);
    return [=]() {
      EXPECT_EQ(d4skip(one, n - 2), 0);
      return FieldText(one, 1);
    };
  };
  auto at_200 = skip_to(200);
  save(200, "CHANGED");
  save(0, "NEW");
  opt4new_view(engine);
  EXPECT_EQ(at_200(), "CHANGED ") << "in the next view";
  names = scan(one);
  ASSERT_EQ(names.size(), 401u);
  EXPECT_EQ(names[400], "NEW     ");

  auto at_300 = skip_to(300);
  save(300, "AGAIN");
  ASSERT_EQ(d4lock_file(one), 0);
  EXPECT_EQ(at_300(), "AGAIN   ") << "under the whole-table lock";
  ASSERT_EQ(d4unlock(one), 0);

  save(250, "LOCKED");
  ASSERT_EQ(d4lock(one, 250), 0);
  ASSERT_EQ(d4go(one, 250), 0);
  EXPECT_EQ(FieldText(one, 1), "LOCKED  ") << "a record locked here";
  ASSERT_EQ(d4unlock(one), 0);

  auto at_100 = skip_to(100);
  ASSERT_EQ(d4go(one, 100), 0);
  f4assign(d4field_j(one, 1), "MINE");
  ASSERT_EQ(d4go(one, 2), 0);
  EXPECT_EQ(at_100(), "MINE    ") << "the scanner's own write";
  d4close(two);
  d4close(one);
}

// Reads that run round a file larger than the cache find part of it
// cached on every round after the first (plain recency gave up each block
// just before its turn came again); a file that fits is read once.
TEST_F(BlockCacheTest, RoundsOverAFileLargerThanTheCacheKeepPartOfIt) {
  StartSmall();
  for (long blocks : {10L, 36L}) {
    SCOPED_TRACE(std::to_string(blocks) + " blocks");
    DbFile* file = Make(blocks == 10 ? "FITS.DAT" : "LARGE.DAT", false, DB_CACHE_DATA);
    ASSERT_NE(file, nullptr);
    std::string bytes(1024 * blocks, 'x');
    ASSERT_EQ(file4write(file, 0, bytes.data(), (unsigned)bytes.size()), 0);
    ASSERT_EQ(opt4flush_lst(file, 1), 0);
    auto round = [&]() {
      unsigned long reads = engine->cache.disk_reads;
      for (long b = 0; b < blocks; b++) {
        engine->operation_mix = DB_MIX_GO;
        EXPECT_EQ(Read(file, b * 1024 + 7, 1), "x");
      }
      return engine->cache.disk_reads - reads;
    };
    EXPECT_EQ(round(), (unsigned long)blocks);
    unsigned long later = round() + round();
    if (blocks == 10)
      EXPECT_EQ(later, 0u);
    else
      EXPECT_LE(later, 2 * 36u - 16) << "of the cache's 12 blocks most stay cached";
    ASSERT_EQ(opt4file_leave(file), 0);
  }
}

// The reuse order follows the mix of operations: seeks keep index blocks,
// appends keep data blocks.
struct ReuseCase {
  int mix;
  bool index_kept;
};

class CacheReuseTest : public BlockCacheTest, public ::testing::WithParamInterface<ReuseCase> {};

TEST_P(CacheReuseTest, TheListAskedFirstGivesUpItsBlocks) {
  StartSmall();
  DbFile* data = Make("D.DAT", true, DB_CACHE_DATA);
  DbFile* index = Make("I.DAT", true, DB_CACHE_INDEX);
  ASSERT_NE(data, nullptr);
  ASSERT_NE(index, nullptr);
  std::string bytes(40 * 1024, 'd');
  ASSERT_EQ(file4write(index, 0, bytes.data(), 6 * 1024), 0);
  for (long pos = 0; pos < 40 * 1024; pos += 1024) {
    engine->operation_mix = GetParam().mix;
    ASSERT_EQ(file4write(data, pos, bytes.data(), 1024), 0);
  }
  for (long pos = 0; pos < 40 * 1024; pos += 1024) {
    engine->operation_mix = GetParam().mix;
    ASSERT_EQ(Read(data, pos, 1024), bytes.substr(0, 1024));
  }
  DbCacheState& c = engine->cache;
  if (GetParam().index_kept) {
    EXPECT_EQ(c.index_list.count, 6);
  } else {
    EXPECT_LE(c.index_list.count, c.blocks_per_buffer);
  }
  EXPECT_EQ(Read(index, 0, 6 * 1024), bytes.substr(0, 6 * 1024));
}

INSTANTIATE_TEST_SUITE_P(Mixes, CacheReuseTest,
                         ::testing::Values(ReuseCase{DB_MIX_TAG_SEEK, true}, ReuseCase{DB_MIX_APPEND, false},
                                           ReuseCase{DB_MIX_REINDEX, true}, ReuseCase{DB_MIX_SKIP, false}));

// Appends to an exclusive table are held back by the cache and must still
// number the records one after another.
TEST_F(BlockCacheTest, AppendsToAnExclusiveTableKeepTheirCount) {
  StartSmall();
  const DbfFieldDef fields[] = {{"ID", 'N', 10, 0}, {nullptr, 0, 0, 0}};
  const DbfTagDef tags[] = {{"ID", "ID", nullptr, 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
  engine->exclusive = 1;
  DbTable* t = d4create(engine, "EXC", fields, tags);
  engine->exclusive = 0;
  ASSERT_NE(t, nullptr);
  for (int i = 1; i <= 300; i++) {
    ASSERT_EQ(d4append_start(t, 0), 0);
    d4blank(t);
    f4assign_long(d4field(t, "ID"), i);
    ASSERT_EQ(d4append(t), 0);
    ASSERT_EQ(d4recno(t), i);
  }
  ASSERT_EQ(d4close(t), 0);
  t = d4open(engine, "EXC");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(d4reccount(t), 300);
  d4tag_select(t, d4tag(t, "ID"));
  ASSERT_EQ(d4seek_double(t, 150), 0);
  EXPECT_EQ(d4recno(t), 150);
  d4close(t);
}

TEST_F(BlockCacheTest, FatalStopAbandonsChangedBlocks) {
  StartSmall();
  DbFile* file = Make("AB.DAT", true, DB_CACHE_DATA);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file4write(file, 0, "pending", 7), 0);
  db_engine_abandon();
  EXPECT_EQ(engine->cache.started, 0);
  EXPECT_EQ(file->cache_list, 0);
  file4close(file);
  EXPECT_EQ(ReadFile(Path("AB.DAT")), "");
}

}  // namespace
