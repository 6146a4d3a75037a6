#include "app/rights_tree.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/operator_block.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/form_text.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_UNRESTRICTED = 15;
constexpr int MSG_CHOOSE_T_OR_N = 12;
constexpr int FIELD_COLUMN = 15;
constexpr int MARK_COLUMN = 14;
constexpr char MARK = '\x9F';
constexpr int FIELD_ATTRIBUTE = 31;
constexpr int LEVEL_WIDTH = 18;
constexpr int LEVEL_BOTTOM = 25;
constexpr int TOP_ROW = 11;
constexpr int TOP_HEIGHT = 14;
const char kTopTitle[] = "MENU G\x9C\xA3WNE";   // "MENU GŁÓWNE"

struct Row {
  int id;
  bool details;
};

struct Screen {
  std::vector<int> openers;
  ResIdRoutine resource;
  std::vector<Row> rows;
};

template <int N>
int16_t Resource() {
  return N;
}

constexpr Row D(int id) { return {id, true}; }
constexpr Row R(int id) { return {id, false}; }

std::vector<Row> Run(int first, int last, int step) {
  std::vector<Row> rows;
  for (int id = first; id <= last; id += step) rows.push_back(R(id));
  return rows;
}

std::vector<Row> Join(std::vector<std::vector<Row>> parts) {
  std::vector<Row> rows;
  for (const auto& part : parts) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

const Screen kTop = {{},
                     Resource<127>,
                     {D(1000), D(2000), D(3000), D(4000), D(6000), D(7000), D(10000), D(8000), D(90), R(2), R(41),
                      R(5)}};

const std::vector<Screen>& Screens() {
  static const std::vector<Screen> screens = {
      {{90}, Resource<102>, {R(9300), R(9301), R(9100), R(940), R(9200), R(9210), R(9220)}},
      {{7000}, Resource<126>, {D(7100), D(7300), D(7500), D(7700), R(7600)}},
      {{10000}, Resource<106>, {D(11000), R(13000), R(14000)}},
      {{4000}, Resource<111>, {D(5300), D(5100), D(5200), D(5800), D(5900), D(5400), D(4100), D(4150)}},
      {{6000}, Resource<112>, {D(6100), D(6200), D(6300), D(6400), D(6700), D(6600)}},
      {{1000}, Resource<107>, {D(1100), D(1300), R(1500), R(1700), D(1800), R(1900)}},
      {{2000}, Resource<125>, {R(2100), R(2200), R(2210), R(2220), R(2230), R(2400), R(2600)}},
      {{3000}, Resource<145>, {R(3100), R(3200), R(3430), R(3600)}},
      {{8000}, Resource<139>, {D(8100), D(8200), D(8300), D(8800), R(8400), R(8500), D(8600), R(8700)}},
      {{7100},
       Resource<131>,
       {R(7110), R(7120), R(7121), R(7122), R(7130), R(7131), R(7132), R(7133), R(7140), R(7170), R(7180), R(7200)}},
      {{7300},
       Resource<128>,
       {R(7310), R(7320), R(7321), R(7322), R(7330), R(7331), R(7332), R(7333), R(7340), R(7370), R(7380), R(7400)}},
      {{7500}, Resource<129>, {R(7510), R(7520), R(7521), R(7522), R(7550), R(7570), R(7590)}},
      {{7700}, Resource<130>, {R(7710), R(7720), R(7730), R(7750)}},
      {{11000},
       Resource<105>,
       {R(11100), R(11200), R(11210), R(11220), R(11400), R(11410), R(11420), R(11430), R(11440), R(11700),
        R(12000)}},
      {{4100, 4150, 5400}, Resource<118>, {R(5410), R(5420), R(5430), R(5440), R(5460), R(5480)}},
      {{5100}, Resource<114>, {R(5110), R(5120), R(5130), R(5131), R(5132), R(5150), R(5160)}},
      {{5200}, Resource<116>, {D(5210), D(5220), D(5230)}},
      {{5300}, Resource<115>, {D(5310), D(6800), D(5350), D(5330), D(5600), D(5700), D(5510), R(5520)}},
      {{5800}, Resource<117>, {R(5810), R(5820), R(5830), R(5840)}},
      {{5900}, Resource<113>, {R(5910), R(5920), R(5930), R(5940), R(5950)}},
      {{6100}, Resource<120>, {R(6110), R(6120), R(6130), R(6140)}},
      {{6200}, Resource<121>, {R(6210), R(6220), R(6240), R(6250), R(6280)}},
      {{6300}, Resource<122>, {R(6310), R(6320), R(6330)}},
      {{6400}, Resource<124>, {R(6410), R(6430), R(6420)}},
      {{6600}, Resource<123>, {R(6610), R(6620), R(6630), R(6640), R(6680), R(42)}},
      {{6700}, Resource<119>, {R(6710), R(6720), R(6730)}},
      {{1100},
       Resource<108>,
       Join({{R(1110), R(1120), R(1121), R(1122), R(1130)},
             Run(1140, 1146, 1),
             {R(1170), R(1175)},
             Run(1181, 1184, 1),
             {R(1200)}})},
      {{1300},
       Resource<109>,
       Join({{R(1310), R(1320), R(1331)},
             Run(1340, 1345, 1),
             {R(1370), R(1380), R(1391), R(1394), R(1395), R(1396), R(1400)}})},
      {{1800}, Resource<110>, {R(1810), R(1820), R(1830), R(1831), R(1832), R(1833), R(1860)}},
      {{8100}, Resource<140>, {R(8120), R(8110), R(8140), R(8130)}},
      {{8200}, Resource<142>, {R(8210), R(8220), R(8230)}},
      {{8300}, Resource<141>, {R(8310), R(8321), R(8330)}},
      {{8600}, Resource<143>, {R(8610), R(8620), R(8621), R(8630)}},
      {{8800}, Resource<144>, Run(8810, 8860, 10)},
      {{5210}, Resource<146>, {R(5211), R(5212), R(5213), R(5216)}},
      {{5220}, Resource<147>, {R(5221), R(5222), R(5223), R(5224), R(5226), R(5227)}},
      {{5230}, Resource<148>, {R(5231), R(5232), R(5233)}},
      {{5310}, Resource<132>, {R(5311), R(5312), R(5315), R(5317), R(5316), R(5327), R(5323), R(5328)}},
      {{5330}, Resource<134>, {R(5331), R(5332), R(5304), R(5334), R(5348), R(5342)}},
      {{5350}, Resource<137>, {R(5351), R(5352), R(5355), R(5356), R(5357), R(5369), R(5373)}},
      {{5510}, Resource<135>, {R(5511), R(5512), R(5513)}},
      {{5600}, Resource<133>, {R(5610), R(5620), R(5630), R(5640), R(5660)}},
      {{5700}, Resource<136>, {R(5710), R(5720), R(5730), R(5740), R(5760), R(5765)}},
      {{6800}, Resource<138>, Run(6810, 6870, 10)},
  };
  return screens;
}

const Screen* ScreenOpenedBy(int id) {
  for (const Screen& screen : Screens())
    for (int opener : screen.openers)
      if (opener == id) return &screen;
  return nullptr;
}

// The level whose form runs: its rows and its own copy of the table.
struct Level {
  int depth;
  const Screen* screen;
  unsigned char* rights;
  int window;
};
Level* current = nullptr;

int RunLevel(int depth, const Screen& screen, unsigned char* above);

void SetBit(unsigned char* rights, int id, bool on) {
  unsigned char mask = static_cast<unsigned char>(0x80 >> (id % 8));
  if (on) rights[id / 8] |= mask;
  else rights[id / 8] &= static_cast<unsigned char>(~mask);
}

int RightsKey(Get4* get, char* buffer, int32_t) {
  Level* level = current;
  int key = g4char();
  switch (key) {
    case 'T':
    case 't':
    case 'N':
    case 'n':
      buffer[0] = static_cast<char>(key == 't' || key == 'T' ? 'T' : 'N');
      return -1;
    case KEY_LEFT:
      // Back one level keeping the changes; the first level has no level above.
      return level->depth > 1 ? KEY_F2 : KEY_CTRL_UP;
    case KEY_RIGHT: {
      const Row& row = level->screen->rows[static_cast<size_t>(get->row)];
      const Screen* next = ScreenOpenedBy(row.id);
      if (buffer[0] != 'T' || !row.details || !next) return -1;
      SetBit(level->rights, row.id, true);
      char mark[2] = {MARK, '\0'};
      w4num(get->row, MARK_COLUMN, mark, 1);
      RunLevel(level->depth + 1, *next, level->rights);
      current = level;
      w4select(level->window);
      w4num(get->row, MARK_COLUMN, " ", 1);
      return -1;
    }
    default:
      if (WigetCtrlKey(key)) return key;
      MessageWindow(14, MSG_CHOOSE_T_OR_N);
      w4select(level->window);
      return -1;
  }
}

int DefineLevelWindow(int depth, int rows) {
  if (depth == 1) return w4define(TOP_ROW, 0, TOP_ROW + TOP_HEIGHT - 1, LEVEL_WIDTH - 1);
  int col = (depth - 1) * 20;
  return w4define(LEVEL_BOTTOM - rows - 1, col, LEVEL_BOTTOM, col + LEVEL_WIDTH - 1);
}

// One level's window over its own copy of the table, handed up on F2.
int RunLevel(int depth, const Screen& screen, unsigned char* above) {
  unsigned char rights[OPERATOR_RIGHTS_BYTES];
  std::memcpy(rights, above, sizeof rights);
  int rows = static_cast<int>(screen.rows.size());
  int previous = w4select(-1);
  int window = DefineLevelWindow(depth, rows);
  if (window < 0) return KEY_ESC;
  w4border(kStdFrame, w4attribute(-1));
  if (depth == 1) w4title(0, -1, kTopTitle, w4attribute(-1));
  w4activate(window);
  std::vector<std::string> labels = ResourceLines(screen.resource);
  for (int i = 0; i < rows && i < static_cast<int>(labels.size()); i++) w4(i, 0, labels[static_cast<size_t>(i)].c_str());

  Level level{depth, &screen, rights, window};
  int key;
  do {
    current = &level;
    g4attribute(FIELD_ATTRIBUTE);
    for (int i = 0; i < rows; i++) {
      g4bit(i, FIELD_COLUMN, rights, screen.rows[static_cast<size_t>(i)].id);
      g4call(RightsKey, 0);
    }
    key = g4read();
  } while (key != KEY_F2 && key != KEY_ESC);

  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key == KEY_F2) std::memcpy(above, rights, sizeof rights);
  return key;
}

}  // namespace

int EditRights(DbTable* operators) {
  Environment* env = EnvCurrent();
  DbField* field = operators ? d4field(operators, "B") : nullptr;
  if (!env || !field || f4len(field) < OPERATOR_BLOCK_BYTES) return -1;
  if (d4recno(operators) == 1) {
    Uwaga(MSG_UNRESTRICTED);
    return -1;
  }
  char* block = f4ptr(field);
  unsigned char rights[OPERATOR_RIGHTS_BYTES];
  OperatorBlockRights(block, rights);
  // The tree saves with F2 alone; no question on the way.
  char confirmSave = env->confirmSave;
  env->confirmSave = 'N';
  int key = RunLevel(1, kTop, rights);
  env->confirmSave = confirmSave;
  if (key != KEY_F2) return -1;
  OperatorBlockSetRights(f4assign_ptr(field), rights);
  return d4write(operators, d4recno(operators)) < 0 ? -1 : 0;
}
