#include "app/main_menu.h"

#include <initializer_list>
#include <map>
#include <string>

#include "app/archive_window.h"
#include "app/firm_header.h"
#include "app/firms.h"
#include "app/main_options_window.h"
#include "app/maintenance.h"
#include "app/module_entries.h"
#include "app/operator_list.h"
#include "app/option_sets.h"
#include "app/sales_options.h"
#include "db/db_engine.h"
#include "env/code_pages.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "print/page_spool.h"
#include "tables/cash_tables.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "tables/sales_tables.h"
#include "tables/warehouse_tables.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int KEY_SHIFT_F2 = 0x5500;
constexpr int KEY_SHIFT_F3 = 0x5600;
constexpr int KEY_SLASH = 47;
constexpr int HISTORY = 0x80;
constexpr int NO_PARAMETER = -1;
constexpr int RESULT_QUIT = -3;

constexpr int MSG_HELP = 2;
constexpr int MSG_NO_ACCESS = 3;
constexpr int MSG_ASK_SERVICE = 1;
constexpr int MSG_FIRM_DATA_FAILED = 20012;

constexpr int LOG_COMMON_DIR = 355;
constexpr int LOG_BACK_TO_START = 325;

// Captions in the system's set; menu items keep the pointer.
const char* Caption(const char* utf8) {
  static std::map<std::string, std::string> converted;
  std::string& text = converted[utf8];
  if (text.empty()) text = Utf8ToMazText(utf8);
  return text.c_str();
}

Environment* Env() { return EnvCurrent(); }

// ---- notes pages

int Notes(const char* title, const char* code, int keyChar) {
  edytuj_i_drukuj_notes(Caption(title), code, keyChar, WorkingYear());
  return 0;
}
int GeneralNotes(int32_t, int32_t) { return Notes("ogólny", "OGN", 3); }
int FirmNotes(int32_t, int32_t) { return Notes("firma", "FIN", 3); }
int WarehouseNotes(int32_t, int32_t) { return Notes("magazyn", "MAN", 7); }
int RetailNotes(int32_t, int32_t) { return Notes("detal", "DEN", 5); }
int CatalogueNotes(int32_t, int32_t) { return Notes("kartoteki", "KAN", 6); }

// ---- the pattern of a module action

using Step = int (*)();

// Guard, then the loaders and openers in order (the first failing one skips
// the module), the module, and always the key routine and no table left open.
int32_t ModuleAction(std::initializer_list<Step> steps, Step module) {
  if (LoadFirmHeader() != 0) return -1;
  bool ready = true;
  for (Step step : steps)
    if (step() != 0) {
      ready = false;
      break;
    }
  if (ready) module();
  n4char_routine(MenuKeyRoutine);
  d4close_all(&Env()->engine);
  return 0;
}

int Main() { return LoadMainOptions(); }
int Ewidencje() { return LoadEwidencjeOptions(); }
int Magazyn() { return LoadMagazynOptions(); }
int Konta() { return OpenZ5KONT(0); }

// ---- submenus built when their item is chosen

// START's bar items that open pull-downs of their own: each hangs under its item.
int magazynItem, detalItem, kartotekiItem;

int DefinePullDown() {
  int window = DefineMenuWindow();
  w4border(kStdFrame, 7);
  return window;
}

void PlaceUnder(int window, int item) {
  MenuItem4* it = n4record(item);
  Window4* bar = it ? w4record(it->window) : nullptr;
  n4calc(window, Desktop.barRow, it && bar ? bar->col + it->col : 0);
}

int RunPullDown(int window, int item) {
  PlaceUnder(window, item);
  n4char_routine(MenuKeyRoutine);
  int result;
  do {
    result = n4activate(window, 1, nullptr, nullptr, 1);
  } while (result == KEY_SLASH);
  n4char_routine(nullptr);
  w4close(window);
  return 0;
}

int32_t MagazynMenu(int32_t) {
  LoadMainOptions();
  g4set_key_to(KEY_SHIFT_F2, WarehouseNotes);
  g4set_key_to(KEY_SHIFT_F3, ZmienFirme);
  int window = DefinePullDown();
  MenuDefineItem(" Wydanie ", 7100, 'w' | HISTORY, NO_PARAMETER, WydanieAction, nullptr);
  MenuDefineItem(Caption(" Przyjęcie "), 7300, 'p' | HISTORY, NO_PARAMETER, PrzyjecieAction, nullptr);
  MenuDefineItem(" Towary ", 7500, 't' | HISTORY, NO_PARAMETER, TowaryAction, nullptr);
  MenuDefineItem(Caption(" Usługi "), 7700, 'u' | HISTORY, NO_PARAMETER, UslugiAction, nullptr);
  MenuDefineItem(" Opcje ", 7600, 'o' | HISTORY, NO_PARAMETER, MagazynOpcjeAction, nullptr);
  return RunPullDown(window, magazynItem);
}

int32_t DetalMenu(int32_t) {
  LoadMainOptions();
  g4set_key_to(KEY_SHIFT_F2, RetailNotes);
  g4set_key_to(KEY_SHIFT_F3, ZmienFirme);
  static int32_t printers;
  int window = DefinePullDown();
  MenuDefineItem(" Paragon ", 11000, 'p' | HISTORY, NO_PARAMETER, ParagonAction, nullptr);
  MenuDefineItem(" Opcje ", 13000, 'o' | HISTORY, NO_PARAMETER, DetalOpcjeAction, nullptr);
  MenuDefineItem(" Drukarki ", 14000, 'd', NO_PARAMETER, nullptr, &printers);
  printers = DefinePullDown();
  MenuDefineItem(" Opcje ", 14100, 'o' | HISTORY, NO_PARAMETER, DrukarkiOpcjeAction, nullptr);
  MenuDefineItem(" Funkcje ", 14200, 'f' | HISTORY, NO_PARAMETER, DrukarkiFunkcjeAction, nullptr);
  int result = RunPullDown(window, detalItem);
  w4close(printers);
  return result;
}

int32_t OdsetkiOblicz(int32_t) {
  const char* today = get_cur_das(0);
  ObliczOdsetki(today, today, 0.0);
  n4char_routine(nullptr);
  return 0;
}

int32_t InterestTable(int (*open)(int), int (*module)()) {
  if (open(0) == 0) module();
  d4close_all(&Env()->engine);
  n4char_routine(nullptr);
  return 0;
}

int32_t KartotekiMenu(int32_t) {
  LoadMainOptions();
  g4set_key_to(KEY_SHIFT_F2, CatalogueNotes);
  g4set_key_to(KEY_SHIFT_F3, ZmienFirme);
  static int32_t interest;
  int window = DefinePullDown();
  MenuDefineItem(" Kasa ", 4100, 'k' | HISTORY, 16, KartotekiAction, nullptr);
  MenuDefineItem(" Rozliczenia ", 4150, 'r' | HISTORY, NO_PARAMETER,
                 [](int32_t) -> int32_t { return PrzegladajRozliczenia(); }, nullptr);
  MenuDefineItem(" Konta ", 6100, 'n' | HISTORY, 4, KartotekiAction, nullptr);
  MenuDefineItem(" Kontrahenci ", 6200, 'h' | HISTORY, 5, KartotekiAction, nullptr);
  MenuDefineItem(" Opisy ", 6300, 'o' | HISTORY, 6, KartotekiAction, nullptr);
  MenuDefineItem(" Przelewy ", 6600, 'p' | HISTORY, 9, KartotekiAction, nullptr);
  MenuDefineItem(" Kraje ", 129, 'e' | HISTORY, 13, KartotekiAction, nullptr);
  MenuDefineItem(" Kursy ", 135, 'y' | HISTORY, 14, KartotekiAction, nullptr);
  MenuDefineItem(" Odsetki ", 950, 'd', NO_PARAMETER, nullptr, &interest);
  interest = DefinePullDown();
  MenuDefineItem(" Oblicz ", 951, 'o', NO_PARAMETER, OdsetkiOblicz, nullptr);
  MenuDefineItem(" Ustawowe ", 952, 'u' | HISTORY, NO_PARAMETER,
                 [](int32_t) { return InterestTable(OpenZ5ODUS, StopyOdsetekUstawowych); }, nullptr);
  MenuDefineItem(" Dni wolne ", 954, 'd' | HISTORY, NO_PARAMETER,
                 [](int32_t) { return InterestTable(OpenZ5DNWO, DniWolne); }, nullptr);
  int result = RunPullDown(window, kartotekiItem);
  w4close(interest);
  return result;
}

// ---- START

// START's own bar with the Administrator submenus; the windows to close.
struct StartBar {
  int bar;
  int32_t admin, archive;
};

StartBar DefineStartBar() {
  StartBar s{};
  s.bar = DefineMainMenuWindow();
  MenuDefineItem(Caption(" Sprzedaż "), 1101, 's' | HISTORY, NO_PARAMETER, SprzedazAction, nullptr);
  MenuDefineItem(Caption(" Sprzedaż pom. "), 1701, 'p' | HISTORY, NO_PARAMETER, SprzedazPomAction, nullptr);
  magazynItem = MenuDefineItem(" Magazyn ", 7000, 'm', NO_PARAMETER, MagazynMenu, nullptr);
  detalItem = MenuDefineItem(" Detal ", 10000, 'd', NO_PARAMETER, DetalMenu, nullptr);
  kartotekiItem = MenuDefineItem(" Kartoteki ", 4000, 'k', NO_PARAMETER, KartotekiMenu, nullptr);
  // Not yet defined: the bar's layout must find no pull-down under them.
  static int32_t admin, archive;
  admin = archive = -1;
  int adminItem = MenuDefineItem(" Administrator ", 90, 'a', NO_PARAMETER, nullptr, &admin);
  n4lotus(s.bar);
  admin = DefinePullDown();
  MenuDefineItem(" Sprzedawca ", 9300, 'p' | HISTORY, 1, [](int32_t flag) -> int32_t { return EditOwnFirm(flag); },
                 nullptr);
  MenuDefineItem(" Serwis ", 9100, 's' | HISTORY, NO_PARAMETER, SerwisAction, nullptr);
  MenuDefineItem(" Archiwum ", 9200, 'a', NO_PARAMETER, nullptr, &archive);
  MenuDefineItem(" EKSPORT ", 980, 'e', NO_PARAMETER, [](int32_t) -> int32_t { return EksportDoKsiegowosci(); },
                 nullptr);
  MenuDefineItem(" IMPORT ", 981, 'i', NO_PARAMETER, [](int32_t) -> int32_t { return ImportZKsiegowosci(); },
                 nullptr);
  archive = DefinePullDown();
  MenuDefineItem(" Zapis ", 9210, 'z' | HISTORY, ARCHIVE_WRITE, [](int32_t kind) { return ArchiwumAction(kind); },
                 nullptr);
  MenuDefineItem(" Odczyt ", 9220, 'o' | HISTORY, ARCHIVE_RESTORE, [](int32_t kind) { return ArchiwumAction(kind); },
                 nullptr);
  PlaceUnder(admin, adminItem);
  s.admin = admin;
  s.archive = archive;
  return s;
}

// A failing START leaves the main bar in place: the menu layer would end
// the bar on a negative result, and with it the program.
int32_t StartAction(int32_t) {
  StartMenu(0);
  return 0;
}

}  // namespace

int MenuKeyRoutine() {
  int key = g4char();
  clr_key_buf();
  return key;
}

void BindGeneralNotes() { g4set_key_to(KEY_SHIFT_F2, GeneralNotes); }

int StartMenu(int remote) {
  Environment* env = Env();
  PathRecord* remembered = env->currentPath;
  if (SwitchDir(SWITCH_SHARED_CATALOGUE, LOG_COMMON_DIR) != 0) return 0;
  ChangeDir(remembered, 0, 0);
  if (!remote) {
    int chosen = WybierzFirme();
    if (chosen <= 0) return chosen;
  }
  int selected = w4select(-1);
  w4activate(env->mainProgramWindow);
  if (EditOwnFirm(0) != 0) {
    Uwaga(MSG_FIRM_DATA_FAILED);
    w4deactivate(env->mainProgramWindow);
    w4select(selected);
    ChangeDir(&env->startPath, LOG_BACK_TO_START, 0);
    return -1;
  }
  g4set_key_to(KEY_SHIFT_F2, FirmNotes);
  StartBar s = DefineStartBar();
  int result;
  do {
    result = n4activate(s.bar, 1, nullptr, nullptr, 1);
  } while (result == KEY_SLASH);
  BindGeneralNotes();
  w4close(s.archive);
  w4close(s.admin);
  w4close(s.bar);
  w4deactivate(env->mainProgramWindow);
  w4select(selected);
  return ChangeDir(&env->startPath, LOG_BACK_TO_START, 0) == 0 ? 0 : -1;
}

int DefineMainBar() {
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" START ", 8, 's', 0, StartAction, nullptr);
  MenuDefineItem(" Katalogi ", 2, 'k' | HISTORY, NO_PARAMETER, KatalogiAction, nullptr);
  MenuDefineItem(Caption(" Hasła "), 37, 'h', NO_PARAMETER, HaslaAction, nullptr);
  MenuDefineItem(Caption(" Opcje główne "), 44, 'o' | HISTORY, NO_PARAMETER,
                 [](int32_t) -> int32_t {
                   MainOptionsWindow();
                   return 0;
                 },
                 nullptr);
  MenuDefineItem(" Pomoc ", 7, 'p', NO_PARAMETER,
                 [](int32_t) -> int32_t {
                   Uwaga(MSG_HELP);
                   return 0;
                 },
                 nullptr);
  MenuDefineItem(Caption(" Zakończ "), 5, 'z', NO_PARAMETER, [](int32_t) -> int32_t { return RESULT_QUIT; }, nullptr);
  n4lotus(bar);
  return bar;
}

int32_t KatalogiAction(int32_t) {
  if (OpenZ5KATA(0) == 0) FirmsList();
  n4char_routine(nullptr);
  d4close_all(&Env()->engine);
  return 0;
}

int32_t HaslaAction(int32_t) {
  int number = Env()->operatorNumber;
  if (number == 0 || number == 1)
    UsersList();
  else
    Uwaga(MSG_NO_ACCESS);
  return 0;
}

int32_t SprzedazAction(int32_t) {
  return ModuleAction({Main, Ewidencje, Magazyn, Konta, [] { return OpenZ5SPRE(0, 0, SALES_MAIN); },
                       [] { return OpenZ5SPRZ(0, 0, SALES_MAIN); }, [] { return OpenZ5KASA(0); },
                       [] { return OpenZ5SPRE(0, 0, SALES_AUX_SECOND); },
                       [] { return OpenZ5SPRZ(0, 0, SALES_AUX_SECOND); }, [] { return OpenZ5SPRO(0, 0, 0); }},
                      [] { return rejestr_sprzedazy(1); });
}

int32_t SprzedazPomAction(int32_t) {
  return ModuleAction({Main, Ewidencje, Magazyn, Konta, [] { return OpenZ5SPRE(0, 0, SALES_AUX); },
                       [] { return OpenZ5SPRZ(0, 0, SALES_AUX); }, [] { return OpenZ5KASA(0); },
                       [] { return OpenZ5SPRO(0, 0, 0); }},
                      [] { return rejestr_sprzedazy(2); });
}

int32_t WydanieAction(int32_t) {
  return ModuleAction({Main, Ewidencje, Magazyn, Konta, [] { return OpenZ5MAWE(0); }, [] { return OpenZ5MAWY(0); }},
                      wydania_magazynowe);
}

int32_t PrzyjecieAction(int32_t) {
  return ModuleAction({Main, Ewidencje, Magazyn, Konta, [] { return OpenZ5MAPE(0); }, [] { return OpenZ5MAPR(0); }},
                      przyjecia_magazynowe);
}

int32_t TowaryAction(int32_t) {
  return ModuleAction({Main, CzytajParametryKF, Ewidencje, Magazyn, Konta, [] { return OpenZ5TOWA(0); }},
                      kartoteka_towarow);
}

int32_t UslugiAction(int32_t) {
  return ModuleAction({Main, Ewidencje, Magazyn, Konta, [] { return OpenZ5USLU(0); }}, kartoteka_uslug);
}

int32_t MagazynOpcjeAction(int32_t) {
  return ModuleAction({Magazyn}, WarehouseOptionsWindow);
}

int32_t ParagonAction(int32_t) {
  return ModuleAction({Main, Ewidencje, CzytajParametryDETAL, Magazyn, Konta, [] { return OpenZ5PARO(0); },
                       [] { return OpenZ5PARE(0); }, [] { return OpenZ5PARA(0); }},
                      [] {
                        DFOpen(1);
                        paragony();
                        DFClose();
                        return 0;
                      });
}

int32_t DetalOpcjeAction(int32_t) { return ModuleAction({}, DFOpcjeParagonow); }

int32_t DrukarkiOpcjeAction(int32_t) {
  if (LoadMainOptions() != 0 || LoadEwidencjeOptions() != 0 || CzytajParametryDETAL() != 0 || DFBrakDrukarki())
    return 0;
  switch (DFPrinterType()) {
    case 2: case 6: case 8: case 9: case 10: case 11: case 12: case 13: PosnetOpcje(); break;
    case 3: TpLineOpcje(); break;
    case 4: OrhmetOpcje(); break;
    case 5: ElzabOpcje(); break;
    case 7: SparkOpcje(); break;
    default: break;
  }
  n4char_routine(MenuKeyRoutine);
  d4close_all(&Env()->engine);
  return 0;
}

int32_t DrukarkiFunkcjeAction(int32_t) {
  if (LoadMainOptions() != 0 || LoadEwidencjeOptions() != 0 || CzytajParametryDETAL() != 0) return 0;
  int result = 0;
  if (DFOpen(0)) {
    switch (DFConnectionDriver()) {
      case 2: result = PosnetFunkcjePomocnicze(); break;
      case 3: result = TpLineFunkcjePomocnicze(); break;
      case 4: result = OrhmetFunkcjePomocnicze(); break;
      case 5: result = ElzabFunkcjePomocnicze(); break;
      case 7: result = SparkFunkcjePomocnicze(); break;
      default: break;
    }
    DFClose();
  }
  n4char_routine(MenuKeyRoutine);
  d4close_all(&Env()->engine);
  return result;
}

int32_t KartotekiAction(int32_t parameter) {
  if (OpenZ5PAWL() != 0) return 0;
  auto run = [](std::initializer_list<Step> openers, Step module) {
    for (Step open : openers)
      if (open() != 0) return;
    module();
  };
  switch (parameter) {
    case 16: run({Ewidencje}, [] { return PrzegladajKase(nullptr, 1, 0); }); break;
    case 4: run({Konta}, kartoteka_kont); break;
    case 5: run({[] { return OpenZ5KHNT(0); }}, kartoteka_kontrahentow); break;
    case 6: run({[] { return OpenZ5OPIS(0); }}, kartoteka_opisow); break;
    case 9: run({[] { return OpenZ5PLEW(0); }, [] { return OpenZ5KHNT(0); }}, Przelewy); break;
    case 13: run({[] { return OpenZ5KRAJ(0); }}, kartoteka_krajow); break;
    case 14: run({[] { return OpenZ5KURS(0); }}, kartoteka_kursow); break;
    default: break;
  }
  n4char_routine(MenuKeyRoutine);
  d4close_all(&Env()->engine);
  return 0;
}

int32_t SerwisAction(int32_t) {
  if (Pytanie(MSG_ASK_SERVICE) != KEY_ESC) Serwis(WorkingYear(), 1, 1);
  n4char_routine(nullptr);
  return 0;
}
