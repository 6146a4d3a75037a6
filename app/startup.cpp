#include "app/startup.h"

#include <cstring>
#include <string>

#include "app/firm_header.h"
#include "app/firms.h"
#include "app/main_menu.h"
#include "app/operator_login.h"
#include "app/operator_windows.h"
#include "app/option_sets.h"
#include "app/program_messages.h"
#include "db/db_engine.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/file_cause.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "platform/end_signals.h"
#include "platform/program_dir.h"
#include "platform/screen_hook.h"
#include "platform/resources.h"
#include "ui/calculator.h"
#include "ui/calendar.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int REMOTE_ARGC = 5;
constexpr int KEY_ALT_H = 0x2300;
constexpr int KEY_ALT_W = 0x1100;
constexpr int KEY_CTRL_F4 = 0x6100;
constexpr int KEY_CTRL_F10 = 0x6700;
constexpr int KEY_SHIFT_F10 = 0x5D00;
constexpr int KEY_SLASH = 47;

constexpr int MSG_DATA_IN_CURRENT = 20065;
constexpr int MSG_LOW_DISK = 20110;
constexpr uint32_t LOW_DISK_BYTES = 200000;

constexpr int LOG_DATA_DIR = 310;
constexpr int LOG_START_DIR = 311;
constexpr int LOG_END_DIR = 326;

constexpr int CACHE_TOTAL = 0x4000;
constexpr int CACHE_BUFFER = 4096;
constexpr int LOCK_TRIES = 5;
constexpr int VIDEO_FAILED_WAIT_MS = 30000;
constexpr int FRONT_INFO_ATTR = 142;
constexpr int FRONT_INFO_WIDTH = 10 + 19;   // "Operator: " and the name

int16_t LogoId() { return 175; }

// The logo is shown with its resource's own size.
void ShowStartLogo() {
  const PlatResource* logo = PlatFindResource(EnvActiveInstance(), LogoId());
  if (logo) ShowLogo(LogoId, static_cast<int>(logo->size));
}

void StartEngine(Environment* env) {
  d4init(&env->engine);
  env->engine.cache_memory = CACHE_TOTAL;
  env->engine.cache_buffer_size = CACHE_BUFFER;
  env->engine.lock_tries = LOCK_TRIES;
  d4opt_start(&env->engine);
  open_envr_win();
  clr_key_buf();
}

void StopServices(Environment* env) {
  close_envr_win();
  d4init_undo(&env->engine);
  w4init_undo();
  w4close_video(1);
  mem4reset();
}

// The main bar until the operator ends it, a signal asks to end, or the
// window is resized.
void RunMainBar(bool firstStart) {
  int bar = DefineMainBar();
  if (firstStart) DisplayCurrent()->setMaximised(1);
  int result;
  do {
    Desktop.restart = 0;
    Desktop.menuLevel = 0;
    result = n4activate(bar, 1, nullptr, nullptr, 1);
  } while (!Desktop.restart && !PlatEndRequested() && (result == KEY_ESC || result == KEY_SLASH));
  w4close(bar);
}

}  // namespace

int CalendarHotKey(int32_t, int32_t) {
  KalendarzDate date{};
  kalendarz(5, 20, &date);
  return 0;
}

int NextFontHotKey(int32_t, int32_t) {
  ScreenSwitchFont(-1);
  return 0;
}

int RepairPromptsHotKey(int32_t, int32_t) {
  beep();
  if (g4char() == KEY_SHIFT_F10) EnvCurrent()->refuseDamagedTables = 0;
  return 0;
}

int LockHotKey(int32_t, int32_t) {
  Environment* env = EnvCurrent();
  if (env->blankingTimer)
    ForceTimer(env->blankingTimer);
  else
    ScreenSaverLock();
  return 0;
}

int PrepareWorkplace(int remote) {
  Environment* env = EnvCurrent();
  g4set_key_to(KEY_ALT_H, help_key);
  g4set_key_to(KEY_ALT_W, LockHotKey);
  g4set_key_to(KEY_F9, [](int32_t high, int32_t zero) { return kalkulator(high, zero); });
  g4set_key_to(KEY_F10, CalendarHotKey);
  g4set_key_to(KEY_CTRL_F1, [](int32_t, int32_t) {
    test_coreleft();
    return 0;
  });
  g4set_key_to(KEY_CTRL_F4, NextFontHotKey);
  g4set_key_to(KEY_CTRL_F10, RepairPromptsHotKey);

  if (ChangeDir(&env->dataPath, LOG_DATA_DIR, 0) != 0) {
    Uwaga(MSG_DATA_IN_CURRENT);
    ChangeDir(&env->startPath, LOG_START_DIR, CHDIR_LOG);
  }
  uint32_t total = 0, freeBytes = 0;
  count_disk_space(&total, &freeBytes);
  if (freeBytes < LOW_DISK_BYTES) Uwaga(MSG_LOW_DISK);
  ScreenSwitchFont(mainOptions.screenFont);
  StartLockTimer(mainOptions.lockMinutes);
  if (remote) return LoginOperatorByNumber(env->operatorNumber) == 0 ? 0 : -1;
  return 0;
}

void ShowFrontInfo(int window) {
  Environment* env = EnvCurrent();
  int previous = w4select(window);
  int h = w4height();
  w4attribute(FRONT_INFO_ATTR);
  for (int row = h - 4; row <= h - 1; row++) w4repeat(row, 1, ' ', FRONT_INFO_WIDTH);
  std::string date = std::string("Data    : ") + FullDateQStr(get_cur_das(0));
  std::string name = "Operator: " + std::string(env->operatorName, strnlen(env->operatorName, sizeof env->operatorName));
  w4(h - 3, 5, date.c_str());
  w4(h - 2, 5, name.c_str());
  w4select(previous);
}

// The program keeps its options, operators, error log and locks in its
// directory: one it cannot write is named with the reason, and the program
// ends before anything fails later under a misleading message.
static bool ProgramDirWritable() {
  std::string dir = PlatProgramDir();
  if (PlatProgramDirWritable(dir) == PLAT_OK) return true;
  std::string cause = FileCauseText();
  if (cause.empty()) cause = Utf8ToMazText(PlatLastErrorText());
  std::string text = Utf8ToMazText("Nie można zapisywać w katalogu programu\n") + Utf8ToMazText(dir.c_str()) +
                     "\n" + cause + Utf8ToMazText("\nProgram kończy pracę.");
  ScreenMessageBox(SCREEN_BOX_ERROR, Utf8ToMazText("BŁĄD").c_str(), text.c_str());
  return false;
}

int WinMain(int argc, char** argv) {
  PlatWatchEndSignals();
  if (!ProgramDirWritable()) return 1;
  OpenErrLog(argc, argv);
  ErrLogMessage(EL_FORMAT | EL_NEW_HEADER, LOG_START, " %s ver. %s kom. %s <%i>", "KORBEL", "2025.00.00", "0", 0);
  Environment* env = CreateEnvironment(argc, argv);
  if (!env) return 0;
  RegisterProgramMessages();
  FirmChosenRoutine = LoadFirmHeaderAndShow;
  const bool remote = argc >= REMOTE_ARGC;
  bool firstStart = true;
  for (;;) {
    if (w4init_video(1) < 0) {
      WaitFor(1, VIDEO_FAILED_WAIT_MS);
      return 1;
    }
    Desktop.menuLevel = 2;
    StartEngine(env);
    bool frameBuilt = true;
    if (firstStart) {
      LoadMainOptions();
      PrepareWorkplace(remote);
      if (!env->windowShown) {
        env->windowShown = 1;
        DisplayCurrent()->show();
        DesktopPaint();
      }
      ShowStartLogo();
      if (!remote && StartOperatorAndDate() != 0) frameBuilt = false;
    }
    int front = -1;
    if (frameBuilt) {
      front = DefineFrontoweWindow("KORBEL");
      w4activate(front);
      ShowFrontInfo(front);
      env->mainProgramWindow = DefinePodatnikWindow();
      init_help_line();
      add_help_line();
      BindGeneralNotes();
      if (firstStart && remote) StartMenu(1);
      RunMainBar(firstStart);
      remove_help_line();
      w4close(env->mainProgramWindow);
      w4close(front);
    }
    StopServices(env);
    firstStart = false;
    if (!Desktop.restart || PlatEndRequested()) break;
  }
  ChangeDir(&env->startPath, LOG_END_DIR, 0);
  ErrLogMessage(EL_NEW_HEADER, LOG_END, TextRef());
  DeleteEnvironment(env);
  return 0;
}
