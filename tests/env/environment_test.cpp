#include "env/session/environment.h"

#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/messages.h"
#include "env/paths.h"
#include "platform/dirs.h"
#include "env/temp_strings.h"
#include "tests/env/environment_fixture.h"

namespace {

TEST_F(EnvironmentTest, CreateSetsTheDefaultsAndRegistersTheLibraryTable) {
  Environment* e = Create();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(EnvCurrent(), e);
  EXPECT_EQ(e->messageWindow, -1);
  EXPECT_EQ(e->statusWindow, -1);
  EXPECT_EQ(e->refuseDamagedTables, 1);
  EXPECT_EQ(e->printZeroValues, 'T');
  EXPECT_EQ(e->colourVariant, 'T');
  EXPECT_EQ(e->minFreeMemory, 1000000);
  EXPECT_EQ(e->toWindows, MazToWindowsPairs);
  EXPECT_EQ(e->toAscii, MazToAsciiPairs);
  EXPECT_EQ(e->currentPath, &e->startPath);
  ASSERT_NE(e->rights, nullptr);
  for (int i = 0; i < RIGHTS_BYTES; i++) ASSERT_EQ(e->rights[i], 0xFF) << i;
  EXPECT_EQ(e->temporaryStrings.cur, e->temporaryStrings.base);
  EXPECT_EQ(e->temporaryStrings.left, CYCLE_BUFFER_SIZE);
  EXPECT_EQ(e->messageTables[0].kind, RCS_KIND_LIBRARY);
  EXPECT_EQ(e->messageTables[0].idRoutine(), 7);
  EXPECT_TRUE(ErrLogIsOpen());     // opened by the creation when the program had not
  EXPECT_EQ(e->operatorNumber, 0);
  EXPECT_EQ(e->workingDate[0], '\0');
}

struct DataPathCase {
  std::vector<std::string> args;
  bool fromFirstArgument;
};

void PrintTo(const DataPathCase& c, std::ostream* os) { *os << c.args.size() << " arguments"; }

class DataPathTest : public EnvironmentTest, public ::testing::WithParamInterface<DataPathCase> {};

TEST_P(DataPathTest, DataDirectoryComesFromTheFirstArgumentOnlyWithMoreThanFourArguments) {
  Environment* e = Create(GetParam().args);
  ASSERT_NE(e, nullptr);
  PathRecord start{}, data{};
  TransDir(EnvFromDiskPath(PlatGetCwd()).c_str(), &start);
  TransDir(EnvFromDiskPath("/srv/firma/dane").c_str(), &data);
  EXPECT_STREQ(e->startPath.dir, start.dir);
  EXPECT_STREQ(e->dataPath.dir, GetParam().fromFirstArgument ? data.dir : start.dir);
  EXPECT_STRNE(data.dir, start.dir);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, DataPathTest,
    ::testing::Values(DataPathCase{{"Zelsal", "/srv/firma/dane", "1", "2", "3"}, true},
                      DataPathCase{{"Zelsal", "/srv/firma/dane", "1", "2"}, false},
                      DataPathCase{{"Zelsal"}, false}));

struct OptionCase {
  std::vector<std::string> args;
  const char* hash;
  const char* dollar;
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.hash << " " << c.dollar; }

class OptionTest : public EnvironmentTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionTest, HashAndDollarOptionsAreCutToTheirLength) {
  Environment* e = Create(GetParam().args);
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->hashOption, GetParam().hash);
  EXPECT_STREQ(e->dollarOption, GetParam().dollar);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, OptionTest,
    ::testing::Values(OptionCase{{"Zelsal"}, "-#", "-$"},
                      OptionCase{{"Zelsal", "-#ABC", "-$123456789012345678901234"}, "-#AB",
                                 "-$12345678901234567890"},
                      OptionCase{{"Zelsal", "x", "-$K2", "-$Z", "-#9"}, "-#9", "-$K2"},
                      OptionCase{{"-#Q", "a"}, "-#Q", "-$"}));

TEST_F(EnvironmentTest, DeleteFreesTheBlankingTimerOnlyWhenOneIsSet) {
  Environment* e = Create();
  DeleteEnvironment(e);
  EXPECT_TRUE(Critical().empty());    // no FreeTimer of slot 0

  e = Create();
  e->blankingTimer = AllocTimer(TIMER_IDLE, 60000, [](int32_t) {}, 0);
  ASSERT_EQ(e->blankingTimer, 1);
  DeleteEnvironment(e);
  EXPECT_TRUE(Critical().empty());
  EXPECT_EQ(EnvCurrent(), nullptr);
  EXPECT_FALSE(ErrLogIsOpen());
}

// ---- timers

std::vector<std::string> calls;
void Record(int32_t user) { calls.push_back("t" + std::to_string(user)); }

class TimerTest : public EnvironmentTest {
 protected:
  void SetUp() override {
    EnvironmentTest::SetUp();
    calls.clear();
    ASSERT_NE(Create(), nullptr);
  }
};

TEST_F(TimerTest, TenSlotsThenZeroAndABadFreeChangesNothing) {
  int slots[TIMER_SLOTS];
  for (int i = 0; i < TIMER_SLOTS; i++) {
    slots[i] = AllocTimer(TIMER_PERIODIC, 100, Record, i);
    EXPECT_EQ(slots[i], i + 1);
  }
  EXPECT_EQ(AllocTimer(TIMER_PERIODIC, 100, Record, 99), 0);
  EXPECT_TRUE(Critical().empty());     // exhaustion is not logged

  int copy = slots[3];
  FreeTimer(&slots[3]);
  EXPECT_EQ(slots[3], 0);
  EXPECT_EQ(EnvCurrent()->timers[3].callback, nullptr);
  FreeTimer(&copy);                    // already free
  EXPECT_EQ(copy, 4);
  ASSERT_EQ(Critical().size(), 1u);
  EXPECT_EQ(Critical()[0].rfind("ERRCODE(22):", 0), 0u);
  for (int bad : {0, 11, -1}) {
    int slot = bad;
    FreeTimer(&slot);
    EXPECT_EQ(slot, bad);
  }
  EXPECT_EQ(Critical().size(), 4u);
  EXPECT_EQ(AllocTimer(TIMER_PERIODIC, 100, Record, 7), 4);   // the first free slot again
}

TEST_F(TimerTest, PeriodicTimerTicksEveryPeriod) {
  AllocTimer(TIMER_PERIODIC, 50, Record, 1);
  EnvDispatchTimers(49);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(EnvNextTimerDueMs(), 50);
  EnvDispatchTimers(50);
  EnvDispatchTimers(99);
  EnvDispatchTimers(100);
  EXPECT_EQ(calls, (std::vector<std::string>{"t1", "t1"}));
}

TEST_F(TimerTest, IdleTimerCountsItsPeriodFromTheLastKey) {
  AllocTimer(TIMER_IDLE, 1000, Record, 1);
  AllocTimer(TIMER_PERIODIC, 1000, Record, 2);
  EnvTimerKeyPressed(900);
  EnvDispatchTimers(1000);
  EXPECT_EQ(calls, (std::vector<std::string>{"t2"}));
  EnvDispatchTimers(1899);
  EnvDispatchTimers(1900);
  EXPECT_EQ(calls, (std::vector<std::string>{"t2", "t1"}));
}

// A callback that waits for a key: the event loop dispatches again inside it.
int nestedDepth = 0;
void WaitsInside(int32_t user) {
  calls.push_back("w" + std::to_string(user));
  if (nestedDepth++ == 0) EnvDispatchTimers(1000);
}

TEST_F(TimerTest, TickWhileTheCallbackRunsIsDropped) {
  nestedDepth = 0;
  AllocTimer(TIMER_PERIODIC, 100, WaitsInside, 1);
  AllocTimer(TIMER_PERIODIC, 100, Record, 2);
  EnvDispatchTimers(100);
  // Inside the first callback only the other slot ran; slot 1 was busy.
  EXPECT_EQ(calls, (std::vector<std::string>{"w1", "t2"}));
  EXPECT_EQ(EnvCurrent()->timers[0].busy, 0);
}

TEST_F(TimerTest, ForcedTicksRunAtTheNextDispatchInTheOrderAsked) {
  int a = AllocTimer(TIMER_PERIODIC, 60000, Record, 1);
  int b = AllocTimer(TIMER_IDLE, 60000, Record, 2);
  int c = AllocTimer(TIMER_PERIODIC, 60000, Record, 3);
  ForceTimer(b);
  ForceTimer(a);
  ForceTimer(c);
  FreeTimer(&c);                       // a freed slot's pending tick goes with it
  EXPECT_EQ(EnvNextTimerDueMs(), 0);
  EnvDispatchTimers(1);
  EXPECT_EQ(calls, (std::vector<std::string>{"t2", "t1"}));
  EnvDispatchTimers(2);
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_TRUE(Critical().empty());
  ForceTimer(c);                       // c is 0 now
  ForceTimer(9);                       // never allocated
  EXPECT_EQ(Critical().size(), 2u);
}

TEST_F(EnvironmentTest, MissingLibraryIsLoggedAndShown) {
  ASSERT_NE(Create(), nullptr);
  EXPECT_EQ(EnvLoadLibrary("Nieistnieje.dll"), nullptr);
  ASSERT_FALSE(screen->shown.empty());
  const auto& box = screen->shown.back();
  EXPECT_EQ(box.what, "box");
  EXPECT_EQ(box.text.rfind(Utf8ToMazText("Brak modułu "), 0), 0u) << box.text;
  CloseErrLog();
  EXPECT_NE(ReadFile(LogPath()).find("ALARM: Brak m"), std::string::npos);
}

}  // namespace
