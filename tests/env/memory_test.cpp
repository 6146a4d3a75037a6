#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "env/memory.h"
#include "tests/env/environment_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
// A block whose release ends in a fatal stop stays lost, as in the program,
// which ends there; the leak checker is told not to count it.
struct LostByFatalStop {
  LostByFatalStop() { __lsan_disable(); }
  ~LostByFatalStop() { __lsan_enable(); }
};
// The tests damage guards on purpose; the sanitizer would report that write
// itself, so the byte is made usable first.
unsigned char& Writable(unsigned char* at) {
  __asan_unpoison_memory_region(at, 1);
  return *at;
}
#else
struct LostByFatalStop {
  LostByFatalStop() {}
};
unsigned char& Writable(unsigned char* at) { return *at; }
#endif

namespace {

class MemoryTest : public EnvironmentTest {
 protected:
  void SetUp() override {
    EnvironmentTest::SetUp();
    env = Create();
  }
  // Runs the call and returns the text of the fatal stop it must end in.
  template <class Call>
  std::string FatalText(Call call) {
    try {
      call();
    } catch (const FatalStopCaught& stop) {
      EXPECT_EQ(stop.exitCode, 1);
      return stop.text;
    }
    ADD_FAILURE() << "no fatal stop";
    return "";
  }
  Environment* env = nullptr;
};

bool Aligned(const void* p) { return reinterpret_cast<uintptr_t>(p) % MEM_DATA_ALIGN == 0; }

TEST_F(MemoryTest, BlocksAreZeroFilledAlignedAndRegistered) {
  int before = u4registered_count();
  for (size_t n : {1, 3, 10, 13, 16, 17, 100, 248, 1000}) {
    auto* data = static_cast<unsigned char*>(take_mem(n));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(Aligned(data)) << n;
    for (size_t i = 0; i < n; ++i) ASSERT_EQ(data[i], 0) << n;
    std::memset(data, 0xAB, n);   // the whole data may be written
    EXPECT_EQ(u4registered_count(), before + 1);
    free_mem(&data);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(u4registered_count(), before);
  }
  void* none = nullptr;
  free_mem(&none);   // a NULL variable is left alone
  u4free(nullptr);
}

TEST_F(MemoryTest, GuardViolationsStopTheProgram) {
  struct Case {
    const char* what;
    long offset;   // from the data's start; n means one byte past
    const char* context;
  };
  const size_t n = 20;
  for (const Case& c : {Case{"one byte past", static_cast<long>(n), "!473!"},
                        Case{"last back guard byte", static_cast<long>(n) + 9, "!473!"},
                        Case{"size word", -1, "!473!"},
                        Case{"front guard", -5, "!473!"},
                        Case{"header padding", -16, "!473!"}}) {
    unsigned char* data;
    {
      LostByFatalStop lost;
      data = static_cast<unsigned char*>(u4alloc(n));
    }
    Writable(data + c.offset) ^= 0xFF;
    std::string text = FatalText([&] { u4free(data); });
    EXPECT_NE(text.find(c.context), std::string::npos) << c.what << ": " << text;
  }
}

TEST_F(MemoryTest, ReleasesThatWereNeverHandedOutStop) {
  void* data = u4alloc(8);
  u4free(data);
  EXPECT_NE(FatalText([&] { u4free(data); }).find("!455!"), std::string::npos);
  alignas(16) unsigned char local[64] = {};
  EXPECT_NE(FatalText([&] { u4free(local + 16); }).find("!455!"), std::string::npos);
}

TEST_F(MemoryTest, ZeroSizeIsAParameterError) {
  std::string text = FatalText([] { take_mem(0); });
  EXPECT_NE(text.find("!471!"), std::string::npos) << text;
  EXPECT_NE(text.find("-930"), std::string::npos) << text;
}

TEST_F(MemoryTest, CheckAllFindsADamagedLiveBlock) {
  auto* data = static_cast<unsigned char*>(take_mem(5));
  u4check_all();
  Writable(data + 5) = 0;
  EXPECT_NE(FatalText([] { u4check_all(); }).find("!473!"), std::string::npos);
  Writable(data + 5) = MEM_GUARD_BYTE;   // mended, so that later checks in this process pass
  free_mem(&data);
}

TEST_F(MemoryTest, CountCheck) {
  int count = u4registered_count();
  EXPECT_EQ(u4count_check(count), count);
  void* data = take_mem(4);
  EXPECT_NE(FatalText([&] { u4count_check(count); }).find("!479!"), std::string::npos);
  free_mem(&data);
}

TEST_F(MemoryTest, SharedPoolsAreSharedUntilTheLastDrop) {
  MemPool* a = mem4create(env, 2, 40, 2, 0);
  MemPool* b = mem4create(env, 6, 40, 1, 0);
  MemPool* own = mem4create(env, 2, 40, 2, 1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_NE(own, a);
  EXPECT_EQ(a->shareCount, 2);
  EXPECT_EQ(a->startCount, 6);
  EXPECT_EQ(a->expandCount, 2);
  EXPECT_EQ(a->unitSize, 40 + MEM_OVERHEAD);
  EXPECT_EQ(own->shareCount, -1);

  int before = u4registered_count();
  void* block = mem4alloc(a);
  ASSERT_NE(block, nullptr);
  mem4drop(a);
  EXPECT_EQ(a->shareCount, 1);
  std::memset(block, 1, 40);   // still usable by the remaining user
  mem4free(a, block);
  void* live = mem4alloc(a);
  ASSERT_NE(live, nullptr);
  mem4drop(a);
  // The chunks are gone, and so are the registry entries of their blocks.
  EXPECT_EQ(u4registered_count(), before);
  u4check_all();
  mem4drop(own);
}

TEST_F(MemoryTest, PoolsGrowByStartThenExpandCounts) {
  MemPool* pool = mem4create(env, 5, 13, 3, 1);
  void* blocks[9];
  const int chunksAfter[9] = {1, 1, 1, 1, 1, 2, 2, 2, 3};
  for (int i = 0; i < 9; ++i) {
    blocks[i] = mem4alloc(pool);
    ASSERT_NE(blocks[i], nullptr);
    EXPECT_TRUE(Aligned(blocks[i])) << i;
    EXPECT_EQ(pool->chunks.count, chunksAfter[i]) << i;
  }
  EXPECT_EQ(pool->inUse, 9);
  for (void* block : blocks) mem4free(pool, block);
  EXPECT_EQ(pool->inUse, 0);
  mem4drop(pool);
}

TEST_F(MemoryTest, FreedBlocksAreReusedLastInFirstOutAndZeroed) {
  MemPool* pool = mem4create(env, 4, 32, 4, 1);
  auto* first = static_cast<unsigned char*>(mem4alloc(pool));
  auto* second = static_cast<unsigned char*>(mem4alloc(pool));
  std::memset(first, 7, 32);
  std::memset(second, 9, 32);
  mem4free(pool, first);
  mem4free(pool, second);
  auto* again = static_cast<unsigned char*>(mem4alloc(pool));
  EXPECT_EQ(again, second);
  for (int i = 0; i < 32; ++i) ASSERT_EQ(again[i], 0);
  mem4free(pool, again);
  mem4drop(pool);
}

TEST_F(MemoryTest, PoolBlockChecks) {
  MemPool* pool = mem4create(env, 2, 24, 2, 1);
  auto* block = static_cast<unsigned char*>(mem4alloc(pool));
  Writable(block + 24) = 0;
  EXPECT_NE(FatalText([&] { mem4free(pool, block); }).find("!473!"), std::string::npos);

  // A block of another size would break the pool's chunks when handed out again.
  void* foreign;
  {
    LostByFatalStop lost;
    foreign = u4alloc(24 + 8);
  }
  MemPool* other = mem4create(env, 2, 24, 2, 1);
  void* mine = mem4alloc(other);
  mem4alloc(other);
  EXPECT_NE(FatalText([&] { mem4free(other, foreign); }).find("mem4free()"), std::string::npos);
  mem4free(other, mine);
  // More releases than blocks handed out.
  EXPECT_NE(FatalText([&] { mem4free(other, mine); }).find("mem4free()"), std::string::npos);

  EXPECT_NE(FatalText([] { mem4alloc(nullptr); }).find("mem4alloc()"), std::string::npos);
  EXPECT_NE(FatalText([&] { mem4create(env, -1, 10, 1, 0); }).find("mem4create()"), std::string::npos);
  mem4free(nullptr, mine);   // nothing
  mem4free(other, nullptr);
}

TEST_F(MemoryTest, AnEnvironmentWithAnErrorGetsNothing) {
  MemPool* pool = nullptr;
  env->engine.error_code = -60;
  EXPECT_EQ(mem4pool_alloc(env, &pool, 2, 16, 2, 1), nullptr);
  EXPECT_EQ(pool, nullptr);
  env->engine.error_code = 0;
  void* block = mem4pool_alloc(env, &pool, 2, 16, 2, 1);
  ASSERT_NE(block, nullptr);
  env->engine.error_code = -60;
  EXPECT_EQ(mem4alloc_env(pool, env), nullptr);
  env->engine.error_code = 0;
  mem4free(pool, block);
  mem4drop(pool);
}

TEST_F(MemoryTest, APoolThatCannotGrowReportsOutOfMemory) {
  MemPool* pool = mem4create(env, 1, 8, 0, 1);
  void* block = mem4alloc_env(pool, env);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(mem4alloc_env(pool, env), nullptr);
  EXPECT_EQ(env->engine.error_code, -920);
  env->engine.error_code = 0;
  mem4free(pool, block);
  mem4drop(pool);
}

#if defined(__SANITIZE_ADDRESS__)
// Guards, padding and free pool blocks are unusable to the sanitizer, so a
// stray read of them is reported where it happens.
TEST_F(MemoryTest, SanitizerSeesGuardsAndFreePoolBlocks) {
  const size_t n = 20;
  auto usable = [](const unsigned char* p, long from, long to) {
    for (long i = from; i < to; ++i)
      if (__asan_address_is_poisoned(p + i)) return false;
    return true;
  };
  auto unusable = [](const unsigned char* p, long from, long to) {
    for (long i = from; i < to; ++i)
      if (!__asan_address_is_poisoned(p + i)) return false;
    return true;
  };
  auto* block = static_cast<unsigned char*>(u4alloc(n));
  MemPool* pool = mem4create(env, 2, static_cast<int>(n), 2, 1);
  auto* pooled = static_cast<unsigned char*>(mem4alloc(pool));
  auto* spare = static_cast<unsigned char*>(mem4alloc(pool));
  for (unsigned char* data : {block, pooled, spare}) {
    EXPECT_TRUE(usable(data, 0, n));
    EXPECT_TRUE(unusable(data, -MEM_HEADER_SIZE, 0));
    EXPECT_TRUE(unusable(data, n, n + MEM_GUARD_SIZE));
  }
  u4check_all();   // reads the guards and leaves them unusable again
  EXPECT_TRUE(unusable(block, n, n + MEM_GUARD_SIZE));
  mem4free(pool, spare);
  EXPECT_TRUE(unusable(spare, 0, n));
  EXPECT_TRUE(usable(pooled, 0, n));
  EXPECT_EQ(mem4alloc(pool), spare);
  EXPECT_TRUE(usable(spare, 0, n));
  mem4free(pool, spare);
  mem4free(pool, pooled);
  mem4drop(pool);
  u4free(block);
}
#endif

TEST_F(MemoryTest, ResetForgetsEverything) {
  // In a child process: the reset drops the blocks the environment holds too.
  EXPECT_EXIT(
      {
        MemPool* pool = mem4create(env, 2, 16, 2, 0);
        mem4alloc(pool);
        mem4reset();
        if (u4registered_count() != 0) std::exit(2);
        MemPool* again = mem4create(nullptr, 1, 16, 1, 0);
        if (again == nullptr || again->shareCount != 1 || mem4alloc(again) == nullptr) std::exit(3);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
